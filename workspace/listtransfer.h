#pragma once

#include <QDateTime>
#include <QObject>

#include <functional>
#include <memory>

class ComparisonSession;
class FramePort;
class PauseLock;
class Prompter;
class QWidget;

// The workspace's long transfers, each with its progress dialog and its messages: the records
// stored in the instrument imported into the list (Cancel stops after the records read), the
// list written to a workbook or CSV (Cancel keeps the rows written), and a standard colour
// library written into the instrument (no Cancel: the instrument must not be left half written).
class ListTransfer : public QObject {
    Q_OBJECT
  public:
    ListTransfer(ComparisonSession& session, Prompter& prompter, FramePort& port, QWidget* page);

    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
    void setChinese(bool chinese) { chinese_ = chinese; }

    // Reads the stored records into the list and says what came of it.
    void importRecords();
    // Asks for a file and writes the list there; the path written, or empty (the user was told
    // why, or cancelled).
    QString exportList();
    // The export's "stored" message, once the list has been dealt with.
    void sayStored(const QString& path, bool oldLayout);
    // Asks for a library file and writes it, the worker paused by `lock` meanwhile.
    void writeLibrary(const std::shared_ptr<PauseLock>& lock);

  private:
    ComparisonSession& session_;
    Prompter& prompter_;
    FramePort& port_;
    QWidget* page_;
    std::function<QDateTime()> clock_;
    bool chinese_ = false;
};
