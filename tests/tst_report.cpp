// Test reports: the documents against stored reference files, number formats, escaping, the
// information dialogs, carried-over people, printing and PDF files.
//
// The reference documents under tests/data/report are rewritten from the current code when the
// test runs with VELORIN_REGENERATE_REPORTS=1; do that only on purpose, and read the diff.
#include "informationpagefor510.h"
#include "informationpagefor620.h"
#include "printchooser.h"
#include "reporthtml.h"
#include "reportpagefor510.h"
#include "reportpagefor620.h"
#include "scriptedprompter.h"

#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTranslator>

namespace {

const QDateTime kTestTime(QDate(2024, 3, 5), QTime(14, 7, 9));

ReportClock fixedClock(const QDateTime& t = kTestTime) {
    return [t] { return t; };
}

// The Chinese translation the program ships, compiled beside the tests.
QString chineseTitles(const char* context, const char* source) {
    static QTranslator translator;
    static const bool loaded =
        translator.load(QCoreApplication::applicationDirPath() + QStringLiteral("/Velorin_zh.qm"));
    if (!loaded)
        qFatal("Velorin_zh.qm is not beside the tests");
    const QString text = translator.translate(context, source);
    return text.isEmpty() ? QString::fromUtf8(source) : text;
}

std::array<bool, 7> onlyMode(int mode) {
    std::array<bool, 7> modes{};
    modes[size_t(mode)] = true;
    return modes;
}

ReportSnapshot snapshot510(int mode = 3) {
    ReportSnapshot s;
    s.sampleName = QStringLiteral("Comp3");
    s.testTime = QStringLiteral("2024/03/05  14:06");
    s.device = QStringLiteral("KV510");
    s.serialNumber = QStringLiteral("SN0042");
    s.verdict = QStringLiteral("PASS");
    s.hazeTolerance = QStringLiteral("±1.00%");
    s.transmittanceTolerance = QStringLiteral("±2.00%");
    s.deltaEThreshold = QStringLiteral("1.5");
    s.deltaEFormula = QStringLiteral("△E*94");
    s.displayModes = onlyMode(mode);
    // In the order of the list's columns, as the workspace hands them over.
    s.standard = report::valuesFromListOrder(
        {1.25, 91.5, 95.12, -0.41, 2.3, 95.12, 2.34, 100.2, 88.02, 0.3127, 0.3291});
    s.sample = report::valuesFromListOrder(
        {1.75, 90.75, 94.87, -0.12, 2.81, 94.87, 2.81, 92.6, 87.55, 0.31271, 0.32995});
    s.difference.haze = 0.5;
    s.difference.transmittance = -0.75;
    s.deltaE = 0.63;
    return s;
}

ReportSnapshot snapshot620(bool chinese) {
    ReportSnapshot s;
    s.sampleName = QStringLiteral("Comp1");
    s.testTime = QStringLiteral("2024/03/05  14:06");
    s.device = QStringLiteral("Colorimeter");
    s.serialNumber = QStringLiteral("620-0007");
    s.verdict = QStringLiteral("NG");
    s.deltaEThreshold = QStringLiteral("1.0");
    s.deltaEFormula = QStringLiteral("△E*ab");
    s.chinese = chinese;
    s.company = QStringLiteral("Example Glass");
    s.tester = QStringLiteral("Li");
    s.auditor = QStringLiteral("Wang");
    s.standard = report::valuesFromOldListOrder({50, 12.5, -3, 12.85, 346.5});
    s.sample = report::valuesFromOldListOrder({50.333333333, 12.1, -2, 12.26, 350.6});
    s.deltaE = 1.13;
    report::computeColourDifferencesFor620(s);
    return s;
}

QString readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

template <typename T> T* child(QObject* parent, const char* name) {
    T* w = parent->findChild<T*>(QLatin1String(name));
    if (!w)
        qFatal("no %s", name);
    return w;
}

// The text of a PDF file, or a null string when no extractor is installed.
QString pdfText(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return QStringLiteral("(pdftotext did not finish)");
    // Compatibility forms fold in: the extractor reads some CJK glyphs back as radicals.
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

bool isPdf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray all = f.readAll();
    return all.startsWith("%PDF-") && all.trimmed().endsWith("%%EOF");
}

// Answers the print dialog from the test. The printer always points at a PDF file, so
// printing after a cancel would leave one behind.
struct ScriptedPrintChooser : PrintChooser {
    QString pdfPath;
    bool accept = false;
    int asked = 0;
    bool choose(QPrinter& printer, QWidget*) override {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return accept;
    }
};

// Also keeps where the save dialog would have started.
struct SavePrompter : ScriptedPrompter {
    QString directory;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override {
        directory = dir;
        return ScriptedPrompter::saveFileName(parent, caption, dir, filter);
    }
};

} // namespace

