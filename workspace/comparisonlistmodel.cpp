#include "comparisonlistmodel.h"

#include "colour.h"
#include "comparisonrows.h"
#include "quantities.h"

#include <QBrush>
#include <QCoreApplication>
#include <QHash>

using namespace comparisonrows;

namespace {

// How an averaged row came about: the count and how far the sample's readings spread.
QString averageTip(const ComparisonRecord& r) {
    const bool old = r.settings.oldLayout;
    const int index = quantities::mainIndex(r.settings.displayMode, old);
    QString name = ComparisonListModel::tr("Haze");
    if (old || index == 2)
        name = QStringLiteral("L*");
    else if (index == 8)
        name = QStringLiteral("Y");
    else if (index == 1)
        name = ComparisonListModel::tr("T");
    const QString spread = old ? quantities::oldValueText(index, r.spread)
                               : quantities::valueText(index, std::max(r.spread, 0));
    QString tip = ComparisonListModel::tr("Mean of %1 readings").arg(r.readings);
    if (r.spread >= 0)
        tip += QLatin1Char('\n') + ComparisonListModel::tr("Spread of %1: %2").arg(name, spread);
    return tip;
}

} // namespace

std::pair<QString, QString> ComparisonListModel::heading(Layout layout, int c) {
    const auto page = [](const char* text) {
        return QCoreApplication::translate("FirstPageFor510", text);
    };
    const auto colorimeter = [](const char* text) {
        return QCoreApplication::translate(colour::kFormulaContext, text);
    };
    const bool old = layout == Layout::Old;
    const int sample = old ? int(OldColSample) : int(ColSample);
    const int values = sample - ColStandard;
    if (c >= ColStandard && c < sample + values) {
        const int index = (c - ColStandard) % values;
        static const char* const kNames[] = {"",   "",  "L*", "a*", "b*", "L*",
                                             "C*", "h", "Y",  "x",  "y"};
        static const char* const kOldNames[] = {"L*", "a*", "b*", "C*", "h"};
        QString name = old ? QLatin1String(kOldNames[index])
                       : index == quantities::Haze
                           ? page(QT_TRANSLATE_NOOP("FirstPageFor510", "Haze"))
                       : index == quantities::T ? page(QT_TRANSLATE_NOOP("FirstPageFor510", "T"))
                                                : QLatin1String(kNames[index]);
        return {c < sample ? page(QT_TRANSLATE_NOOP("FirstPageFor510", "Standard"))
                           : page(QT_TRANSLATE_NOOP("FirstPageFor510", "Sample")),
                name};
    }
    switch (c) {
    case ColNo:
        return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "NO")), {}};
    case ColName:
        return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "Test Name")), {}};
    case ColTime:
        return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "DateTime")), {}};
    default:
        break;
    }
    if (old) {
        switch (c) {
        case OldColFormula:
            return {colorimeter(QT_TRANSLATE_NOOP("Colorimeter", "△E formula")), {}};
        case OldColThreshold:
            return {colorimeter(QT_TRANSLATE_NOOP("Colorimeter", "△E Thresholds")), {}};
        case OldColModel:
            return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "Model")), {}};
        case OldColSerial:
            return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "SN")), {}};
        case OldColDeltaE:
            return {colorimeter(QT_TRANSLATE_NOOP("Colorimeter", "△E")), {}};
        case OldColVerdict:
            return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "Pass or not")), {}};
        case OldColDelete:
            return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "Delete")), {}};
        case OldColReport:
            return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "Report")), {}};
        default:
            return {};
        }
    }
    switch (c) {
    case ColDeltaHaze:
        return {colorimeter(QT_TRANSLATE_NOOP("Colorimeter", "△Haze")), {}};
    case ColDeltaT:
        return {colorimeter(QT_TRANSLATE_NOOP("Colorimeter", "△T")), {}};
    case ColDeltaE:
        return {colorimeter(QT_TRANSLATE_NOOP("Colorimeter", "△E")), {}};
    case ColVerdict:
        return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "Pass or not")), {}};
    case ColDelete:
        return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "Delete")), {}};
    case ColReport:
        return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "Report")), {}};
    case ColHazeTolerance:
        return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "Haze Tolerance")), {}};
    case ColTTolerance:
        return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "Transmittance Tolerance")), {}};
    case ColThreshold:
        return {colorimeter(QT_TRANSLATE_NOOP("Colorimeter", "△E Thresholds")), {}};
    case ColModel:
        return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "Model")), {}};
    case ColSerial:
        return {page(QT_TRANSLATE_NOOP("FirstPageFor510", "SN")), {}};
    default:
        return {};
    }
}

