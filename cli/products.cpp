// velorin-cli products: stored standards with their settings, kept in the history and shared
// through the lab database.
#include "clicommands.h"

#include "cliinstrument.h"
#include "clisettings.h"
#include "comparisonsession.h"
#include "csvtable.h"
#include "historydatabase.h"
#include "historyjournal.h"
#include "historystore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocale>
#include <QThread>

#include <cmath>
#include <cstdio>

using namespace history;

namespace {

const char kUsage[] =
    "Usage: velorin-cli [--database URL] [--simulate MODEL [--readings FILE]] products\n"
    "         add NAME [--haze-tol X] [--t-tol Y] [--threshold Z] [--formula N]\n"
    "           measure the standard now (the settings given are written to the instrument\n"
    "           first, else the instrument's own are taken) and keep it as product NAME\n"
    "         list [--model MODEL] [--filter TEXT] [--retired]\n"
    "           the products as CSV; --retired lists the retired ones too\n"
    "         remove NAME [--model MODEL]\n"
    "           retire the product (comparisons made with it keep naming it)\n";

int usage(const char* why) {
    std::fprintf(stderr, "velorin-cli products: %s\n%s", why, kUsage);
    return 2;
}

int fail(const QString& text) {
    return commandFailed("products", text);
}

QStringList headings() {
    QStringList names{QStringLiteral("name"), QStringLiteral("model"), QStringLiteral("layout"),
                      QStringLiteral("display_mode")};
    for (const QString& column : HistoryDatabase::comparisonColumns())
        if (column.startsWith(QLatin1String("std_")))
            names << column;
    names << QStringLiteral("haze_tolerance") << QStringLiteral("t_tolerance")
          << QStringLiteral("delta_e_threshold") << QStringLiteral("formula")
          << QStringLiteral("retired");
    return names;
}

QByteArray line(const HistoryProduct& p) {
    const auto number = [](const std::optional<double>& value) {
        return value ? QVariant(*value) : QVariant();
    };
    QVariantList values{p.name, p.model, layoutName(p.layout), p.displayMode};
    const Quantities& q = p.standard;
    for (const auto* member : {&q.haze, &q.t, &q.l, &q.a, &q.b, &q.c, &q.h, &q.bigY, &q.x, &q.y})
        values << number(*member);
    values << number(p.hazeTolerance) << number(p.tTolerance) << number(p.deltaEThreshold)
           << (p.formula ? QVariant(*p.formula) : QVariant()) << int(p.retired);
    QByteArray out;
    for (int i = 0; i < values.size(); ++i)
        out += (i > 0 ? "," : "") + csv::field(values.at(i));
    return out + '\n';
}

bool print(const QByteArray& text) {
    return std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size()) &&
           std::fflush(stdout) == 0;
}

