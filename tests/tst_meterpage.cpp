// The spectral page against the virtual instrument, with scripted dialogs.
#include "chartplan.h"
#include "excelengine.h"
#include "frameport.h"
#include "meterpagefor510.h"
#include "scriptedprompter.h"
#include "sheetcells.h"
#include "virtualinstrument.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

struct Rig {
    std::shared_ptr<sim::VirtualInstrument> instrument = std::make_shared<sim::VirtualInstrument>();
    LinkFramePort port;
    ScriptedPrompter prompter;
    std::unique_ptr<MeterPageFor510> page;

    explicit Rig(int uiIndex = 0) {
        port.setTransportFactory([i = instrument] { return i->createTransport(); });
        port.openLink();
        page = std::make_unique<MeterPageFor510>(nullptr, &port, uiIndex);
        page->setPrompter(&prompter);
        page->setClock([] { return QDateTime(QDate(2019, 5, 7), QTime(15, 30)); });
    }
    QTableWidget* table() const {
        return page->findChild<QTableWidget*>(QStringLiteral("tableWidget_data"));
    }
    QString cell(int r, int c) const {
        return table()->item(r, c) ? table()->item(r, c)->text() : QString();
    }
    void measure(int times = 1) {
        for (int i = 0; i < times; ++i)
            page->on_pushButton_spectralMeasurement_clicked();
    }
    QCheckBox* box(int row) const {
        // The all-curves box sits in the header, over the caption row's cell.
        return row == 0 ? page->findChild<QCheckBox*>(QStringLiteral("checkBox_allCurves"))
                        : qobject_cast<QCheckBox*>(table()->cellWidget(row, 33));
    }
    // Clicks the painted "Delete" button of a row.
    void clickDelete(int row) {
        page->show();
        QTableWidget* t = table();
        t->scrollToItem(t->item(row, 0));
        const QPoint centre = t->visualRect(t->model()->index(row, 34)).center();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, centre);
    }
};

std::array<uint16_t, 31> spectrum(uint16_t first, uint16_t last) {
    std::array<uint16_t, 31> s{};
    s.fill(5000);
    s[0] = first;
    s[30] = last;
    return s;
}

// Addresses of the ReadMemory requests the instrument received.
QList<uint32_t> memoryReads(const sim::VirtualInstrument& instrument) {
    QList<uint32_t> out;
    for (const QByteArray& f : instrument.receivedFrames())
        if (f.size() >= 8 && uint8_t(f[1]) == 0x40 && uint8_t(f[6]) != 0x08)
            out.append(uint32_t(uint8_t(f[2])) | uint32_t(uint8_t(f[3])) << 8 |
                       uint32_t(uint8_t(f[4])) << 16);
    return out;
}

} // namespace

class TestMeterPage : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    void captionRowAndMeasurement();
    void measurementFailsCleanly();
    void thousandRecordLimit();
    void deleteKeepsNumbersAndCurveBoxes();
    void renameAndClear();
    void historyImport();
    void historyImportDoesWhatItAsks();
    void legendNamesAndHighlightsCurves();
    void historyFailures();
    void exportWritesTheSheet();
    void exportHonoursCancel();
};

void TestMeterPage::captionRowAndMeasurement() {
    Rig rig;
    QCOMPARE(rig.page->windowTitle(), QStringLiteral("Spectra"));
    QCOMPARE(rig.table()->columnCount(), 35);
    QCOMPARE(rig.cell(0, 0), QStringLiteral("No"));
    QCOMPARE(rig.cell(0, 2), QStringLiteral("400nm"));
    QCOMPARE(rig.cell(0, 32), QStringLiteral("700nm"));
    QVERIFY(rig.box(0)->isChecked());
    // 0x10 0x27 is 100 %; 0xFF 0xFF is 655.35 (live values are unsigned).
    rig.instrument->setSpectrum(spectrum(10000, 65535));
    rig.measure();
    QCOMPARE(rig.page->records().size(), 1);
    QCOMPARE(rig.page->records().first().values[0], 100.0);
    QCOMPARE(rig.cell(1, 0), QStringLiteral("1"));
    QCOMPARE(rig.cell(1, 1), QStringLiteral("spec1"));
    // Every value with the two decimals the instrument sends.
    QCOMPARE(rig.cell(1, 2), QStringLiteral("100.00"));
    QCOMPARE(rig.cell(1, 3), QStringLiteral("50.00"));
    QCOMPARE(rig.cell(1, 32), QStringLiteral("655.35"));
    QVERIFY(!rig.table()->cellWidget(1, 34)); // painted, not a widget per row
    QVERIFY(rig.prompter.shown.isEmpty());
}