class TestReport : public QObject {
    Q_OBJECT
  private slots:
    void referenceDocuments_data();
    void referenceDocuments();
    void layoutFollowsModeAndKind();
    void numberFormats();
    void typedTextsStayText();
    void titleStampTakenAtEveryRebuild();
    void informationOkStoresAndCarriesOver();
    void informationCancelAndEmptyFields();
    void informationFor620ShowsFormula();
    void reportsKeepTheirOwnValues();
    void printing();
    void savingAsPdf();
    void pdfWriteFailureIsReported();
};

void TestReport::referenceDocuments_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("html");
    for (int mode = 0; mode < 7; ++mode) {
        for (int kind : {0, 1}) {
            // Only the colour modes of the selectable-formula colorimeter differ by kind.
            if (kind == 1 && (mode < 3 || mode > 5))
                continue;
            ReportSnapshot s = snapshot510(mode);
            s.uiIndex = kind;
            s.company = QStringLiteral("Example Glass");
            s.tester = QStringLiteral("Li");
            s.auditor = QStringLiteral("Wang");
            report::computeColourDifferencesFor510(s);
            const QString name = QStringLiteral("510_mode%1_kind%2.html").arg(mode).arg(kind);
            QTest::newRow(qPrintable(name))
                << name << report::buildReportHtmlFor510(s, report::sourceTexts(), fixedClock());
        }
    }
    QTest::newRow("620_en.html") << QStringLiteral("620_en.html")
                                 << report::buildReportHtmlFor620(
                                        snapshot620(false), report::sourceTexts(), fixedClock());
    QTest::newRow("620_zh.html") << QStringLiteral("620_zh.html")
                                 << report::buildReportHtmlFor620(snapshot620(true), chineseTitles,
                                                                  fixedClock());
}

void TestReport::referenceDocuments() {
    QFETCH(QString, name);
    QFETCH(QString, html);
    const QString path = QStringLiteral(VELORIN_REPORT_DATA "/") + name;
    if (qEnvironmentVariableIntValue("VELORIN_REGENERATE_REPORTS") == 1) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(html.toUtf8());
        return;
    }
    const QString expected = readFile(path);
    QVERIFY2(!expected.isEmpty(), qPrintable(path));
    QCOMPARE(html, expected);
}

