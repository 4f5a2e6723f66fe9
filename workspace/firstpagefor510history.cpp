// The workspace and the measurement history: the journal, the restored list, the History button.
#include "firstpagefor510.h"

#include "ui_firstpagefor510.h"

#include "comparisonsheet.h"
#include "historyjournal.h"
#include "historystore.h"
#include "historywindow.h"
#include "listexport.h"
#include "prompter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>

int FirstPageFor510::setHistory(history::HistoryStore* store) {
    delete journal_;
    journal_ = nullptr;
    history_ = store;
    restoredRows_ = 0;
    if (!store)
        return 0;
    journal_ = new HistoryJournal(*store, *session_, this);
    restoredRows_ = journal_->restore();
    // Restored rows show in their own layout and mode until an instrument is identified.
    applyDisplayMode();
    refreshCounters();

    if (!historyButton_) {
        // Beside Clear and Export, in the row of list buttons.
        historyButton_ = new QPushButton(this);
        historyButton_->setObjectName(QStringLiteral("pushButton_history"));
        historyButton_->setMinimumHeight(35);
        auto* row = qobject_cast<QHBoxLayout*>(ui->widget_buttons->layout());
        const int at = row ? row->indexOf(ui->pushButton_exportExcel) : -1;
        if (row && at >= 0)
            row->insertWidget(at + 1, historyButton_);
        connect(historyButton_, &QPushButton::clicked, this, &FirstPageFor510::openHistoryWindow);
    }
    if (!historyLine_) {
        // Without a window to hold it, the line goes under the list.
        historyLine_ = new QLabel(this);
        historyLine_->setObjectName(QStringLiteral("label_history"));
        historyLine_->setWordWrap(true);
        if (auto* grid = qobject_cast<QGridLayout*>(layout()))
            grid->addWidget(historyLine_, grid->rowCount(), 0, 1, grid->columnCount());
    }
    connect(store, &history::HistoryStore::stateChanged, this, [this] { showHistoryLine(); });
    connect(store, &history::HistoryStore::syncStateChanged, this, [this] { showHistoryLine(); });
    // Said once when the history turns off; measuring goes on and the rows stay listed.
    connect(store, &history::HistoryStore::failed, this, [this](const QString& message) {
        prompter_.information(this, tr("History"),
                              tr("The measurement history is off: %1\nMeasuring goes on; the "
                                 "results are kept and written once the history can be used.")
                                  .arg(message));
    });
    // The lab database refused the copy (rights, schema): its words, once.
    connect(store, &history::HistoryStore::labFailed, this, [this](const QString& message) {
        prompter_.information(this, tr("History"), message);
    });
    relabelHistory();
    if (store->state() == history::HistoryStore::State::Off)
        emit store->failed(store->lastMessage());
    return restoredRows_;
}

void FirstPageFor510::showRestoredStandard() {
    if (!journal_ || !journal_->keepRestoredStandard())
        return;
    showSide(1, *session_->standard());
    // The history keeps the standard's numbers, not its colour: the swatch stays neutral.
    (session_->oldLayout() ? ui->stdBtnGroubox : ui->groupBox_standardMeasurement)
        ->setStyleSheet(QStringLiteral("background-color: rgb(180, 180, 180);"));
}

void FirstPageFor510::setHistoryLine(QLabel* line) {
    historyLine_ = line;
    historyLine_->hide();
}

QString FirstPageFor510::historyLineText() const {
    return historyLine_ ? historyLine_->text() : QString();
}

void FirstPageFor510::relabelHistory() {
    if (!historyButton_)
        return;
    historyButton_->setText(tr("History"));
    showHistoryLine();
}

void FirstPageFor510::showHistoryLine() {
    if (!historyLine_ || !history_)
        return;
    QStringList parts;
    if (restoredRows_ > 0)
        parts << tr("%n row(s) of the last run restored.", nullptr, restoredRows_);
    if (listClosedCount_ > 0)
        parts << tr("%n comparison(s) of another display mode or instrument were moved to the "
                    "history (History button).",
                    nullptr, listClosedCount_);
    if (history_->state() == history::HistoryStore::State::Off)
        parts << tr("History off: %1").arg(history_->lastMessage());
    if (history_->hasLab() && !history_->isSynced())
        parts << tr("Lab database not synced (%n row(s) waiting).", nullptr,
                    history_->unsyncedCount());
    historyLine_->setText(parts.join(QLatin1Char(' ')));
    historyLine_->setToolTip(historyLine_->text());
    historyLine_->setVisible(!parts.isEmpty());
    if (historyWindow_) {
        historyWindow_->setHistoryState(history_->state() == history::HistoryStore::State::On,
                                        history_->lastMessage());
        if (history_->hasLab())
            historyWindow_->setSyncState(history_->isSynced(), history_->unsyncedCount());
    }
}