void TestMeterPage::measurementFailsCleanly() {
    Rig rig;
    rig.instrument->corruptNextFrameChecksum();
    rig.measure();
    QCOMPARE(rig.prompter.messages(),
             QStringList{QStringLiteral("Error|Failed to read data information!")});
    QVERIFY(rig.page->records().isEmpty());
    QVERIFY(rig.page->findChild<QPushButton*>(QStringLiteral("pushButton_spectralMeasurement"))
                ->isEnabled());
}

void TestMeterPage::thousandRecordLimit() {
    Rig rig;
    rig.measure(1000);
    QCOMPARE(rig.page->records().size(), 1000);
    QVERIFY(rig.prompter.shown.isEmpty());
    rig.instrument->clearReceivedFrames();
    rig.measure();
    QCOMPARE(rig.page->records().size(), 1000);
    QCOMPARE(rig.prompter.lastText(),
             QStringLiteral("Measurement exceeds the maximum quantity, please save the excel file "
                            "before measuring!"));
    QVERIFY(rig.instrument->receivedFrames().isEmpty());
}

void TestMeterPage::deleteKeepsNumbersAndCurveBoxes() {
    Rig rig;
    rig.measure(3);
    rig.clickDelete(0); // the caption row has no button
    QCOMPARE(rig.page->records().size(), 3);
    rig.clickDelete(2);
    QCOMPARE(rig.page->records().size(), 2);
    QCOMPARE(rig.cell(1, 0), QStringLiteral("1"));
    QCOMPARE(rig.cell(2, 0), QStringLiteral("3"));
    // Unticking one curve unticks the all-curves box; ticking it again leaves that box alone.
    rig.box(2)->click();
    QVERIFY(!rig.page->records().at(1).showCurve);
    QVERIFY(!rig.box(0)->isChecked());
    rig.box(2)->click();
    QVERIFY(rig.page->records().at(1).showCurve);
    QVERIFY(!rig.box(0)->isChecked());
    // The all-curves box drives every record.
    rig.box(0)->click();
    QVERIFY(rig.box(1)->isChecked() && rig.page->records().at(0).showCurve);
    rig.box(0)->click();
    QVERIFY(!rig.box(2)->isChecked() && !rig.page->records().at(1).showCurve);
}

void TestMeterPage::renameAndClear() {
    Rig rig;
    rig.measure(3);
    rig.page->slot_cellDoubleClicked(0, 1);
    QVERIFY(rig.table()->findChildren<QLineEdit*>().isEmpty());
    rig.page->slot_cellDoubleClicked(2, 1);
    QCOMPARE(rig.table()->findChildren<QLineEdit*>().size(), 1);

    rig.prompter.answers = {QMessageBox::No};
    rig.page->on_pushButton_clearData_clicked();
    QCOMPARE(rig.page->records().size(), 3);
    rig.prompter.answers = {QMessageBox::Yes};
    rig.page->on_pushButton_clearData_clicked();
    QCOMPARE(rig.table()->rowCount(), 1);
    QVERIFY(rig.page->records().isEmpty());
    QCOMPARE(rig.prompter.shown.last().title, QStringLiteral("Tip"));
    rig.measure();
    QCOMPARE(rig.cell(1, 1), QStringLiteral("spec4")); // the name counter goes on after a clear
}