void TestReport::layoutFollowsModeAndKind() {
    // Haze alone: device, company and tolerance rows; the data table has its header, one Haze
    // row and the Result row.
    const QString haze =
        report::buildReportHtmlFor510(snapshot510(1), report::sourceTexts(), fixedClock());
    const QStringList tables = haze.split(QStringLiteral("<table "));
    QCOMPARE(tables.size(), 4);
    QCOMPARE(tables.at(1).count(QStringLiteral("<tr>")), 3);
    QVERIFY(tables.at(1).contains(QStringLiteral("Haze Tolerance:")));
    QCOMPARE(tables.at(2).count(QStringLiteral("<tr>")), 3);
    QVERIFY(tables.at(2).contains(QStringLiteral(">Haze</td><td width=\"21%\" align=\"center\">"
                                                 "1.25%</td>")));
    QVERIFY(tables.at(2).contains(QStringLiteral(">Result<")));
    // A lot, where the comparison has one, gets its own row.
    QVERIFY(!haze.contains(QStringLiteral("Lot:")));
    ReportSnapshot inLot = snapshot510(1);
    inLot.lot = QStringLiteral("L-0412");
    const QString lotted =
        report::buildReportHtmlFor510(inLot, report::sourceTexts(), fixedClock());
    QCOMPARE(lotted.split(QStringLiteral("<table ")).at(1).count(QStringLiteral("<tr>")), 4);
    QVERIFY(lotted.contains(QStringLiteral("L-0412")));

    // The formula row belongs to the selectable-formula colorimeter only.
    ReportSnapshot lab = snapshot510(3);
    for (int kind : {0, 1, 2}) {
        lab.uiIndex = kind;
        const QString html =
            report::buildReportHtmlFor510(lab, report::sourceTexts(), fixedClock());
        QCOMPARE(html.contains(QStringLiteral("△E formula:")), kind == 1);
        QVERIFY(html.contains(QStringLiteral("△E Thresholds:")));
    }

    // The 510 labels that follow the interface language are looked up in their contexts.
    QStringList asked;
    report::buildReportHtmlFor510(
        snapshot510(6),
        [&asked](const char* context, const char* source) {
            asked << QString::fromUtf8(context) + QLatin1Char('|') + QString::fromUtf8(source);
            return QString::fromUtf8(source);
        },
        fixedClock());
    asked.removeDuplicates();
    asked.sort();
    QCOMPARE(asked, (QStringList{"Colorimeter|△", "Colorimeter|△E", "Colorimeter|△E ",
                                 "ReportPageFor510| Auditor:", "ReportPageFor510| Tester:"}));
}

void TestReport::numberFormats() {
    // Rounding of the 510: h with one decimal, x and y with four, the rest with two; the
    // colour differences are worked out from the values, the haze and T ones are taken as given.
    ReportSnapshot s = snapshot510(4);
    s.standard.h = 359.96;
    s.sample.h = 0.04;
    report::computeColourDifferencesFor510(s);
    QString html = report::buildReportHtmlFor510(s, report::sourceTexts(), fixedClock());
    QVERIFY(html.contains(QStringLiteral(">h</td><td width=\"21%\" align=\"center\">360.0</td>"
                                         "<td width=\"21%\" align=\"center\">0.0</td>"
                                         "<td width=\"21%\" align=\"center\">-359.9</td>")));
    s.displayModes = onlyMode(5);
    html = report::buildReportHtmlFor510(s, report::sourceTexts(), fixedClock());
    QVERIFY(html.contains(QStringLiteral(">x</td><td width=\"21%\" align=\"center\">0.3127</td>"
                                         "<td width=\"21%\" align=\"center\">0.3127</td>"
                                         "<td width=\"21%\" align=\"center\">0.0000</td>")));
    QVERIFY(html.contains(QStringLiteral(">0.63</td></tr>")));
    s.displayModes = onlyMode(0);
    s.difference.haze = 7; // supplied, not sample minus standard
    html = report::buildReportHtmlFor510(s, report::sourceTexts(), fixedClock());
    QVERIFY(html.contains(QStringLiteral(">1.75%</td><td width=\"21%\" align=\"center\">7.00%<")));

    // The 620 shows six significant digits and no trailing zeros.
    const QString zh =
        report::buildReportHtmlFor620(snapshot620(true), chineseTitles, fixedClock());
    QVERIFY(zh.contains(QStringLiteral(">a*</td><td width=\"21%\" align=\"center\">12.5</td>"
                                       "<td width=\"21%\" align=\"center\">12.1</td>"
                                       "<td width=\"21%\" align=\"center\">-0.4</td>")));
    QVERIFY(zh.contains(QStringLiteral(">50.3333</td><td width=\"21%\" align=\"center\">"
                                       "0.333333</td>")));
    QVERIFY(zh.contains(QStringLiteral(">1.13</td></tr>")));
}

