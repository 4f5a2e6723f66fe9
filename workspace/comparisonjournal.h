#pragma once

#include "comparisonrecord.h"

#include <QList>
#include <QUuid>

// Where comparisons are kept beyond the list (a database, a log): the session writes each one
// here before the list shows it. None is installed unless the program sets one.
class ComparisonJournal {
  public:
    virtual ~ComparisonJournal() = default;
    // False refuses the records: they do not reach the list.
    virtual bool write(const QList<ComparisonRecord>& records) = 0;
    virtual void markDeleted(const QUuid& id) = 0;
    virtual void rename(const QUuid& id, const QString& name) = 0;
    virtual void listCleared() = 0;
};
