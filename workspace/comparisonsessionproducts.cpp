// The session's products: the standard on show saved with the settings in force, and a product's
// settings and standard taken again without measuring or typing them.
#include "comparisonsession.h"

#include <QCoreApplication>

namespace {

QString pageText(const char* source) {
    return QCoreApplication::translate("FirstPageFor510", source);
}

QString parameterText(const char* source) {
    return QCoreApplication::translate("setEParameterPageFor670", source);
}

// Haze and transmittance meters take the tolerance block; colorimeters and the old layout the
// dE parameter.
bool usesToleranceBlock(const InstrumentProfile& profile) {
    return !profile.oldLayout && !profile.parameterPage;
}

// The product's kind decides as the profile does: colorimeters and the old layout take the
// dE parameter, whose formula a fixed-formula colorimeter does not offer.
bool takesToleranceBlock(const Product& product) {
    return !product.settings.oldLayout && !isColorimeter(product.kind);
}

} // namespace

SessionResult ComparisonSession::productSettingsProblem(const Product& product) {
    const JudgingSettings& s = product.settings;
    const auto within = [](int value, int low, int high) { return value >= low && value <= high; };
    if (takesToleranceBlock(product)) {
        const QString title = pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "information"));
        if (!within(s.hazeTolerance, 0, 10000))
            return SessionProblem{
                title, pageText(QT_TRANSLATE_NOOP("FirstPageFor510",
                                                  "Haze Tolerance must between 0-100!"))};
        if (!within(s.tTolerance, 0, 10000))
            return SessionProblem{
                title, pageText(QT_TRANSLATE_NOOP("FirstPageFor510",
                                                  "Transmittance  Tolerance must between 0-100!"))};
        if (!within(s.threshold, 1, 500))
            return SessionProblem{
                title,
                pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Thresholds must between 0.1-50!"))};
        return {};
    }
    const int formulas = s.oldLayout ? 6 : 7;
    if (product.kind != InstrumentKind::FixedColorimeter && !within(s.formula, 0, formulas - 1))
        return SessionProblem{tr("Products"),
                              tr("Formula %1 is not one this instrument offers.").arg(s.formula)};
    if (!within(s.threshold, 1, 500))
        return SessionProblem{
            parameterText(QT_TRANSLATE_NOOP("setEParameterPageFor670", "information")),
            parameterText(
                QT_TRANSLATE_NOOP("setEParameterPageFor670", "Thresholds must between 0.1—50!"))};
    return {};
}

SessionResult ComparisonSession::saveProduct(const QString& name, Product* saved) {
    const QString title = tr("Products");
    if (!catalog_)
        return SessionProblem{title, tr("Products are kept in the history, which is not open.")};
    if (!standard_)
        return SessionProblem{title,
                              tr("There is no standard to save: measure the standard first.")};
    if (!identity_.modelKnown || !meaningInForce())
        return SessionProblem{title, tr("The instrument has not been identified yet.")};
    Product product;
    product.name = name.trimmed();
    product.model = modelName();
    product.settings = judgingSettings();
    product.settings.displayMode = profile_.oldLayout ? 0 : displayMode_;
    product.standard = *standard_;
    product.kind = kind();
    const JudgingSettings& s = product.settings;
    const bool unread = usesToleranceBlock(profile_)
                            ? s.hazeTolerance < 0 || s.tTolerance < 0 || s.threshold < 0
                            : s.threshold < 0 || (profile_.formulaShown && s.formula < 0);
    if (unread)
        return SessionProblem{title, tr("The instrument's settings have not been read yet; read "
                                        "them before saving a product.")};
    if (const SessionResult r = productSettingsProblem(product))
        return r;
    QString why;
    const std::optional<Product> stored = catalog_->addProduct(product, &why);
    if (!stored)
        return SessionProblem{title, why};
    productInUse_ = stored;
    emit productInUseChanged();
    if (saved)
        *saved = *stored;
    return {};
}

SessionResult ComparisonSession::productFits(const Product& product) const {
    const QString title = tr("Products");
    if (product.retired)
        return SessionProblem{title, tr("Product %1 is retired.").arg(product.name)};
    if (!identity_.modelKnown || product.model != identity_.model)
        return SessionProblem{title, tr("Product %1 was saved for the %2; this instrument is a %3.")
                                         .arg(product.name, product.model, modelName())};
    if (product.settings.oldLayout != profile_.oldLayout)
        return SessionProblem{title, tr("Product %1 was saved with the record layout of other "
                                        "firmware; this instrument cannot take it.")
                                         .arg(product.name)};
    if (!profile_.oldLayout && !profile_.suits(product.settings.displayMode))
        return SessionProblem{title,
                              tr("This instrument cannot show display mode %1 of product %2.")
                                  .arg(product.settings.displayMode)
                                  .arg(product.name)};
    return productSettingsProblem(product);
}

SessionResult ComparisonSession::writeProductSettings(const JudgingSettings& s, bool& written) {
    written = false;
    if (usesToleranceBlock(profile_)) {
        const SessionResult r = setTolerance(s.hazeTolerance, s.tTolerance, s.threshold);
        written = !r;
        return r;
    }
    // As the dE parameter dialog writes them; the page reads the parameter back, then
    // re-judges.
    if (const SessionResult r = profile_.formulaShown ? setParameter(s.formula, s.threshold)
                                                      : setThresholdOnly(s.threshold))
        return r;
    written = true;
    if (const SessionResult r = readParameter())
        return r;
    rejudge();
    return {};
}

SessionResult ComparisonSession::useProduct(const Product& product) {
    if (const SessionResult r = modeUnknown())
        return r;
    if (const SessionResult r = productFits(product))
        return r;
    const std::optional<Product> previous = productInUse_;
    // Settings written from here re-judge this product's rows, never another's.
    productInUse_ = product;
    bool written = false;
    SessionResult r = writeProductSettings(product.settings, written);
    if (!r && !profile_.oldLayout && product.settings.displayMode != displayMode_)
        r = setDisplayMode(product.settings.displayMode);
    if (r) {
        // Nothing written: the product in use stays; otherwise none is, as the instrument
        // holds the settings of neither.
        productInUse_ = written ? std::nullopt : previous;
        if (previous.has_value() != productInUse_.has_value() ||
            (previous && previous->id != productInUse_->id))
            emit productInUseChanged();
        return r;
    }
    productInUse_ = product;
    standard_ = product.standard;
    sample_.reset();
    collecting_.clear();
    nextTarget_ = 2;
    emit productInUseChanged();
    emit standardChanged();
    return {};
}

void ComparisonSession::resumeProduct(const Product& product) {
    if (!standard_)
        return;
    productInUse_ = product;
    emit productInUseChanged();
}

void ComparisonSession::setLot(const QString& lot) {
    const QString trimmed = lot.trimmed();
    if (trimmed == lot_)
        return;
    lot_ = trimmed;
    emit lotChanged(lot_);
}
