// Picking a product and setting the instrument from it, beside the bare Setup commands that do
// the same to the instrument: its tolerances and its display mode, alternating between two
// products of different modes so the mode is written every time on both sides. The virtual
// instrument answers with USB's latency; medians of 60 rounds.
#include "benchsupport.h"
#include "comparisonsession.h"
#include "deviceinfocommands.h"
#include "historyjournal.h"
#include "historystore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

constexpr int kRounds = 60;

struct Setting {
    const char* name;
    int mode, haze, t, threshold;
};
constexpr Setting kProducts[] = {{"Film clear", 0, 30, 50, 15}, {"Film matt", 1, 45, 60, 20}};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "product_use: %s\n", what);
    std::exit(1);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QTemporaryDir dir;
    SimulatedLink link("KV510");
    history::HistoryStore store;
    if (!store.open(dir.filePath(QStringLiteral("history.sqlite"))))
        fail("no history");
    ComparisonSession session(link.port);
    session.setModelTable(ModelTable::load(QStringLiteral(VELORIN_METERNO)));
    HistoryJournal journal(store, session);
    if (session.identify() || session.readTolerance())
        fail("the instrument was not identified");
    for (const Setting& s : kProducts) {
        if (session.setDisplayMode(s.mode) || session.setTolerance(s.haze, s.t, s.threshold) ||
            session.measure(1, session.profile().pull) ||
            session.saveProduct(QString::fromLatin1(s.name)))
            fail("a product was not saved");
    }

    // As over USB at full speed: a millisecond per report each way.
    link.instrument->setLatency(sim::Latency::UsbFullSpeed);
    QVector<double> use, bare;
    QElapsedTimer timer;
    for (int i = 0; i < kRounds; ++i) {
        const Setting& s = kProducts[i % 2];
        timer.start();
        const std::optional<Product> product =
            session.catalog()->productNamed(session.modelName(), QString::fromLatin1(s.name));
        if (!product || session.useProduct(*product))
            fail("the product was not used");
        use << double(timer.nsecsElapsed()) / 1e6;

        timer.start();
        if (SetTolerance(link.port, s.haze, s.t, s.threshold) < 0 ||
            SetDisplayParam(link.port, s.mode) < 0)
            fail("a Setup command failed");
        bare << double(timer.nsecsElapsed()) / 1e6;
    }
    bench("product_use_ms", percentile(use, 0.5), "ms");
    bench("product_setup_commands_ms", percentile(bare, 0.5), "ms");
    return 0;
}
