#include "modeltable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

ModelTable ModelTable::load(const QString& path) {
    ModelTable table;
    if (!QFileInfo::exists(path))
        return table;
    QSettings ini(path, QSettings::IniFormat);
    for (int i = 1;; ++i) {
        ini.beginGroup(QStringLiteral("Device%1").arg(i));
        const QString meterNo = ini.value(QStringLiteral("MeterNo")).toString();
        if (meterNo.isEmpty()) {
            ini.endGroup();
            break;
        }
        ModelRow row;
        row.meterNo = meterNo.toUInt();
        row.model = ini.value(QStringLiteral("Model")).toString();
        row.uiIndex = ini.value(QStringLiteral("UIIndex")).toInt();
        table.rows_.append(row);
        ini.endGroup();
    }
    return table;
}

ModelTable ModelTable::loadDefault() {
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("meterno"));
    if (QFileInfo::exists(beside))
        return load(beside);
    // An installed program keeps its data under share/, not beside itself in bin/.
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral("../share/velorin/meterno"));
    if (QFileInfo::exists(installed))
        return load(installed);
    return load(QStringLiteral("meterno"));
}

std::optional<ModelRow> ModelTable::find(uint32_t meterNo) const {
    for (const ModelRow& row : rows_)
        if (row.meterNo == meterNo)
            return row;
    return std::nullopt;
}

namespace models {

bool usesOldLayout(const QString& model, int softwareVersion) {
    if (model == QLatin1String("KV620") || model == QLatin1String("KV650"))
        return softwareVersion < 300;
    if (model == QLatin1String("KV630") || model == QLatin1String("KV660"))
        return softwareVersion < 400;
    return false;
}

bool usesModeResultCommand(const QString& model, int softwareVersion) {
    return softwareVersion <= 105 &&
           (model == QLatin1String("KV510") || model == QLatin1String("KV670"));
}

} // namespace models
