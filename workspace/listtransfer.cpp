#include "listtransfer.h"

#include "comparisonsession.h"
#include "comparisonsheet.h"
#include "listexport.h"
#include "pauselock.h"
#include "prompter.h"
#include "stdcolorlibrary.h"
#include "transferprogress.h"

#include <QCoreApplication>

namespace {

QString pageText(const char* text) {
    return QCoreApplication::translate("FirstPageFor510", text);
}
QString pageText(const char* text, int n) {
    return QCoreApplication::translate("FirstPageFor510", text, nullptr, n);
}
QString waitText() {
    return pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Storing data,please wait..."));
}
QString cancelText() {
    return pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "cancel"));
}

} // namespace

ListTransfer::ListTransfer(ComparisonSession& session, Prompter& prompter, FramePort& port,
                           QWidget* page)
    : QObject(page), session_(session), prompter_(prompter), port_(port), page_(page),
      clock_([] { return QDateTime::currentDateTime(); }) {}

void ListTransfer::importRecords() {
    std::unique_ptr<QProgressDialog> progress;
    ComparisonSession::ImportResult imported;
    const SessionResult result = session_.importRecords(
        [&](int steps) { progress = showTransferProgress(page_, steps, waitText(), cancelText()); },
        [&](int done) { progress->setValue(done); }, &imported,
        [&] { return progress && progress->wasCanceled(); });
    if (progress)
        progress->hide();
    if (result) {
        prompter_.information(page_, result->title, result->text);
        return;
    }
    QStringList said;
    if (imported.stopped)
        said << pageText(
            QT_TRANSLATE_N_NOOP("FirstPageFor510",
                                "Import stopped: %n record(s) read before the stop were added."),
            imported.appended);
    if (imported.alreadyListed > 0)
        said << pageText(
            QT_TRANSLATE_N_NOOP("FirstPageFor510",
                                "%n record(s) were already in the list and were not added again."),
            imported.alreadyListed);
    if (!said.isEmpty())
        prompter_.information(page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Information")),
                              said.join(QLatin1Char('\n')));
}

QString ListTransfer::exportList() {
    const QList<ComparisonRecord>& records = session_.list().records();
    const ListMeaning meaning = session_.shownMeaning();
    if (records.isEmpty()) {
        prompter_.information(
            page_, QObject::tr("error"),
            pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "No data for Storing to Excel!")));
        return {};
    }
    // The workbook comes first, so it is what the dialog offers first.
    const QString filter =
        pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "excel file (*.xlsx)")) +
        QStringLiteral(";;") +
        pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "CSV file, numbers only (*.csv)"));
    const QString path = prompter_.saveFileName(
        page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Storing data to Excel")),
        comparisonsheet::defaultFileName(clock_()), filter);
    if (path.isEmpty())
        return {};
    const bool csv = listexport::isCsvPath(path);
    std::unique_ptr<QProgressDialog> progress;
    if (!meaning.oldLayout && !csv)
        progress = showTransferProgress(page_, int(records.size()) + 1, waitText(), cancelText());
    // Cancelling keeps the rows written so far; they are saved like a complete export.
    const listexport::Outcome outcome =
        listexport::write(path, meaning, records, chinese_, [&](int done) {
            if (!progress)
                return true;
            progress->setValue(done);
            return !progress->wasCanceled();
        });
    if (progress)
        progress->hide();
    if (outcome.written)
        return path;
    const QString failed =
        csv ? pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to export data to CSV file"))
        : outcome.inUse
            ? pageText(QT_TRANSLATE_NOOP("FirstPageFor510",
                                         "Can't overwrite this file, maybe the file is in use!"))
            : pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to export data to excel file"));
    prompter_.information(page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Error")),
                          failed + QStringLiteral("\n") + outcome.reason);
    return {};
}

void ListTransfer::sayStored(const QString& path, bool oldLayout) {
    // The old layout's two messages are fixed texts, in the language it shows.
    if (oldLayout && chinese_)
        prompter_.information(page_, QStringLiteral("存储数据"),
                              QStringLiteral("将数据成功存储到文件: \r\n\t%1").arg(path));
    else if (oldLayout)
        prompter_.information(page_, QStringLiteral("Storing data"),
                              QStringLiteral("Data stored to file: \r\n\t%1").arg(path));
    else
        prompter_.information(
            page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Storing data")),
            pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Data stored to file: %1")).arg(path));
}

void ListTransfer::writeLibrary(const std::shared_ptr<PauseLock>& lock) {
    // Held from before the file dialog, so the worker stays paused while the user chooses.
    PauseLocker locker(lock);
    const QString path = prompter_.openFileName(
        page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Select one Excel files to open")),
        QStringLiteral("./"),
        pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "excel file (*.xlsx)")));
    if (path.isEmpty())
        return;
    const auto show = [this, &locker](const stdcolorlib::Problem& problem) {
        locker.unlock();
        problem.warning ? prompter_.warning(page_, problem.title, problem.text)
                        : prompter_.information(page_, problem.title, problem.text);
    };
    // The whole file is checked before anything is sent: a library arrives whole or not at all.
    stdcolorlib::Library library;
    if (const auto problem = stdcolorlib::loadFile(path, session_.modelName(), library))
        return show(*problem);
    const int blocks = stdcolorlib::blockCount(library);
    auto progress = showTransferProgress(page_, blocks, waitText(), QString());
    if (const auto problem = stdcolorlib::write(
            port_, library, [&progress](int sent) { progress->setValue(sent); })) {
        progress->hide();
        return show(*problem);
    }
    progress->setValue(blocks);
    progress->hide();
    prompter_.information(
        page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Information")),
        pageText(QT_TRANSLATE_NOOP("FirstPageFor510",
                                   "Write to standard color card library successfully!")));
    // Whatever else the instrument says after taking the library must not reach the worker.
    stdcolorlib::drain(port_);
}
