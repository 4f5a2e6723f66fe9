// Products and lots: a standard kept with its settings, used again on another start without
// measuring it, refused where the instrument cannot take it; the command line's products and
// compare --product; the products dialog.
#include "comparisonsession.h"
#include "frameport.h"
#include "historydatabase.h"
#include "historyjournal.h"
#include "historystore.h"
#include "productsdialog.h"
#include "scriptedprompter.h"
#include "virtualinstrument.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

sim::Measurement reading(double haze, double t, double L = 50, double a = 0, double b = 0) {
    return sim::measurementFromLab(haze, t, L, a, b);
}

// One start of the program: an instrument, a session and the history's journal over a file.
struct Start {
    std::shared_ptr<sim::VirtualInstrument> instrument;
    LinkFramePort port;
    history::HistoryStore store;
    ComparisonSession session{port};
    std::unique_ptr<HistoryJournal> journal;

    Start(const QString& model, const QString& file)
        : instrument(sim::VirtualInstrument::fromPreset(model)) {
        port.setTransportFactory([inst = instrument] { return inst->createTransport(); });
        port.setDelayFunction([](int) {});
        session.setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
        store.open(file);
        journal = std::make_unique<HistoryJournal>(store, session);
    }
    // Identifies and reads the settings as the page does on connection.
    bool connect() {
        if (!port.openLink() || session.identify())
            return false;
        const InstrumentProfile& p = session.profile();
        return !(p.oldLayout || p.parameterPage ? session.readParameter()
                                                : session.readTolerance());
    }
    std::optional<ComparisonRecord> measure(int target, const sim::Measurement& m) {
        instrument->setReadings({m});
        std::optional<ComparisonRecord> record;
        if (session.measure(target, session.profile().pull, &record))
            return std::nullopt;
        return record;
    }
};

struct CliRun {
    int status = -1;
    QString out, err;
};

CliRun cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VELORIN_CLI), args);
    CliRun run;
    if (!p.waitForFinished(60000))
        return run;
    run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

} // namespace

class TestProducts : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        QVERIFY(m_dir.isValid());
    }
    void productIsUsedOnAnotherStartWithoutMeasuring();
    void productsTheInstrumentCannotTakeAreRefused();
    void commandLineKeepsAndUsesProducts();
    void dialogFiltersUsesAndEdits();

  private:
    QTemporaryDir m_dir;
};

void TestProducts::productIsUsedOnAnotherStartWithoutMeasuring() {
    const QString file = m_dir.filePath(QStringLiteral("roundtrip.sqlite"));
    const sim::Measurement standard = reading(30, 80);
    QString id;
    std::array<int, ComparisonRecord::kValueCount> standardValues{};
    {
        Start first(QStringLiteral("KV510"), file);
        first.instrument->setDisplayMode(0);
        QVERIFY(first.connect());
        QVERIFY(!first.session.setTolerance(30, 50, 15));
        QVERIFY(first.session.saveProduct(QStringLiteral("Film A"))); // no standard yet
        QVERIFY(first.measure(1, standard) == std::nullopt);
        Product saved;
        QVERIFY(!first.session.saveProduct(QStringLiteral(" Film A "), &saved));
        QCOMPARE(saved.name, QStringLiteral("Film A"));
        QCOMPARE(first.session.productInUse()->id, saved.id);
        id = saved.id;
        standardValues = first.session.standard()->values;
        first.session.setLot(QStringLiteral("L-17"));
    }

    // Another start: the instrument holds other settings and another mode.
    Start second(QStringLiteral("KV510"), file);
    second.instrument->setDisplayMode(1);
    second.instrument->setTolerance({100, 100, 20});
    QCOMPARE(second.journal->restore(), 0);
    QCOMPARE(second.session.lot(), QStringLiteral("L-17")); // remembered until changed
    QVERIFY(second.connect());
    const std::optional<Product> product =
        second.session.catalog()->productNamed(QStringLiteral("KV510"), QStringLiteral("Film A"));
    QVERIFY(product);
    QVERIFY(!second.session.useProduct(*product));
    const sim::Tolerance written = second.instrument->tolerance();
    QCOMPARE(written.haze, 30);
    QCOMPARE(written.transmittance, 50);
    QCOMPARE(written.threshold, 15);
    QCOMPARE(second.instrument->displayMode(), 0);
    QVERIFY(second.session.standard()->values == standardValues);
    QCOMPARE(second.session.nextTarget(), 2);

    // The first reading is a sample, judged with the product's tolerances.
    second.instrument->clearReceivedFrames();
    const std::optional<ComparisonRecord> pass = second.measure(2, reading(30.30, 80.50));
    const std::optional<ComparisonRecord> ng = second.measure(2, reading(30.31, 80));
    QVERIFY(pass && ng);
    QVERIFY(pass->pass && !ng->pass);
    QCOMPARE(second.instrument->receivedFrames().size(), 2); // two pulls, no standard
    QCOMPARE(pass->productId, id);
    QCOMPARE(pass->lot, QStringLiteral("L-17"));
    QCOMPARE(pass->settings.hazeTolerance, 30);

    // A standard measured afterwards is no product's; its rows carry none.
    QVERIFY(second.measure(1, standard) == std::nullopt);
    QVERIFY(!second.session.productInUse());
    second.session.setLot(QString());
    const std::optional<ComparisonRecord> plain = second.measure(2, reading(31, 80));
    QVERIFY(plain && plain->productId.isEmpty() && plain->lot.isEmpty());
    // Settings written now re-judge that row only: the product's rows keep the product's.
    QVERIFY(!second.session.setTolerance(200, 200, 15));
    const QList<ComparisonRecord>& rows = second.session.list().records();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).settings.hazeTolerance, 30);
    QCOMPARE(rows.at(2).settings.hazeTolerance, 200);

    // The history finds the rows by product and lot, and the next start brings the product back.
    history::HistoryDatabase db;
    QVERIFY(db.open(history::HistoryUrl::sqliteFile(file)));
    history::HistoryFilter byProduct;
    byProduct.productName = QStringLiteral("Film A");
    QCOMPARE(db.comparisons(byProduct).size(), 2);
    QCOMPARE(db.counts(byProduct)->passes, 1);
    history::HistoryFilter byLot;
    byLot.lot = QStringLiteral("L-17");
    byLot.productId = id;
    QCOMPARE(db.comparisons(byLot).size(), 2);
    QVERIFY(!second.session.useProduct(*product));
    Start third(QStringLiteral("KV510"), file);
    QCOMPARE(third.journal->restore(), 3);
    QCOMPARE(third.session.productInUse()->id, id);
    QVERIFY(third.session.lot().isEmpty());
}

