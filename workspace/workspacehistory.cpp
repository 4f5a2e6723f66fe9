#include "workspacehistory.h"

#include "comparisonsession.h"
#include "comparisonsheet.h"
#include "historyjournal.h"
#include "historystore.h"
#include "historywindow.h"
#include "listexport.h"
#include "meterpagefor510.h"
#include "prompter.h"

#include <QLabel>
#include <QPushButton>
#include <QSettings>

namespace {

QString pageText(const char* text) {
    return QCoreApplication::translate("FirstPageFor510", text);
}

QString pageText(const char* text, int n) {
    return QCoreApplication::translate("FirstPageFor510", text, nullptr, n);
}

} // namespace

WorkspaceHistory::WorkspaceHistory(ComparisonSession& session, Prompter& prompter, QWidget* page)
    : QObject(page), session_(session), prompter_(prompter), page_(page),
      clock_([] { return QDateTime::currentDateTime(); }) {
    button_ = new QPushButton(page);
    button_->setObjectName(QStringLiteral("pushButton_history"));
    button_->setMinimumHeight(35);
    button_->setAutoDefault(false);
    button_->hide();
    connect(button_, &QPushButton::clicked, this, &WorkspaceHistory::openWindow);
}

WorkspaceHistory::~WorkspaceHistory() {
    // The journal lets go of the session before either goes.
    delete journal_;
}

int WorkspaceHistory::attach(history::HistoryStore* store) {
    delete journal_;
    journal_ = nullptr;
    if (store_)
        disconnect(store_, nullptr, this, nullptr);
    store_ = store;
    restored_ = moved_ = 0;
    button_->setVisible(store);
    if (!store)
        return 0;
    journal_ = new HistoryJournal(*store, session_, this);
    restored_ = journal_->restore();
    if (!line_) {
        line_ = new QLabel(page_);
        line_->setObjectName(QStringLiteral("label_history"));
        line_->setWordWrap(true);
    }
    connect(store, &history::HistoryStore::stateChanged, this, &WorkspaceHistory::showLine);
    connect(store, &history::HistoryStore::syncStateChanged, this, &WorkspaceHistory::showLine);
    // Said once when the history turns off; measuring goes on and the rows stay listed.
    connect(store, &history::HistoryStore::failed, this, [this](const QString& message) {
        prompter_.information(
            page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "History")),
            pageText(QT_TRANSLATE_NOOP("FirstPageFor510",
                                       "The measurement history is off: %1\nMeasuring goes on; "
                                       "the results are kept and written once the history can "
                                       "be used."))
                .arg(message));
    });
    // The lab database refused the copy (rights, schema): its words, once.
    connect(store, &history::HistoryStore::labFailed, this, [this](const QString& message) {
        prompter_.information(page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "History")),
                              message);
    });
    relabel();
    if (store->state() == history::HistoryStore::State::Off)
        emit store->failed(store->lastMessage());
    return restored_;
}

void WorkspaceHistory::setLine(QLabel* line) {
    line_ = line;
    line_->hide();
}

QString WorkspaceHistory::lineText() const {
    return line_ ? line_->text() : QString();
}

void WorkspaceHistory::relabel() {
    button_->setText(pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "History")));
    showLine();
}

void WorkspaceHistory::setRestored(int rows) {
    restored_ = rows;
    showLine();
}

void WorkspaceHistory::setMovedToHistory(int rows) {
    moved_ = rows;
    showLine();
}

void WorkspaceHistory::forgetListNotes() {
    restored_ = moved_ = 0;
    showLine();
}

bool WorkspaceHistory::keepRestoredStandard() {
    return journal_ && journal_->keepRestoredStandard();
}

void WorkspaceHistory::showLine() {
    if (!line_ || !store_)
        return;
    QStringList parts;
    if (restored_ > 0)
        parts << pageText(
            QT_TRANSLATE_N_NOOP("FirstPageFor510", "%n row(s) of the last run restored."),
            restored_);
    if (moved_ > 0)
        parts << pageText(QT_TRANSLATE_N_NOOP("FirstPageFor510",
                                              "%n comparison(s) of another display mode or "
                                              "instrument were moved to the history (History "
                                              "button)."),
                          moved_);
    if (store_->state() == history::HistoryStore::State::Off)
        parts << pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "History off: %1"))
                     .arg(store_->lastMessage());
    if (store_->hasLab() && !store_->isSynced())
        parts << pageText(
            QT_TRANSLATE_N_NOOP("FirstPageFor510", "Lab database not synced (%n row(s) waiting)."),
            store_->unsyncedCount());
    line_->setText(parts.join(QLatin1Char(' ')));
    line_->setToolTip(line_->text());
    line_->setVisible(!parts.isEmpty());
    if (window_) {
        window_->setHistoryState(store_->state() == history::HistoryStore::State::On,
                                 store_->lastMessage());
        if (store_->hasLab())
            window_->setSyncState(store_->isSynced(), store_->unsyncedCount());
    }
}

