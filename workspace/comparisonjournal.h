#pragma once

#include "comparisonrecord.h"

#include <QList>
#include <QUuid>

// Where comparisons are kept beyond the list (a database, a log): the session writes each change
// here before the list shows it. None is installed unless the program sets one. False refuses a
// change: the list does not make it.
class ComparisonJournal {
  public:
    virtual ~ComparisonJournal() = default;
    virtual bool write(const QList<ComparisonRecord>& records) = 0;
    // Records judged again with new settings (same ids).
    virtual bool update(const QList<ComparisonRecord>& records) = 0;
    virtual bool markDeleted(const QUuid& id) = 0;
    virtual bool rename(const QUuid& id, const QString& name) = 0;
    // The list was emptied (by the user, or closed as a finished list when another display mode
    // or instrument came into force): its rows stay kept, the list on show is gone.
    virtual void listCleared() = 0;
};