void TestProducts::productsTheInstrumentCannotTakeAreRefused() {
    const QString file = m_dir.filePath(QStringLiteral("refused.sqlite"));
    Start colorimeter(QStringLiteral("KV630"), file);
    QVERIFY(colorimeter.connect());
    QVERIFY(colorimeter.measure(1, reading(0, 0, 60, 5, 5)) == std::nullopt);
    Product saved;
    QVERIFY(!colorimeter.session.saveProduct(QStringLiteral("Red cap"), &saved));
    QCOMPARE(saved.settings.formula, colorimeter.session.formulaIndex());
    const SessionResult duplicate = colorimeter.session.saveProduct(QStringLiteral("Red cap"));
    QVERIFY(duplicate && duplicate->text.contains(QLatin1String("Red cap")));
    QCOMPARE(colorimeter.session.catalog()->products({}, {}, true).size(), 1);

    Start haze(QStringLiteral("KV510"), file);
    QVERIFY(haze.connect());
    haze.instrument->clearReceivedFrames();
    colorimeter.instrument->clearReceivedFrames();
    // Another model.
    SessionResult r = haze.session.useProduct(saved);
    QVERIFY(r && r->text.contains(QLatin1String("KV630")));
    // A display mode the colorimeter cannot show, on the colorimeter.
    Product hazeMode = saved;
    hazeMode.settings.displayMode = 0;
    r = colorimeter.session.useProduct(hazeMode);
    QVERIFY(r && r->text.contains(QLatin1String("display mode 0")));
    // The old layout's product on current firmware.
    Product old = saved;
    old.settings.oldLayout = true;
    QVERIFY(colorimeter.session.useProduct(old));
    // Settings out of the range the dE parameter takes.
    Product far = saved;
    far.settings.threshold = 501;
    QVERIFY(colorimeter.session.useProduct(far));
    // Retired.
    QString why;
    QVERIFY(colorimeter.session.catalog()->retireProduct(saved.id, &why));
    const std::optional<Product> retired = colorimeter.session.catalog()->product(saved.id);
    QVERIFY(retired && retired->retired);
    QVERIFY(colorimeter.session.useProduct(*retired));
    // Nothing was written to either instrument.
    QVERIFY(haze.instrument->receivedFrames().isEmpty());
    QVERIFY(colorimeter.instrument->receivedFrames().isEmpty());
    // A retired product's name may be given again.
    QVERIFY(!colorimeter.session.saveProduct(QStringLiteral("Red cap")));
}