void TestMeterPage::historyImport() {
    for (int uiIndex : {3, 2}) {
        Rig rig(uiIndex);
        std::array<int16_t, 31> values{};
        values.fill(4000);
        values[0] = -1; // stored 0xFF 0xFF: -0.01, the stored values are signed
        for (int i = 0; i < 5; ++i)
            rig.instrument->addSpectralRecord(
                uiIndex, values, i == 0 ? QByteArray("ABCDEFGHIJKLMNOP") : QByteArray());
        rig.instrument->clearReceivedFrames();
        rig.page->on_pushButton_spectralHistory_clicked();
        QVERIFY2(rig.prompter.shown.isEmpty(), qPrintable(rig.prompter.messages().join('\n')));
        QCOMPARE(rig.page->records().size(), 5);
        QCOMPARE(rig.cell(1, 1), QStringLiteral("ABCDEFGHIJKLMNOP"));
        QCOMPARE(rig.cell(2, 1), QStringLiteral("spec1"));
        QCOMPARE(rig.cell(1, 2), QStringLiteral("-0.01"));
        // 5 records: values as chunks of 256 and 64 bytes, names as one chunk of 80.
        const uint32_t values0 = uiIndex == 3 ? 0x20000 : 0x140000;
        const uint32_t names0 = uiIndex == 3 ? 0x21900 : 0x141900;
        QCOMPARE(memoryReads(*rig.instrument), (QList<uint32_t>{values0, values0 + 256, names0}));
    }
}

void TestMeterPage::historyImportDoesWhatItAsks() {
    Rig rig;
    std::array<int16_t, 31> values{};
    rig.instrument->addSpectralRecord(0, values, "stored");
    const auto importAnswering = [&rig](QList<QMessageBox::StandardButton> answers) {
        rig.prompter.shown.clear();
        rig.prompter.answers = answers;
        rig.page->on_pushButton_spectralHistory_clicked();
    };
    rig.measure(3);
    // Cancel: the list stays and nothing is read.
    rig.instrument->clearReceivedFrames();
    importAnswering({QMessageBox::Cancel});
    QCOMPARE(rig.prompter.shown.size(), 1);
    QCOMPARE(rig.prompter.shown.first().buttons,
             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(rig.page->records().size(), 3);
    QVERIFY(memoryReads(*rig.instrument).isEmpty());
    // Yes, but the save is cancelled: nothing is lost, nothing imported.
    importAnswering({QMessageBox::Yes});
    QCOMPARE(rig.page->records().size(), 3);
    // No: the list is replaced, as the question said, without a second question.
    importAnswering({QMessageBox::No});
    QCOMPARE(rig.prompter.shown.size(), 1);
    QCOMPARE(rig.page->records().size(), 1);
    QCOMPARE(rig.cell(1, 1), QStringLiteral("stored"));
    // Yes: saved whole, then replaced.
    QTemporaryDir dir;
    rig.prompter.files = {dir.filePath(QStringLiteral("before.xlsx"))};
    rig.measure(2);
    importAnswering({QMessageBox::Yes});
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("before.xlsx"))));
    QCOMPARE(rig.page->records().size(), 1);
    QCOMPARE(rig.table()->rowCount(), 2);
}

void TestMeterPage::legendNamesAndHighlightsCurves() {
    Rig rig;
    rig.measure(3);
    rig.page->show();
    QVERIFY(QTest::qWaitForWindowActive(rig.page.get()));
    QListWidget* legend = rig.page->legend();
    QVERIFY(legend->isVisible());
    QCOMPARE(legend->count(), 3);
    QCOMPARE(legend->item(1)->text(), QStringLiteral("spec2"));
    QCOMPARE(legend->item(2)->icon().pixmap(legend->iconSize()).toImage().pixelColor(2, 2),
             chart::curveColour(2));
    // An entry chosen highlights its curve; a row chosen in the table shows in the legend.
    legend->setCurrentRow(1);
    QCOMPARE(rig.page->highlightedRecord(), 1);
    rig.table()->selectRow(3);
    QCOMPARE(legend->currentRow(), 2);
    // Hidden curves leave the legend; a renamed record is renamed there.
    rig.box(1)->click();
    QCOMPARE(legend->count(), 2);
    QCOMPARE(legend->item(0)->text(), QStringLiteral("spec2"));
    rig.table()->item(2, 1)->setText(QStringLiteral("glass A"));
    QCOMPARE(legend->item(0)->text(), QStringLiteral("glass A"));
    // The chart leaves the legend its room.
    auto* chart = rig.page->findChild<QWidget*>(QStringLiteral("widget_chart"));
    QVERIFY(legend->geometry().right() <= chart->width());
    QVERIFY(legend->width() <= chart->width() / 4);

    // Tab leaves the table for the legend; arrows stay in the table.
    rig.table()->setFocus();
    rig.table()->setCurrentCell(1, 2);
    QTest::keyClick(rig.table(), Qt::Key_Right);
    QCOMPARE(rig.table()->currentColumn(), 3);
    QTest::keyClick(rig.table(), Qt::Key_Tab);
    QVERIFY(!rig.table()->hasFocus());
}

