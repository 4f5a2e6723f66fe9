// velorin-cli compare: a comparison session without widgets, as the workspace page runs it.
#include "clicommands.h"
#include "cliinstrument.h"
#include "clisettings.h"

#include "comparisonsession.h"
#include "comparisonsheet.h"
#include "historyjournal.h"
#include "historystore.h"
#include "listexport.h"
#include "receivethread.h"
#include "safefile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

const char kUsage[] =
    "Usage: velorin-cli [--database URL|--no-history] [--simulate MODEL [--readings FILE]]\n"
    "         compare [--samples N] [--pushed] [--haze-tol X] [--t-tol Y] [--formula N]\n"
    "         [--threshold Z] [--readings-per-measurement N] [--product NAME] [--lot TEXT]\n"
    "         [--out FILE.xlsx|FILE.csv]\n"
    "With --readings-per-measurement N (1..10) the standard and each sample are the mean of N\n"
    "readings. A .csv file gets the list as plain numbers; a workbook also gets a Statistics "
    "sheet.\n"
    "With --product NAME the product's settings are written to the instrument and its standard\n"
    "is taken without measuring one: the first reading is already a sample. --lot TEXT is kept\n"
    "with every comparison.\n";

struct Options {
    int samples = 1;
    int readings = 1;
    bool pushed = false;
    SettingOptions settings;
    QString product;
    QString lot;
    QString out;
};

bool number(const QString& text, double& value) {
    bool ok = false;
    value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value);
}

bool parse(QStringList args, Options& o) {
    while (!args.isEmpty()) {
        const QString opt = args.takeFirst();
        if (opt == QLatin1String("--pushed")) {
            o.pushed = true;
            continue;
        }
        if (args.isEmpty())
            return false;
        const QString value = args.takeFirst();
        double v = 0;
        if (opt == QLatin1String("--out")) {
            // A workbook or the numeric CSV; any other name would hold something it does not say.
            if (!value.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) &&
                !value.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
                return false;
            o.out = value;
        } else if (opt == QLatin1String("--product")) {
            if (value.trimmed().isEmpty())
                return false;
            o.product = value;
        } else if (opt == QLatin1String("--lot")) {
            o.lot = value;
        } else if (!number(value, v)) {
            return false;
        } else if (opt == QLatin1String("--samples") && v >= 1 && v == std::floor(v) &&
                   v <= 100000) {
            o.samples = int(v);
        } else if (opt == QLatin1String("--readings-per-measurement") && v >= 1 && v <= 10 &&
                   v == std::floor(v)) {
            o.readings = int(v);
        } else if (!takeSettingOption(opt, v, o.settings)) {
            return false;
        }
    }
    // A product brings its own settings.
    return o.product.isEmpty() || !o.settings.any();
}

int fail(const QString& text) {
    return commandFailed("compare", text);
}

int fail(const SessionResult& result) {
    return fail(result->text);
}

// Takes pushed measurements until the standard and every sample have arrived.
// Stops early when the history refuses a comparison (`refused` is set then).
int collectPushed(ComparisonSession& session, CliInstrument& instrument, int samples,
                  const QString& refused) {
    ReceiveThread receiver;
    session.setPauseLockSource([&receiver] { return receiver.pauseLock(); });
    QElapsedTimer clock;
    clock.start();
    // A product's standard is taken already: the first reading is a sample.
    int taken = session.productInUse() ? 1 : 0;
    QObject::connect(&receiver, &ReceiveThread::received, &session, [&](const QByteArray& data) {
        for (const Reading& reading : session.feedPushed(data, clock.elapsed())) {
            if (taken > samples)
                break;
            bool complete = false;
            session.collect(taken == 0 ? 1 : 2, reading, ComparisonSource::Pushed, &complete);
            taken += complete ? 1 : 0;
            if (!refused.isEmpty())
                break;
        }
        if (taken > samples || !refused.isEmpty())
            QCoreApplication::exit(0);
    });
    QTimer pusher;
    if (const auto simulated = instrument.simulated()) {
        // The virtual instrument measures by itself, as a user would on its keys.
        QObject::connect(&pusher, &QTimer::timeout, [simulated] { simulated->pushMeasurement(); });
        pusher.start(200);
    } else {
        std::fprintf(stderr, "Measure the standard, then %d sample(s), on the instrument.\n",
                     samples);
    }
    receiver.start(&instrument.port);
    QCoreApplication::exec();
    pusher.stop();
    receiver.stop();
    session.setPauseLockSource({});
    return 0;
}

} // namespace