void TestProducts::commandLineKeepsAndUsesProducts() {
    const QString database =
        QLatin1String("sqlite:") + m_dir.filePath(QStringLiteral("cli.sqlite"));
    const QString readings = m_dir.filePath(QStringLiteral("readings.txt"));
    const auto readingsAre = [&readings](const QByteArray& lines) {
        QFile f(readings);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(lines) == lines.size();
    };
    const QStringList base{QStringLiteral("--database"), database,
                           QStringLiteral("--simulate"), QStringLiteral("KV510"),
                           QStringLiteral("--readings"), readings};
    QVERIFY(readingsAre("30.00 80.00 50.00 0.00 0.00\n"));
    CliRun run = cli(
        base + QStringList{"products", "add", "=Film B", "--haze-tol", "0.30", "--t-tol", "0.50"});
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains(QLatin1String("'=Film B,KV510,new,0,30,80,")), qPrintable(run.out));
    run = cli(base + QStringList{"products", "add", "=Film B"});
    QVERIFY(run.status != 0 && run.err.contains(QLatin1String("already exists")));

    // The first reading is already a sample, judged with the product's tolerances on an
    // instrument that holds its own.
    QVERIFY(readingsAre("30.30 80.50 50.00 0.00 0.00\n30.31 80.00 50.00 0.00 0.00\n"));
    run = cli(base +
              QStringList{"compare", "--product", "=Film B", "--samples", "2", "--lot", "Lot 9"});
    QCOMPARE(run.status, 0);
    QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[1].endsWith(QStringLiteral(",±0.30%,0.30%,±0.50%,0.50%,PASS")));
    QVERIFY(lines[2].endsWith(QLatin1String(",NG")));
    QVERIFY(cli(base + QStringList{"compare", "--product", "=Film B", "--haze-tol", "1"}).status !=
            0);

    run = cli({"--database", database, "history", "--product", "=Film B", "--lot", "Lot 9"});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.count(QLatin1Char('\n')), 3);
    QVERIFY(run.out.contains(QLatin1String(",Lot 9\n")));
    QCOMPARE(cli({"--database", database, "history", "--lot", "Lot 8"}).out.count('\n'), 1);

    QCOMPARE(cli({"--database", database, "products", "remove", "=Film B"}).status, 0);
    QCOMPARE(cli({"--database", database, "products", "list"}).out.count('\n'), 1);
    run = cli({"--database", database, "products", "list", "--retired"});
    QVERIFY(run.out.trimmed().endsWith(QLatin1String(",1")));
    QVERIFY(cli(base + QStringList{"compare", "--product", "=Film B"}).status != 0);
}

void TestProducts::dialogFiltersUsesAndEdits() {
    const QString file = m_dir.filePath(QStringLiteral("dialog.sqlite"));
    Start start(QStringLiteral("KV510"), file);
    QVERIFY(start.connect());
    QVERIFY(start.measure(1, reading(12, 88)) == std::nullopt);
    for (const char* name : {"Lens clear", "Lens tinted", "Sheet"})
        QVERIFY(!start.session.saveProduct(QString::fromLatin1(name)));
    start.session.setLot(QString());

    ScriptedPrompter prompter;
    ProductsDialog dialog(start.session);
    dialog.setPrompter(&prompter);
    auto* filter = dialog.findChild<QLineEdit*>();
    QVERIFY(filter && !filter->accessibleName().isEmpty());
    QTest::keyClicks(filter, QStringLiteral("lens"));
    QCOMPARE(dialog.table()->rowCount(), 2);
    dialog.table()->selectRow(1);
    QCOMPARE(dialog.productAt(1)->name, QStringLiteral("Lens tinted"));

    const auto field = [&dialog](const QString& accessible) {
        for (QLineEdit* e : dialog.findChildren<QLineEdit*>())
            if (e->accessibleName() == accessible)
                return e;
        return static_cast<QLineEdit*>(nullptr);
    };
    const auto press = [&dialog](const QString& text) {
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            if (b->text() == text)
                return b->click(), true;
        return false;
    };
    // A name in use and a tolerance out of range are refused with the reason.
    field(QStringLiteral("Product name"))->setText(QStringLiteral("Sheet"));
    QVERIFY(press(QStringLiteral("Rename")));
    QCOMPARE(prompter.shown.size(), 1);
    QVERIFY(prompter.shown.last().text.contains(QLatin1String("Sheet")));
    dialog.table()->selectRow(1);
    field(QStringLiteral("Haze Tolerance"))->setText(QStringLiteral("101"));
    QVERIFY(press(QStringLiteral("Edit tolerances")));
    QCOMPARE(prompter.shown.size(), 2);
    field(QStringLiteral("Haze Tolerance"))->setText(QStringLiteral("0.75"));
    QVERIFY(press(QStringLiteral("Edit tolerances")));
    QCOMPARE(prompter.shown.size(), 2);
    QCOMPARE(dialog.productAt(1)->settings.hazeTolerance, 75);

    // Used: the instrument takes the edited tolerance; retired: gone from the list.
    QVERIFY(press(QStringLiteral("Use")));
    QCOMPARE(start.instrument->tolerance().haze, 75);
    QCOMPARE(start.session.productInUse()->name, QStringLiteral("Lens tinted"));
    prompter.answers = {QMessageBox::Yes};
    dialog.table()->selectRow(0);
    QVERIFY(press(QStringLiteral("Retire")));
    QCOMPARE(dialog.table()->rowCount(), 1);
}

QTEST_MAIN(TestProducts)
#include "tst_products.moc"