void TestMeterPage::historyFailures() {
    Rig rig;
    rig.page->on_pushButton_spectralHistory_clicked();
    QCOMPARE(rig.prompter.messages().last(), QStringLiteral("Info|No spectral history!"));
    rig.instrument->corruptNextBlockChecksum();
    rig.page->on_pushButton_spectralHistory_clicked();
    QCOMPARE(rig.prompter.messages().last(),
             QStringLiteral("Error|Spectral history data error, unable to export!"));
    rig.port.closeLink();
    rig.page->on_pushButton_spectralHistory_clicked();
    QCOMPARE(rig.prompter.messages().last(),
             QStringLiteral("Error|Please connect the device first!"));
}

void TestMeterPage::exportWritesTheSheet() {
    Rig rig;
    QTemporaryDir dir;
    QVERIFY(!rig.page->on_pushButton_exportExcel_clicked());
    QCOMPARE(rig.prompter.messages().last(), QStringLiteral("error|No data for Storing to Excel!"));

    rig.instrument->setSpectrum(spectrum(1234, 9999));
    rig.measure(2);
    const QString path = dir.filePath(QStringLiteral("spectra.xlsx"));
    rig.prompter.files = {path};
    rig.prompter.answers = {QMessageBox::Yes}; // clear after saving
    QVERIFY(rig.page->on_pushButton_exportExcel_clicked());
    const ScriptedPrompter::Shown save = rig.prompter.shown.at(1);
    QCOMPARE(save.title, QStringLiteral("Storing data to Excel"));
    QCOMPARE(save.text, QStringLiteral("excel file (*.xlsx)"));
    // The message names the file.
    QCOMPARE(rig.prompter.messages().last(),
             QStringLiteral("Storing data|Data stored to file Success\n") +
                 QDir::toNativeSeparators(path));
    QCOMPARE(rig.table()->rowCount(), 1);

    ExcelEngine engine(path);
    QVERIFY(engine.open());
    QList<QVariantList> rows;
    QVERIFY(engine.readAllData(rows));
    QCOMPARE(engine.startRow(), 2); // row 1 is left as the template has it
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).size(), 33);
    QCOMPARE(rows.at(0).at(1).toString(), QStringLiteral("Name"));
    QCOMPARE(rows.at(1).at(1).toString(), QStringLiteral("spec1"));
    QCOMPARE(rows.at(2).at(2).toString(), QStringLiteral("12.34"));
    QCOMPARE(rows.at(2).at(32).toString(), QStringLiteral("99.99"));

    // The same cells read back without our reader, against the stored reference. To refresh
    // the reference on purpose, write the lines printed by a failing run to the file.
    const QStringList cells = sheetCellsByUnzip(path);
    QFile golden(QFINDTESTDATA("data/spectral_export.cells"));
    QVERIFY(golden.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList expected =
        QString::fromUtf8(golden.readAll()).split('\n', Qt::SkipEmptyParts);
    if (cells != expected)
        qWarning().noquote() << cells.join('\n');
    QCOMPARE(cells, expected);
}

void TestMeterPage::exportHonoursCancel() {
    Rig rig;
    QTemporaryDir dir;
    rig.measure(5);
    const QString path = dir.filePath(QStringLiteral("cancelled.xlsx"));
    rig.prompter.files = {path};
    rig.prompter.answers = {QMessageBox::No}; // keep the list
    // The progress dialog runs the event loop as it advances: press its Cancel at the first row.
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&rig] {
        if (auto* progress = rig.page->findChild<QProgressDialog*>())
            if (progress->isVisible())
                progress->cancel();
    });
    canceller.start(0);
    QVERIFY(rig.page->on_pushButton_exportExcel_clicked());
    canceller.stop();

    ExcelEngine engine(path);
    QVERIFY(engine.open());
    QList<QVariantList> rows;
    QVERIFY(engine.readAllData(rows));
    // The caption row and what was written before the cancel, not all five records.
    QVERIFY2(rows.size() >= 1 && rows.size() < 6, qPrintable(QString::number(rows.size())));
    QCOMPARE(rig.table()->rowCount(), 6);
}

QTEST_MAIN(TestMeterPage)
#include "tst_meterpage.moc"