// With a lab database, what was changed is copied before the command ends (bounded): a product
// is for the other stations too.
void waitForLab(HistoryStore& store) {
    if (!store.hasLab())
        return;
    const QDeadlineTimer deadline(10000);
    while (!(store.isSynced() && store.unsyncedCount() == 0) && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
}

// The history that keeps the products, opened for writing: 0, or the exit status and why not.
int openProducts(HistoryStore& store, const QString& database) {
    const HistoryUse use = openHistoryForWriting(store, database);
    if (use == HistoryUse::Stored)
        return 0;
    if (use == HistoryUse::Off)
        std::fprintf(stderr, "velorin-cli products: products are kept in the history\n");
    return use == HistoryUse::Failed ? 1 : 2;
}

int add(const QString& simulateModel, const QString& database, QStringList args) {
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return usage("add needs the product's name");
    const QString name = args.takeFirst();
    if (name.trimmed().isEmpty())
        return usage("add needs the product's name");
    SettingOptions settings;
    while (!args.isEmpty()) {
        const QString option = args.takeFirst();
        bool ok = false;
        const double value = args.isEmpty() ? 0 : QLocale::c().toDouble(args.takeFirst(), &ok);
        if (!ok || !std::isfinite(value) || !takeSettingOption(option, value, settings))
            return usage("unknown option or a value that is not a number");
    }
    HistoryStore store;
    if (const int status = openProducts(store, database))
        return status;
    const HistoryCloser closer{store};
    CliInstrument instrument;
    if (!instrument.open(simulateModel))
        return 1;
    ComparisonSession session(instrument.port);
    session.setModelTable(ModelTable::loadDefault());
    if (const SessionResult r = session.identify())
        return fail(r->text);
    if (const SessionResult r = readSettings(session))
        return fail(r->text);
    if (const int status = writeSettings(session, settings, "products"))
        return status;
    // The journal over the history is the session's product catalog.
    HistoryJournal journal(store, session, nullptr, false);
    journal.setStrict(true);
    // One pull, as the page's Standard button.
    if (const SessionResult r = session.measure(1, session.profile().pull))
        return fail(r->text);
    Product saved;
    if (const SessionResult r = session.saveProduct(name, &saved))
        return fail(r->text);
    const std::optional<HistoryProduct> stored = store.product(saved.id);
    if (!stored || !print(headings().join(QLatin1Char(',')).toUtf8() + '\n' + line(*stored)))
        return fail(QStringLiteral("the product was saved but cannot be shown"));
    waitForLab(store);
    return 0;
}

int list(const QString& database, QStringList args) {
    ProductFilter filter;
    while (!args.isEmpty()) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--retired")) {
            filter.includeRetired = true;
            continue;
        }
        if (args.isEmpty())
            return usage("an option lacks its value");
        const QString value = args.takeFirst();
        if (option == QLatin1String("--model"))
            filter.model = value;
        else if (option == QLatin1String("--filter"))
            filter.text = value;
        else
            return usage("unknown option");
    }
    const HistoryUrl url = historyUrl(database);
    if (!url.isValid()) {
        std::fprintf(stderr, "velorin-cli: %s\n", qPrintable(url.error));
        return 2;
    }
    // Reading creates nothing: a history never written holds no products.
    if (url.kind == HistoryUrl::Kind::Sqlite && !QFileInfo::exists(url.path)) {
        std::fprintf(stderr, "velorin-cli: there is no history at %s (no product kept yet)\n",
                     qPrintable(url.path));
        return 1;
    }
    HistoryDatabase db;
    if (!db.open(url)) {
        std::fprintf(stderr, "velorin-cli: %s\n", qPrintable(db.failure().message));
        return 1;
    }
    const QVector<HistoryProduct> products = db.products(filter);
    if (db.failure().kind != HistoryFailure::Kind::None)
        return fail(QStringLiteral("the products cannot be read: %1").arg(db.failure().message));
    QByteArray out = headings().join(QLatin1Char(',')).toUtf8() + '\n';
    for (const HistoryProduct& product : products)
        out += line(product);
    if (!print(out))
        return fail(QStringLiteral("writing the products failed"));
    return 0;
}

int remove(const QString& database, QStringList args) {
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return usage("remove needs the product's name");
    const QString name = args.takeFirst();
    QString model;
    if (args.size() == 2 && args.first() == QLatin1String("--model"))
        model = args.last();
    else if (!args.isEmpty())
        return usage("unknown option");
    HistoryStore store;
    if (const int status = openProducts(store, database))
        return status;
    const HistoryCloser closer{store};
    std::optional<HistoryProduct> product;
    if (!model.isEmpty()) {
        product = findProduct(store, model, name);
    } else {
        // The name alone must name one product.
        QStringList models;
        for (const HistoryProduct& p : store.products(ProductFilter{name, {}, false})) {
            if (p.name != name.trimmed())
                continue;
            models << p.model;
            product = p;
        }
        if (models.size() > 1)
            return fail(QStringLiteral("several products are named %1 (%2): give --model")
                            .arg(name, models.join(QLatin1String(", "))));
    }
    if (!product)
        return fail(QStringLiteral("there is no product %1").arg(name));
    const ProductOutcome retired = store.retireProduct(product->id);
    if (!retired.done())
        return fail(retired.message);
    std::fprintf(stderr, "velorin-cli products: %s (%s) retired\n", qPrintable(product->name),
                 qPrintable(product->model));
    waitForLab(store);
    return 0;
}

} // namespace

std::optional<HistoryProduct> findProduct(HistoryStore& store, const QString& model,
                                          const QString& name) {
    if (std::optional<HistoryProduct> local = store.productNamed(model, name))
        return local;
    if (!store.hasLab())
        return std::nullopt;
    // Not fetched from the lab database yet: read there, and kept here as the copy keeps it.
    HistoryDatabase lab;
    if (!lab.open(store.labUrl(), 5000, 3))
        return std::nullopt;
    const std::optional<HistoryProduct> shared = lab.productNamed(model, name.trimmed());
    if (!shared || !store.adoptLabProduct(*shared).done())
        return shared;
    return store.product(shared->id);
}

int runProducts(const QString& simulateModel, const QString& database, const QStringList& args) {
    if (args.isEmpty())
        return usage("add, list or remove?");
    const QString command = args.first();
    if (command == QLatin1String("add"))
        return add(simulateModel, database, args.mid(1));
    if (command == QLatin1String("list"))
        return list(database, args.mid(1));
    if (command == QLatin1String("remove"))
        return remove(database, args.mid(1));
    return usage("add, list or remove?");
}