void TestReport::typedTextsStayText() {
    ReportSnapshot s = snapshot510(0);
    s.sampleName = QStringLiteral("<img src=x>");
    s.serialNumber = QStringLiteral("</td></tr></table>");
    s.verdict = QStringLiteral("<b>PASS</b>");
    ReportPeople people{QStringLiteral("Smith & <i>Sons</i>"), QStringLiteral("\"Q\""),
                        QStringLiteral("<hr/>")};
    auto shared = std::make_shared<ReportPeople>(people);
    for (bool old : {false, true}) {
        std::unique_ptr<ReportPage> page;
        if (old)
            page = std::make_unique<ReportPageFor620>(s, shared);
        else
            page = std::make_unique<ReportPageFor510>(0, s, shared);
        const QString html = page->buildReportHtml();
        QVERIFY(!html.contains(QStringLiteral("<img")));
        QVERIFY(!html.contains(QStringLiteral("<i>")));
        QVERIFY(!html.contains(QStringLiteral("<b>")));
        QVERIFY(html.contains(QStringLiteral("Smith &amp; &lt;i&gt;Sons&lt;/i&gt;<hr/>")));
        QCOMPARE(html.count(QStringLiteral("<table ")), 3);
        const QString shown = page->textBrowser()->toPlainText();
        for (const QString& typed : {s.sampleName, s.serialNumber, s.verdict, people.company,
                                     people.tester, people.auditor})
            QVERIFY2(shown.contains(typed), qPrintable(typed));
    }
}

void TestReport::titleStampTakenAtEveryRebuild() {
    QDateTime now = kTestTime;
    ReportPageFor620 page(snapshot620(false), nullptr);
    page.setClock([&now] { return now; });
    page.refreshReport();
    QCOMPARE(page.textBrowser()->documentTitle(), QStringLiteral("Report_20240305140709"));
    now = now.addSecs(3600 * 10 + 61);
    page.refreshReport();
    QCOMPARE(page.textBrowser()->documentTitle(), QStringLiteral("Report_20240306000810"));
}

void TestReport::informationOkStoresAndCarriesOver() {
    auto people = std::make_shared<ReportPeople>(ReportPeople{
        QStringLiteral("Example Glass"), QStringLiteral("Li"), QStringLiteral("Wang")});
    auto* page = new ReportPageFor510(3, snapshot510(3), people);
    page->show();
    child<QPushButton>(page, "Informationbtn")->click();
    auto* info = page->findChild<InformationPageFor510*>();
    QVERIFY(info);
    QVERIFY(info->isVisible());
    QVERIFY(!info->isModal());
    QCOMPARE(child<QLineEdit>(info, "DeviceEdit")->text(), QStringLiteral("KV510"));
    QCOMPARE(child<QLineEdit>(info, "serialNoEdit")->text(), QStringLiteral("SN0042"));
    QCOMPARE(child<QLineEdit>(info, "SampleNameEdit")->text(), QStringLiteral("Comp3"));
    QCOMPARE(child<QLineEdit>(info, "TestTimeEdit")->text(), QStringLiteral("2024/03/05  14:06"));
    QCOMPARE(child<QLineEdit>(info, "CompanyEdit")->text(), QStringLiteral("Example Glass"));
    QVERIFY(child<QLineEdit>(info, "DeviceEdit")->isReadOnly());
    QVERIFY(!child<QLineEdit>(info, "TesterEdit")->isReadOnly());

    QLineEdit* tester = child<QLineEdit>(info, "TesterEdit");
    tester->clear();
    QTest::keyClicks(tester, QStringLiteral("Zhao"));
    child<QPushButton>(info, "Okbtn")->click();
    QVERIFY(!info->isVisible());
    QCOMPARE(page->snapshot().tester, QStringLiteral("Zhao"));
    QCOMPARE(page->snapshot().company, QStringLiteral("Example Glass"));
    QCOMPARE(page->snapshot().auditor, QStringLiteral("Wang"));
    QVERIFY(page->textBrowser()->toHtml().contains(QStringLiteral("Zhao")));
    QCOMPARE(people->tester, QStringLiteral("Zhao"));
    QCOMPARE(people->company, QStringLiteral("Example Glass"));

    // The next report starts with the confirmed people, whatever its snapshot says.
    ReportSnapshot other = snapshot510(1);
    other.tester = QStringLiteral("stale");
    ReportPageFor510 next(0, other, people);
    QCOMPARE(next.snapshot().tester, QStringLiteral("Zhao"));
    QVERIFY(next.buildReportHtml().contains(QStringLiteral(">Zhao<hr/>")));

    // The dialog goes away once closed; closing the report page frees the page.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!page->findChild<InformationPageFor510*>());
    QPointer<ReportPageFor510> guard(page);
    page->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
}