QVariant ComparisonListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto [group, name] = heading(layout_, section);
    return name.isEmpty() ? group : group + QLatin1Char(' ') + name;
}

ComparisonListModel::ComparisonListModel(Layout layout, QObject* parent)
    : QAbstractTableModel(parent), layout_(layout) {}

int ComparisonListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(records_.size());
}

int ComparisonListModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return layout_ == Layout::Current ? int(ListColumns) : int(OldListColumns);
}

QVariant ComparisonListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= records_.size())
        return {};
    const ComparisonRecord& r = records_.at(index.row());
    const int column = index.column();
    const int verdictColumn = layout_ == Layout::Current ? int(ColVerdict) : int(OldColVerdict);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return layout_ == Layout::Current ? cellText(r, column) : oldCellText(r, column);
    case Qt::BackgroundRole:
        if (column == verdictColumn)
            return QBrush(colour::verdictCellColour(r.pass));
        return {};
    case Qt::ForegroundRole:
        if (column == verdictColumn)
            return QBrush(Qt::white);
        return {};
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::ToolTipRole:
        if (r.readings > 1)
            return averageTip(r);
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags ComparisonListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == ColName)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ComparisonListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != ColName)
        return false;
    return renameHandler_ ? renameHandler_(index.row(), value.toString())
                          : rename(index.row(), value.toString());
}

std::optional<ListMeaning> ComparisonListModel::meaning() const {
    if (records_.isEmpty())
        return std::nullopt;
    return ListMeaning::of(records_.first());
}

bool ComparisonListModel::rename(int row, const QString& name) {
    if (row < 0 || row >= records_.size())
        return false;
    ++revision_;
    records_[row].name = name;
    const QModelIndex cell = this->index(row, ColName);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

void ComparisonListModel::append(const QList<ComparisonRecord>& records) {
    if (records.isEmpty())
        return;
    const int first = int(records_.size());
    beginInsertRows(QModelIndex(), first, first + int(records.size()) - 1);
    records_.append(records);
    for (const ComparisonRecord& r : records)
        failCount_ += r.pass ? 0 : 1;
    endInsertRows();
    emit countersChanged();
}

bool ComparisonListModel::remove(int row) {
    if (row < 0 || row >= records_.size())
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    ++revision_;
    const ComparisonRecord gone = records_.takeAt(row);
    failCount_ -= gone.pass ? 0 : 1;
    endRemoveRows();
    emit countersChanged();
    return true;
}

void ComparisonListModel::clear() {
    if (records_.isEmpty())
        return;
    beginResetModel();
    ++revision_;
    records_.clear();
    failCount_ = 0;
    endResetModel();
    emit countersChanged();
}

void ComparisonListModel::update(const QList<ComparisonRecord>& records) {
    if (records.isEmpty())
        return;
    QHash<QUuid, const ComparisonRecord*> byId;
    byId.reserve(records.size());
    for (const ComparisonRecord& r : records)
        byId.insert(r.id, &r);
    int first = -1, last = -1;
    for (int row = 0; row < records_.size(); ++row) {
        const ComparisonRecord* changed = byId.value(records_.at(row).id);
        if (!changed)
            continue;
        failCount_ += (records_.at(row).pass ? 1 : 0) - (changed->pass ? 1 : 0);
        ++revision_;
        records_[row] = *changed;
        first = first < 0 ? row : first;
        last = row;
    }
    if (first < 0)
        return;
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
    emit countersChanged();
}
