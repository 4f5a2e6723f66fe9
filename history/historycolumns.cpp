#include "historycolumns.h"

namespace history::columns {

namespace {

const char* const kComparisonColumns[] = {"id",
                                          "station",
                                          "model",
                                          "serial",
                                          "name",
                                          "measured_at",
                                          "source",
                                          "layout",
                                          "display_mode",
                                          "std_haze",
                                          "std_t",
                                          "std_l",
                                          "std_a",
                                          "std_b",
                                          "std_c",
                                          "std_h",
                                          "std_tristimulus_y",
                                          "std_x",
                                          "std_y",
                                          "sam_haze",
                                          "sam_t",
                                          "sam_l",
                                          "sam_a",
                                          "sam_b",
                                          "sam_c",
                                          "sam_h",
                                          "sam_tristimulus_y",
                                          "sam_x",
                                          "sam_y",
                                          "haze_tolerance",
                                          "t_tolerance",
                                          "delta_e_threshold",
                                          "formula",
                                          "delta_haze",
                                          "delta_t",
                                          "delta_l",
                                          "delta_a",
                                          "delta_b",
                                          "delta_e",
                                          "verdict",
                                          "deleted",
                                          "readings",
                                          "spread",
                                          "instrument_kind",
                                          "product_id",
                                          "lot"};
constexpr int kQuantityCount = 10;
constexpr int kFirstStandard = 9;
constexpr int kFirstSample = kFirstStandard + kQuantityCount;
constexpr int kFirstTolerance = kFirstSample + kQuantityCount;

const char* const kJudgedColumns[] = {"haze_tolerance", "t_tolerance", "delta_e_threshold",
                                      "formula",        "delta_haze",  "delta_t",
                                      "delta_l",        "delta_a",     "delta_b",
                                      "delta_e",        "verdict",     "instrument_kind"};

} // namespace

const QStringList& comparisonNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const char* name : kComparisonColumns)
            list << QLatin1String(name);
        return list;
    }();
    return names;
}

QString comparisonList() {
    return comparisonNames().join(QLatin1String(", "));
}

QString spectrumList() {
    QStringList names{QStringLiteral("id"),    QStringLiteral("station"),
                      QStringLiteral("model"), QStringLiteral("serial"),
                      QStringLiteral("name"),  QStringLiteral("measured_at"),
                      QStringLiteral("kind")};
    for (int i = 0; i < HistorySpectrum::kPoints; ++i)
        names << QStringLiteral("v%1").arg(400 + 10 * i);
    names << QStringLiteral("deleted");
    return names.join(QLatin1String(", "));
}

QString placeholders(int count) {
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1String(", "));
}

QString quantityColumns(const QString& prefix, const QString& type) {
    const QStringList names{QStringLiteral("haze"), QStringLiteral("t"),
                            QStringLiteral("l"),    QStringLiteral("a"),
                            QStringLiteral("b"),    QStringLiteral("c"),
                            QStringLiteral("h"),    QStringLiteral("tristimulus_y"),
                            QStringLiteral("x"),    QStringLiteral("y")};
    QStringList list;
    for (const QString& name : names)
        list << prefix + name + QLatin1Char(' ') + type;
    return list.join(QLatin1String(", "));
}

QVariant number(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

QVariant integer(const std::optional<int>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<int>());
}