void TestReport::informationCancelAndEmptyFields() {
    auto people = std::make_shared<ReportPeople>(ReportPeople{
        QStringLiteral("Example Glass"), QStringLiteral("Li"), QStringLiteral("Wang")});
    ReportPageFor510 page(0, snapshot510(2), people);
    const QString before = page.textBrowser()->toHtml();

    child<QPushButton>(&page, "Informationbtn")->click();
    auto* info = page.findChild<InformationPageFor510*>();
    child<QLineEdit>(info, "CompanyEdit")->setText(QStringLiteral("Other"));
    child<QLineEdit>(info, "TesterEdit")->setText(QStringLiteral("Other"));
    child<QPushButton>(info, "Cancelbtn")->click();
    QVERIFY(!info->isVisible());
    QCOMPARE(page.snapshot().company, QStringLiteral("Example Glass"));
    QCOMPARE(page.snapshot().tester, QStringLiteral("Li"));
    QCOMPARE(people->company, QStringLiteral("Example Glass"));
    QCOMPARE(page.textBrowser()->toHtml(), before);

    // Emptied fields are stored as empty texts and the report shows bare rules.
    child<QPushButton>(&page, "Informationbtn")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    info = page.findChild<InformationPageFor510*>();
    QVERIFY(info);
    for (const char* name : {"CompanyEdit", "TesterEdit", "AuditorEdit"})
        child<QLineEdit>(info, name)->clear();
    child<QPushButton>(info, "Okbtn")->click();
    QVERIFY(people->company.isEmpty() && people->tester.isEmpty() && people->auditor.isEmpty());
    const QString html = page.buildReportHtml();
    QVERIFY(html.contains(QStringLiteral("<td width=\"33%\"><hr/></td>")));
    QVERIFY(html.contains(QStringLiteral("<td width=\"26%\" align=\"center\"><hr/></td>")));
}

void TestReport::informationFor620ShowsFormula() {
    auto people = std::make_shared<ReportPeople>();
    ReportPageFor620 page(snapshot620(true), people);
    QCOMPARE(page.snapshot().company, QString()); // nothing confirmed yet this run
    child<QPushButton>(&page, "Informationbtn")->click();
    auto* info = page.findChild<InformationPageFor620*>();
    QVERIFY(info);
    QCOMPARE(child<QLineEdit>(info, "DeviceEdit")->text(), QStringLiteral("Colorimeter"));
    QCOMPARE(child<QLineEdit>(info, "FormulaEdit")->text(), QStringLiteral("△E*ab"));
    QCOMPARE(child<QLineEdit>(info, "ThresholdsEdit")->text(), QStringLiteral("1.0"));
    QVERIFY(child<QLineEdit>(info, "FormulaEdit")->isReadOnly());
    QVERIFY(child<QLineEdit>(info, "ThresholdsEdit")->isReadOnly());
    child<QLineEdit>(info, "AuditorEdit")->setText(QStringLiteral("审核员"));
    child<QPushButton>(info, "Okbtn")->click();
    QCOMPARE(people->auditor, QStringLiteral("审核员"));
    const QString html = page.buildReportHtml();
    QVERIFY(html.contains(QStringLiteral("测试数据(Test Data)")));
    QVERIFY(html.contains(QStringLiteral("审核人(Auditor):</td><td width=\"25%\" align=\"center\">"
                                         "审核员<hr/>")));
}