int runCompare(const QString& simulateModel, const QString& database, const QStringList& args) {
    Options o;
    if (!parse(args, o)) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    history::HistoryStore store;
    const HistoryUse use = openHistoryForWriting(store, database);
    if (use == HistoryUse::BadUrl || use == HistoryUse::Failed)
        return use == HistoryUse::BadUrl ? 2 : 1;
    const HistoryCloser closer{store};
    if (!o.product.isEmpty() && use != HistoryUse::Stored) {
        fail(QStringLiteral("--product: products are kept in the history"));
        return 2;
    }
    // The reason the history refused a comparison: the command stops there.
    QString refused;
    QObject::connect(&store, &history::HistoryStore::failed,
                     [&refused](const QString& message) { refused = message; });
    const auto stopped = [&refused] {
        return fail(QStringLiteral("the comparison could not be stored in the history, so it is "
                                   "not shown: %1\n(--no-history measures without the history)")
                        .arg(refused));
    };
    CliInstrument instrument;
    if (!instrument.open(simulateModel))
        return 1;
    // Checked before measuring, once the history and the readings are open: a target that is a
    // device, a planted link or one of those files is refused before any work is done.
    if (QString why; !o.out.isEmpty() && !SafeFile::checkTarget(o.out, &why))
        return fail(QStringLiteral("%1: %2").arg(o.out, why));
    ComparisonSession session(instrument.port);
    session.setModelTable(ModelTable::loadDefault());
    if (const SessionResult r = session.identify())
        return fail(r);
    const InstrumentProfile& profile = session.profile();
    // The settings that decide a verdict, read as the page reads them on connection.
    if (const SessionResult r = readSettings(session))
        return fail(r);
    if (!o.product.isEmpty()) {
        const std::optional<history::HistoryProduct> product =
            findProduct(store, session.modelName(), o.product);
        if (!product)
            return fail(QStringLiteral("there is no product %1 for the %2 (velorin-cli products "
                                       "list shows them)")
                            .arg(o.product, session.modelName()));
        if (const SessionResult r = session.useProduct(historymapping::fromHistory(*product)))
            return fail(r);
    } else if (const int status = writeSettings(session, o.settings, "compare")) {
        return status;
    }
    session.setLot(o.lot);

    session.setReadingsPerMeasurement(o.readings);

    // Each comparison is in the history before its line is printed: a line on the screen is a
    // row in the history, whenever the program is stopped. One the history refuses is not
    // printed, and the command stops with the reason.
    std::unique_ptr<HistoryJournal> journal;
    if (use == HistoryUse::Stored) {
        journal = std::make_unique<HistoryJournal>(store, session, nullptr, false);
        journal->setStrict(true);
    }
    const ListMeaning meaning = session.shownMeaning();
    std::printf("%s\n", comparisonsheet::csvLines(meaning.displayMode, meaning.oldLayout, {})
                            .value(0)
                            .toUtf8()
                            .constData());
    std::fflush(stdout);
    QObject::connect(&session, &ComparisonSession::comparisonAdded,
                     [](const ComparisonRecord& record) {
                         const ListMeaning own = ListMeaning::of(record);
                         const QStringList lines =
                             comparisonsheet::csvLines(own.displayMode, own.oldLayout, {record});
                         for (int i = 1; i < lines.size(); ++i)
                             std::printf("%s\n", lines.at(i).toUtf8().constData());
                         std::fflush(stdout);
                     });

    if (o.pushed) {
        collectPushed(session, instrument, o.samples, refused);
        if (!refused.isEmpty())
            return stopped();
    } else {
        const InstrumentProfile::Pull pull = profile.pull;
        for (int k = 0; k < o.readings && !session.productInUse(); ++k)
            if (const SessionResult r = session.measure(1, pull))
                return fail(r);
        for (int i = 0; i < o.samples * o.readings; ++i) {
            if (const SessionResult r = session.measure(2, pull))
                return fail(r);
            if (!refused.isEmpty())
                return stopped();
        }
    }

    const ComparisonListModel& list = session.list();
    std::printf("PASS %d NG %d TOTAL %d\n", list.passCount(), list.failCount(), list.totalCount());
    std::fflush(stdout);

    if (!o.out.isEmpty()) {
        // The same file as the Export button; the previous file stays unless it completes.
        const listexport::Outcome written =
            listexport::write(o.out, session.shownMeaning(), list.records(), false);
        if (!written.written)
            return fail(QStringLiteral("%1: %2").arg(o.out, written.reason));
    }
    return 0;
}