std::optional<double> optionalNumber(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

QString verdictText(bool pass) {
    return pass ? QStringLiteral("PASS") : QStringLiteral("NG");
}

void appendQuantities(QVariantList& values, const Quantities& q) {
    for (const auto* member : {&q.haze, &q.t, &q.l, &q.a, &q.b, &q.c, &q.h, &q.bigY, &q.x, &q.y})
        values << number(*member);
}

Quantities quantitiesFrom(const QSqlQuery& query, int first) {
    Quantities q;
    int i = first;
    for (auto* member : {&q.haze, &q.t, &q.l, &q.a, &q.b, &q.c, &q.h, &q.bigY, &q.x, &q.y})
        *member = optionalNumber(query.value(i++));
    return q;
}

QVariantList comparisonValues(const HistoryComparison& row) {
    QVariantList values{
        row.id,         text(row.station),      text(row.model),        text(row.serial),
        text(row.name), isoUtc(row.measuredAt), sourceName(row.source), layoutName(row.layout),
        row.displayMode};
    appendQuantities(values, row.standard);
    appendQuantities(values, row.sample);
    values << number(row.hazeTolerance) << number(row.tTolerance) << number(row.deltaEThreshold)
           << integer(row.formula) << number(row.deltaHaze) << number(row.deltaT)
           << number(row.deltaL) << number(row.deltaA) << number(row.deltaB) << number(row.deltaE)
           << verdictText(row.pass) << int(row.deleted) << row.readings << number(row.spread)
           << integer(row.instrumentKind)
           << (row.productId.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                                       : QVariant(row.productId))
           << text(row.lot);
    return values;
}

HistoryComparison comparisonFrom(const QSqlQuery& q, int f) {
    HistoryComparison row;
    row.id = q.value(f + 0).toString();
    row.station = q.value(f + 1).toString();
    row.model = q.value(f + 2).toString();
    row.serial = q.value(f + 3).toString();
    row.name = q.value(f + 4).toString();
    row.measuredAt = fromIsoUtc(q.value(f + 5).toString());
    row.source = sourceFromName(q.value(f + 6).toString()).value_or(Source::Live);
    row.layout = layoutFromName(q.value(f + 7).toString()).value_or(Layout::New);
    row.displayMode = q.value(f + 8).toInt();
    row.standard = quantitiesFrom(q, f + kFirstStandard);
    row.sample = quantitiesFrom(q, f + kFirstSample);
    int i = f + kFirstTolerance;
    row.hazeTolerance = optionalNumber(q.value(i++));
    row.tTolerance = optionalNumber(q.value(i++));
    row.deltaEThreshold = optionalNumber(q.value(i++));
    const QVariant formula = q.value(i++);
    if (!formula.isNull())
        row.formula = formula.toInt();
    for (auto* delta :
         {&row.deltaHaze, &row.deltaT, &row.deltaL, &row.deltaA, &row.deltaB, &row.deltaE})
        *delta = optionalNumber(q.value(i++));
    row.pass = q.value(i++).toString() == QLatin1String("PASS");
    row.deleted = q.value(i++).toInt() != 0;
    row.readings = q.value(i++).toInt();
    row.spread = optionalNumber(q.value(i++));
    const QVariant kind = q.value(i++);
    if (!kind.isNull())
        row.instrumentKind = kind.toInt();
    row.productId = q.value(i++).toString();
    row.lot = q.value(i++).toString();
    return row;
}

QVariantList spectrumValues(const HistorySpectrum& row) {
    QVariantList values{
        row.id,         text(row.station),      text(row.model),           text(row.serial),
        text(row.name), isoUtc(row.measuredAt), spectrumKindName(row.kind)};
    for (double v : row.values)
        values << v;
    values << int(row.deleted);
    return values;
}

HistorySpectrum spectrumFrom(const QSqlQuery& query) {
    HistorySpectrum row;
    row.id = query.value(0).toString();
    row.station = query.value(1).toString();
    row.model = query.value(2).toString();
    row.serial = query.value(3).toString();
    row.name = query.value(4).toString();
    row.measuredAt = fromIsoUtc(query.value(5).toString());
    row.kind =
        spectrumKindFromName(query.value(6).toString()).value_or(SpectrumKind::Transmittance);
    for (int i = 0; i < HistorySpectrum::kPoints; ++i)
        row.values[std::size_t(i)] = query.value(7 + i).toDouble();
    row.deleted = query.value(7 + HistorySpectrum::kPoints).toInt() != 0;
    return row;
}

QString productList() {
    static const QString list = [] {
        QStringList names{QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("model"),
                          QStringLiteral("layout"), QStringLiteral("display_mode")};
        for (const char* name : kComparisonColumns)
            if (QByteArray(name).startsWith("std_"))
                names << QLatin1String(name);
        names << QStringLiteral("haze_tolerance") << QStringLiteral("t_tolerance")
              << QStringLiteral("delta_e_threshold") << QStringLiteral("formula")
              << QStringLiteral("instrument_kind") << QStringLiteral("retired")
              << QStringLiteral("changed_at") << QStringLiteral("station")
              << QStringLiteral("based_on") << QStringLiteral("lab_changed_at");
        return names.join(QLatin1String(", "));
    }();
    return list;
}

int productSharedCount() {
    return 24; // every column but lab_changed_at
}

namespace {
QVariant time(const QDateTime& value) {
    return value.isValid() ? QVariant(isoUtc(value)) : QVariant(QMetaType::fromType<QString>());
}
QDateTime timeFrom(const QVariant& value) {
    return value.isNull() ? QDateTime() : fromIsoUtc(value.toString());
}
} // namespace

QVariantList productValues(const HistoryProduct& row) {
    QVariantList values{row.id, text(row.name), text(row.model), layoutName(row.layout),
                        row.displayMode};
    appendQuantities(values, row.standard);
    values << number(row.hazeTolerance) << number(row.tTolerance) << number(row.deltaEThreshold)
           << integer(row.formula) << integer(row.instrumentKind) << int(row.retired)
           << isoUtc(row.changedAt) << text(row.station) << time(row.basedOn);
    return values;
}

HistoryProduct productFrom(const QSqlQuery& q) {
    HistoryProduct row;
    row.id = q.value(0).toString();
    row.name = q.value(1).toString();
    row.model = q.value(2).toString();
    row.layout = layoutFromName(q.value(3).toString()).value_or(Layout::New);
    row.displayMode = q.value(4).toInt();
    row.standard = quantitiesFrom(q, 5);
    int i = 15;
    row.hazeTolerance = optionalNumber(q.value(i++));
    row.tTolerance = optionalNumber(q.value(i++));
    row.deltaEThreshold = optionalNumber(q.value(i++));
    const QVariant formula = q.value(i++);
    if (!formula.isNull())
        row.formula = formula.toInt();
    const QVariant kind = q.value(i++);
    if (!kind.isNull())
        row.instrumentKind = kind.toInt();
    row.retired = q.value(i++).toInt() != 0;
    row.changedAt = fromIsoUtc(q.value(i++).toString());
    row.station = q.value(i++).toString();
    row.basedOn = timeFrom(q.value(i++));
    row.labChangedAt = timeFrom(q.value(i++));
    return row;
}

const QStringList& judgedNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const char* name : kJudgedColumns)
            list << QLatin1String(name);
        return list;
    }();
    return names;
}

QVariantList judgedValues(const HistoryComparison& row) {
    return {number(row.hazeTolerance), number(row.tTolerance), number(row.deltaEThreshold),
            integer(row.formula),      number(row.deltaHaze),  number(row.deltaT),
            number(row.deltaL),        number(row.deltaA),     number(row.deltaB),
            number(row.deltaE),        verdictText(row.pass),  integer(row.instrumentKind)};
}

} // namespace history::columns