void TestReport::reportsKeepTheirOwnValues() {
    auto people = std::make_shared<ReportPeople>();
    ReportSnapshot workspace = snapshot510(3);
    ReportPageFor510 first(0, workspace, people);
    // The workspace moves on to another row before the second report is opened.
    workspace.sampleName = QStringLiteral("Comp4");
    workspace.sample.L = 80;
    workspace.verdict = QStringLiteral("NG");
    ReportPageFor510 second(0, workspace, people);

    QCOMPARE(first.snapshot().sampleName, QStringLiteral("Comp3"));
    QCOMPARE(first.snapshot().difference.L, 94.87 - 95.12);
    QCOMPARE(second.snapshot().difference.L, 80 - 95.12);
    first.refreshReport();
    const QString a = first.textBrowser()->toPlainText();
    const QString b = second.textBrowser()->toPlainText();
    QVERIFY(a.contains(QStringLiteral("Comp3")) && a.contains(QStringLiteral("PASS")));
    QVERIFY(!a.contains(QStringLiteral("Comp4")) && !a.contains(QStringLiteral("80.00")));
    QVERIFY(b.contains(QStringLiteral("Comp4")) && b.contains(QStringLiteral("NG")));
    QVERIFY(b.contains(QStringLiteral("-15.12")));
}

void TestReport::printing() {
    QTemporaryDir dir;
    ReportPageFor510 page(1, snapshot510(5), nullptr);
    ScriptedPrintChooser chooser;
    chooser.pdfPath = dir.filePath(QStringLiteral("printed.pdf"));
    page.setPrintChooser(&chooser);

    child<QPushButton>(&page, "PrintReportbtn")->click();
    QCOMPARE(chooser.asked, 1);
    QVERIFY(QDir(dir.path()).isEmpty());

    chooser.accept = true;
    child<QPushButton>(&page, "PrintReportbtn")->click();
    QCOMPARE(chooser.asked, 2);
    QVERIFY(isPdf(chooser.pdfPath));
    const QString text = pdfText(chooser.pdfPath);
    if (!text.isNull()) {
        QVERIFY2(text.contains(QStringLiteral("0.3127")), qPrintable(text));
        // Digits right after letters are the ones a CJK face drops from the text layer.
        for (const char* key : {"KV510", "SN0042", "Comp3", "88.02", "PASS"})
            QVERIFY2(text.contains(QLatin1String(key)), key);
    }
}

void TestReport::savingAsPdf() {
    QTemporaryDir dir;
    SavePrompter prompter;
    ReportPageFor620 page(snapshot620(true), nullptr);
    page.setPrompter(&prompter);
    page.setClock(fixedClock());

    // Cancelling the save dialog writes nothing.
    child<QPushButton>(&page, "pushButton_savePdf")->click();
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown.first().kind, QStringLiteral("save"));
    QCOMPARE(prompter.shown.first().text, QStringLiteral("PDF (*.pdf)"));
    QVERIFY(prompter.directory.endsWith(QStringLiteral("/Report_20240305140709.pdf")) ||
            prompter.directory == QStringLiteral("Report_20240305140709.pdf"));
    QVERIFY(QDir(dir.path()).isEmpty());

    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    prompter.files << path;
    child<QPushButton>(&page, "pushButton_savePdf")->click();
    QCOMPARE(prompter.shown.size(), 2); // no message after a good write
    QVERIFY(isPdf(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("report.pdf")});
    const QString text = pdfText(path);
    if (text.isNull())
        QSKIP("pdftotext is not installed; the PDF's text is not checked");
    for (const char* key :
         {"620-0007", "Example Glass", "50.3333", "0.333333", "NG", "测试数据", "审核人", "序列号"})
        QVERIFY2(text.contains(QString::fromUtf8(key)), key);
}

void TestReport::pdfWriteFailureIsReported() {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ReportPageFor510 page(0, snapshot510(0), nullptr);
    page.setPrompter(&prompter);
    prompter.files << dir.filePath(QStringLiteral("missing/folder/report.pdf"));
    child<QPushButton>(&page, "pushButton_savePdf")->click();
    QCOMPARE(prompter.messages().value(1),
             QStringLiteral("Error|Failed to save the report as PDF!"));
    QCOMPARE(prompter.shown.value(1).kind, QStringLiteral("warning"));
    QVERIFY(QDir(dir.path()).isEmpty());
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
