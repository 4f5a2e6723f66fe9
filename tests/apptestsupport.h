#pragma once

#include "devicewatcher.h"
#include "scriptedprompter.h"

#include <QList>
#include <QString>

// Message boxes recorded, questions answered from a script.
using RecordingPrompter = ScriptedPrompter;

inline QStringList shownTexts(const ScriptedPrompter& prompter) {
    QStringList list;
    for (const ScriptedPrompter::Shown& s : prompter.shown)
        list << s.text;
    return list;
}

// Device notifications raised by the test.
class ManualWatcher : public DeviceWatcher {
  public:
    bool start(QWidget*) override { return started = true; }
    void arrive() { emit deviceArrived(); }
    void remove() { emit deviceRemoved(); }
    bool started = false;
};