void WorkspaceHistory::openWindow() {
    if (!store_)
        return;
    if (!window_) {
        window_ = new history::HistoryWindow(page_);
        window_->setWindowFlag(Qt::Window);
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
        window_->setSources(history::HistoryUrl::sqliteFile(store_->localPath()), store_->labUrl());
        connect(window_, &history::HistoryWindow::exportRequested, this,
                &WorkspaceHistory::exportRows);
        connect(window_, &history::HistoryWindow::reportRequested, this,
                &WorkspaceHistory::reportRow);
        connect(window_, &history::HistoryWindow::databaseChosen, this,
                &WorkspaceHistory::chooseDatabase);
        window_->setDatabaseText(QSettings().value(QStringLiteral("history/database")).toString());
        showLine();
    }
    window_->refresh();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void WorkspaceHistory::chooseDatabase(const QString& text) {
    if (!store_)
        return;
    QSettings().setValue(QStringLiteral("history/database"), text);
    // A lab database keeps this station's own file; a SQLite URL names another file.
    store_->openUrl(text.isEmpty() ? history::HistoryUrl::sqliteFile(history::defaultHistoryPath())
                                   : history::HistoryUrl::parse(text));
    if (window_) {
        window_->setSources(history::HistoryUrl::sqliteFile(store_->localPath()), store_->labUrl());
        window_->refresh();
    }
    showLine();
}

QList<ComparisonRecord> WorkspaceHistory::records(const QStringList& ids) {
    QList<ComparisonRecord> out;
    if (!store_)
        return out;
    // The rows are read where the window found them: the lab's database holds other stations'.
    history::HistoryDatabase db;
    if (!db.open(window_ && window_->shownUrl().isValid()
                     ? window_->shownUrl()
                     : history::HistoryUrl::sqliteFile(store_->localPath()))) {
        prompter_.information(page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Error")),
                              db.failure().message);
        return out;
    }
    // A value the record's units cannot carry (a damaged or edited database) would be shown as
    // some other number: such rows are left out, and the user told.
    int unfit = 0;
    for (const QString& id : ids) {
        if (const auto row = db.comparison(id)) {
            const ComparisonRecord record = historymapping::fromHistory(*row, int(out.size()) + 1);
            if (historymapping::unfitValues(*row, record).isEmpty())
                out.append(record);
            else
                ++unfit;
        }
    }
    if (unfit > 0)
        prompter_.information(
            page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Error")),
            tr("%n comparison(s) left out: a value beyond what any instrument measures (the "
               "database was damaged or edited).",
               nullptr, unfit));
    return out;
}

bool WorkspaceHistory::exportRows(const QStringList& ids) {
    const QList<ComparisonRecord> rows = records(ids);
    const QString error = pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"));
    if (rows.isEmpty()) {
        prompter_.information(
            page_, QObject::tr("error"),
            pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "No data for Storing to Excel!")));
        return false;
    }
    // One workbook has the columns of one display mode.
    if (!listexport::oneMeaning(rows)) {
        prompter_.information(
            page_, error,
            pageText(QT_TRANSLATE_NOOP("FirstPageFor510",
                                       "The selected rows were measured in different display "
                                       "modes; export the rows of one mode at a time.")));
        return false;
    }
    const QString path = prompter_.saveFileName(
        page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Storing data to Excel")),
        comparisonsheet::defaultFileName(clock_()),
        pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "excel file (*.xlsx)")));
    if (path.isEmpty())
        return false;
    const listexport::Outcome outcome =
        listexport::write(path, ListMeaning::of(rows.first()), rows, chinese_);
    if (!outcome.written) {
        prompter_.information(
            page_, error,
            (outcome.inUse
                 ? pageText(QT_TRANSLATE_NOOP(
                       "FirstPageFor510", "Can't overwrite this file, maybe the file is in use!"))
                 : pageText(QT_TRANSLATE_NOOP("FirstPageFor510",
                                              "Failed to export data to excel file"))) +
                QStringLiteral("\n") + outcome.reason);
        return false;
    }
    prompter_.information(
        page_, pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Storing data")),
        pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Data stored to file Success")));
    return true;
}

void WorkspaceHistory::reportRow(const QString& id) {
    const QList<ComparisonRecord> rows = records({id});
    if (!rows.isEmpty())
        emit reportRequested(rows.first());
}

std::function<void(const QVector<SpectralRecord>&, const QStringList&)>
WorkspaceHistory::spectrumRecorder() {
    if (!store_)
        return {};
    return [this](const QVector<SpectralRecord>& spectra, const QStringList& names) {
        const bool reflectance = session_.profile().reflectance;
        const QDateTime now = clock_().toUTC();
        QVector<history::HistorySpectrum> rows;
        for (int i = 0; i < spectra.size(); ++i) {
            history::HistorySpectrum row;
            row.id = spectra.at(i).id.isEmpty() ? history::HistoryStore::newId() : spectra.at(i).id;
            row.station = history::HistoryStore::stationName();
            row.model = session_.modelName();
            row.serial = session_.serialText();
            row.name = names.value(i);
            row.measuredAt = now;
            row.kind = reflectance ? history::SpectrumKind::Reflectance
                                   : history::SpectrumKind::Transmittance;
            row.values = spectra.at(i).values;
            rows.append(row);
        }
        // A refused write is kept by the store for its next one; the spectra are shown anyway.
        store_->recordSpectra(rows);
    };
}

void WorkspaceHistory::attachSpectra(MeterPageFor510& page) {
    page.setRecorder(spectrumRecorder());
    if (!store_)
        return;
    // A refused change is kept by the store for its next write, as every other change.
    page.setRenamer(
        [this](const QString& id, const QString& name) { store_->rename(id, name, true); });
    page.setRemover([this](const QString& id) { store_->markDeleted(id, true); });
}