void FirstPageFor510::openHistoryWindow() {
    if (!history_)
        return;
    if (!historyWindow_) {
        historyWindow_ = new history::HistoryWindow(this);
        historyWindow_->setWindowFlag(Qt::Window);
        historyWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
        historyWindow_->setDatabase(history::HistoryUrl::sqliteFile(history_->localPath()));
        connect(historyWindow_, &history::HistoryWindow::exportRequested, this,
                &FirstPageFor510::exportHistoryRows);
        connect(historyWindow_, &history::HistoryWindow::reportRequested, this,
                &FirstPageFor510::reportHistoryRow);
        connect(historyWindow_, &history::HistoryWindow::databaseChosen, this,
                &FirstPageFor510::chooseHistoryDatabase);
        historyWindow_->setDatabaseText(
            QSettings().value(QStringLiteral("history/database")).toString());
        showHistoryLine();
    }
    historyWindow_->refresh();
    historyWindow_->show();
    historyWindow_->raise();
    historyWindow_->activateWindow();
}

void FirstPageFor510::chooseHistoryDatabase(const QString& text) {
    if (!history_)
        return;
    QSettings().setValue(QStringLiteral("history/database"), text);
    // A lab database keeps this station's own file; a SQLite URL names another file.
    history_->openUrl(text.isEmpty()
                          ? history::HistoryUrl::sqliteFile(history::defaultHistoryPath())
                          : history::HistoryUrl::parse(text));
    if (historyWindow_) {
        historyWindow_->setDatabase(history::HistoryUrl::sqliteFile(history_->localPath()));
        historyWindow_->refresh();
    }
    showHistoryLine();
}

QList<ComparisonRecord> FirstPageFor510::historyRecords(const QStringList& ids) {
    QList<ComparisonRecord> records;
    if (!history_)
        return records;
    history::HistoryDatabase db;
    if (!db.open(history::HistoryUrl::sqliteFile(history_->localPath()))) {
        prompter_.information(this, tr("Error"), db.failure().message);
        return records;
    }
    for (const QString& id : ids)
        if (const auto row = db.comparison(id))
            records.append(historymapping::fromHistory(*row, int(records.size()) + 1));
    return records;
}

bool FirstPageFor510::exportHistoryRows(const QStringList& ids) {
    const QList<ComparisonRecord> records = historyRecords(ids);
    if (records.isEmpty()) {
        prompter_.information(this, QObject::tr("error"), tr("No data for Storing to Excel!"));
        return false;
    }
    // One workbook has the columns of one display mode.
    if (!listexport::oneMeaning(records)) {
        prompter_.information(this, tr("Error"),
                              tr("The selected rows were measured in different display "
                                 "modes; export the rows of one mode at a time."));
        return false;
    }
    const QString path = prompter_.saveFileName(this, tr("Storing data to Excel"),
                                                comparisonsheet::defaultFileName(clock_()),
                                                tr("excel file (*.xlsx)"));
    if (path.isEmpty())
        return false;
    const listexport::Outcome outcome =
        listexport::write(path, ListMeaning::of(records.first()), records, isChinese_);
    if (!outcome.written) {
        prompter_.information(this, tr("Error"),
                              (outcome.inUse
                                   ? tr("Can't overwrite this file, maybe the file is in use!")
                                   : tr("Failed to export data to excel file")) +
                                  QStringLiteral("\n") + outcome.reason);
        return false;
    }
    prompter_.information(this, tr("Storing data"), tr("Data stored to file Success"));
    return true;
}

void FirstPageFor510::reportHistoryRow(const QString& id) {
    const QList<ComparisonRecord> records = historyRecords({id});
    if (!records.isEmpty())
        openReportOf(records.first());
}

std::function<void(const QVector<SpectralRecord>&, const QStringList&)>
FirstPageFor510::spectrumRecorder() {
    if (!history_)
        return {};
    return [this](const QVector<SpectralRecord>& records, const QStringList& names) {
        const bool reflectance = session_->profile().reflectance;
        const QDateTime now = clock_().toUTC();
        QVector<history::HistorySpectrum> rows;
        for (int i = 0; i < records.size(); ++i) {
            history::HistorySpectrum row;
            row.id = history::HistoryStore::newId();
            row.station = history::HistoryStore::stationName();
            row.model = session_->modelName();
            row.serial = session_->serialText();
            row.name = names.value(i);
            row.measuredAt = now;
            row.kind = reflectance ? history::SpectrumKind::Reflectance
                                   : history::SpectrumKind::Transmittance;
            row.values = records.at(i).values;
            rows.append(row);
        }
        // A refused write is kept by the store for its next one; the spectra are shown anyway.
        history_->recordSpectra(rows);
    };
}
