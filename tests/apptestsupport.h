#pragma once

#include "devicewatcher.h"
#include "prompter.h"

#include <QList>
#include <QString>

// Remembers every message instead of showing it; questions get a preset answer.
class RecordingPrompter : public Prompter {
public:
    struct Shown {
        QString title, text;
    };
    void information(QWidget*, const QString& title, const QString& text) override
    {
        shown.append({title, text});
    }
    QMessageBox::StandardButton question(QWidget*, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons) override
    {
        shown.append({title, text});
        return answer;
    }
    QStringList texts() const
    {
        QStringList list;
        for (const Shown& s : shown)
            list << s.text;
        return list;
    }

    QList<Shown> shown;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
};

// Device notifications raised by the test.
class ManualWatcher : public DeviceWatcher {
public:
    bool start(QWidget*) override { return started = true; }
    void arrive() { emit deviceArrived(); }
    void remove() { emit deviceRemoved(); }
    bool started = false;
};
