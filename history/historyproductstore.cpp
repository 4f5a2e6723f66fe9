// The store's products: each change written at once in its own transaction, checked against the
// products stored, and queued for the lab database.
#include "historystore.h"

#include "labsync.h"

namespace history {

namespace {

// Strictly after the version it replaces, so the newer edit is always the later one here.
QDateTime changedNow(const QDateTime& previous) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return previous.isValid() && now <= previous ? previous.addMSecs(1) : now;
}

ProductOutcome refused(const QString& message) {
    return {ProductOutcome::Kind::Refused, message, {}};
}

} // namespace

ProductOutcome HistoryStore::writeProduct(const ProductStep& step) {
    const auto failed = [this] {
        return ProductOutcome{ProductOutcome::Kind::Failed,
                              tr("The product could not be stored: %1").arg(message_),
                              {}};
    };
    if (localPath_.isEmpty()) {
        setState(State::Off, tr("No history database is open."));
        return failed();
    }
    // Changes kept while the file failed go first, so the file has them in their order.
    if (!pending_.empty() && !flush())
        return failed();
    const auto failedNow = [this, &failed] {
        db_.rollback();
        setState(State::Off, db_.failure().message);
        db_.close();
        return failed();
    };
    if (!db_.isOpen() && !openDatabase()) {
        setState(State::Off, db_.failure().message);
        db_.close();
        return failed();
    }
    db_.clearFailure();
    if (!db_.begin())
        return failedNow();
    const ProductOutcome outcome = step(db_, hasLab());
    if (outcome.kind == ProductOutcome::Kind::Failed ||
        (outcome.done() && db_.failure().kind != HistoryFailure::Kind::None))
        return failedNow();
    if (!outcome.done()) {
        db_.rollback();
        return outcome;
    }
    if (!db_.commit())
        return failedNow();
    setState(State::On, QString());
    checkpoint_.start();
    wakeLab();
    emit productsChanged();
    return outcome;
}

ProductOutcome HistoryStore::addProduct(HistoryProduct product) {
    product.name = product.name.trimmed();
    if (product.name.isEmpty())
        return refused(tr("A product needs a name."));
    if (product.id.isEmpty())
        product.id = newId();
    product.changedAt = changedNow({});
    product.station = station_;
    product.basedOn = {};
    product.retired = false;
    return writeProduct([this, product](HistoryDatabase& db, bool toLab) {
        if (db.productNamed(product.model, product.name))
            return refused(tr("A product named %1 already exists for the %2.")
                               .arg(product.name, product.model));
        if (db.failure().kind != HistoryFailure::Kind::None || !db.writeProduct(product) ||
            (toLab && !db.enqueueProduct(product.id)))
            return ProductOutcome{ProductOutcome::Kind::Failed, {}, {}};
        return ProductOutcome{ProductOutcome::Kind::Done, {}, product};
    });
}

ProductOutcome HistoryStore::editProduct(
    const QString& id,
    const std::function<std::optional<ProductOutcome>(HistoryDatabase&, HistoryProduct&)>& edit) {
    return writeProduct([this, id, edit](HistoryDatabase& db, bool toLab) {
        std::optional<HistoryProduct> product = db.product(id);
        if (!product)
            return db.failure().kind != HistoryFailure::Kind::None
                       ? ProductOutcome{ProductOutcome::Kind::Failed, {}, {}}
                       : ProductOutcome{ProductOutcome::Kind::NotFound,
                                        tr("The product is no longer in the history."),
                                        {}};
        if (const std::optional<ProductOutcome> refusal = edit(db, *product))
            return *refusal;
        // Edits made before the next copy all start from the version the lab had.
        product->basedOn = product->labChangedAt;
        product->changedAt = changedNow(product->changedAt);
        product->station = station_;
        if (!db.writeProduct(*product) || (toLab && !db.enqueueProduct(id)))
            return ProductOutcome{ProductOutcome::Kind::Failed, {}, {}};
        return ProductOutcome{ProductOutcome::Kind::Done, {}, *product};
    });
}

ProductOutcome HistoryStore::renameProduct(const QString& id, const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return refused(tr("A product needs a name."));
    return editProduct(id,
                       [this, trimmed](HistoryDatabase& db,
                                       HistoryProduct& product) -> std::optional<ProductOutcome> {
                           if (!product.retired &&
                               db.productNamed(product.model, trimmed, product.id))
                               return refused(tr("A product named %1 already exists for the %2.")
                                                  .arg(trimmed, product.model));
                           product.name = trimmed;
                           return std::nullopt;
                       });
}

ProductOutcome HistoryStore::setProductSettings(const QString& id,
                                                std::optional<double> hazeTolerance,
                                                std::optional<double> tTolerance,
                                                std::optional<double> threshold,
                                                std::optional<int> formula) {
    return editProduct(id, [=](HistoryDatabase&, HistoryProduct& product) {
        product.hazeTolerance = hazeTolerance;
        product.tTolerance = tTolerance;
        product.deltaEThreshold = threshold;
        product.formula = formula;
        return std::optional<ProductOutcome>();
    });
}

ProductOutcome HistoryStore::retireProduct(const QString& id) {
    return editProduct(id, [](HistoryDatabase&, HistoryProduct& product) {
        product.retired = true;
        return std::optional<ProductOutcome>();
    });
}

QVector<HistoryProduct> HistoryStore::products(const ProductFilter& filter) {
    if (localPath_.isEmpty() || (!db_.isOpen() && !openDatabase()))
        return {};
    return db_.products(filter);
}

std::optional<HistoryProduct> HistoryStore::product(const QString& id) {
    if (localPath_.isEmpty() || (!db_.isOpen() && !openDatabase()))
        return std::nullopt;
    return db_.product(id);
}

std::optional<HistoryProduct> HistoryStore::productNamed(const QString& model,
                                                         const QString& name) {
    if (localPath_.isEmpty() || (!db_.isOpen() && !openDatabase()))
        return std::nullopt;
    return db_.productNamed(model, name.trimmed());
}

ProductOutcome HistoryStore::adoptLabProduct(const HistoryProduct& product) {
    return writeProduct([product](HistoryDatabase& db, bool) {
        const std::optional<HistoryProduct> mine = db.product(product.id);
        if (db.failure().kind != HistoryFailure::Kind::None ||
            (!mine && !db.takeLabProduct(product, std::nullopt)))
            return ProductOutcome{ProductOutcome::Kind::Failed, {}, {}};
        return ProductOutcome{ProductOutcome::Kind::Done, {}, mine.value_or(product)};
    });
}

void HistoryStore::pullProducts() {
    if (sync_)
        sync_->requestPull();
}

bool HistoryStore::setProductInUse(const QString& id) {
    return apply([id](HistoryDatabase& db, bool) {
        return db.setLocalState(QStringLiteral("product_in_use"), id);
    });
}

bool HistoryStore::setLot(const QString& lot) {
    return apply(
        [lot](HistoryDatabase& db, bool) { return db.setLocalState(QStringLiteral("lot"), lot); });
}

} // namespace history
