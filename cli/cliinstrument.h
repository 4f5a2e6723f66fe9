#pragma once

#include "deviceinfocommands.h"
#include "faultspec.h"
#include "frameport.h"
#include "messagesink.h"
#include "modeltable.h"
#include "virtualinstrument.h"

#include <QString>

#include <memory>
#include <optional>

// The instrument as the command-line tool reaches it: real, or virtual with --simulate.
class CliInstrument {
  public:
    // Prints its own message and returns false when no instrument can be opened.
    bool open(const QString& simulateModel);
    // The readings file every virtual instrument of this run reports (--readings).
    static void setReadingsFile(const QString& path) { readingsFile_ = path; }
    // The virtual instrument; null for a real one.
    std::shared_ptr<sim::VirtualInstrument> simulated() const { return simulated_; }
    // Faults the command line armed (--fault) for the virtual instrument of this process.
    static void setFaults(const QList<sim::FaultSpec>& faults);
    // Reads the identity (key information, falling back to the production information) and
    // the software version, and looks the model up. Prints its own message on failure.
    bool identify();

    LinkFramePort port;
    KeyInfo key;
    int softwareVersion = 0;
    std::optional<ModelRow> model;

    QString modelName() const { return model ? model->model : QStringLiteral("unknown"); }
    int uiIndex() const { return model ? model->uiIndex : 0; }

  private:
    class StderrSink : public MessageSink {
      public:
        void showMessage(const QString& title, const QString& text) override;
    };
    static inline QString readingsFile_;
    std::shared_ptr<sim::VirtualInstrument> simulated_;
    StderrSink sink_;
};
