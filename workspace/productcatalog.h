#pragma once

#include "comparisonrecord.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// A product: a standard kept with the settings it is judged with, so a shift takes the standard
// and the tolerances without measuring or typing them. Numbers in the instrument's units, as a
// comparison record holds them.
struct Product {
    QString id; // UUID text; empty until stored
    QString name;
    QString model;
    // The layout, display mode, tolerances, threshold and formula in force when it was saved.
    // The formula is the instrument's own index (-1 where ΔE*ab is fixed).
    JudgingSettings settings;
    Reading standard;
    InstrumentKind kind = InstrumentKind::HazeAndColour;
    bool retired = false;
    QDateTime changedAt; // UTC
    QString station;     // where it was last changed
};

// Where products are kept (the history). Each change says why when it is refused: a name in use
// for the model, a file that cannot be written.
class ProductCatalog {
  public:
    virtual ~ProductCatalog() = default;
    // Sorted by name; `text` is looked for in the name and the model.
    virtual QList<Product> products(const QString& text, const QString& model,
                                    bool includeRetired) = 0;
    virtual std::optional<Product> product(const QString& id) = 0;
    // The product of the model by that name, not retired.
    virtual std::optional<Product> productNamed(const QString& model, const QString& name) = 0;
    // Each change returns the product as stored, or nothing with the reason in `why`.
    // A new product: id, changed time and station are filled in.
    virtual std::optional<Product> addProduct(const Product& product, QString* why) = 0;
    virtual std::optional<Product> renameProduct(const QString& id, const QString& name,
                                                 QString* why) = 0;
    // Tolerances, threshold and formula from `settings`; layout and mode stay.
    virtual std::optional<Product>
    setProductSettings(const QString& id, const JudgingSettings& settings, QString* why) = 0;
    virtual std::optional<Product> retireProduct(const QString& id, QString* why) = 0;
    // Asks for what other stations changed; it arrives later, when the catalog has any.
    virtual void fetchShared() {}
};
