#pragma once

#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

// One row of the model table shipped beside the program ("meterno").
struct ModelRow {
    uint32_t meterNo = 0;
    QString model;
    int uiIndex = 0; // 0, 3: haze and transmittance meters; 1, 2: colorimeters
};

// The model table: groups Device1, Device2, ... read in order until one has no MeterNo.
class ModelTable {
  public:
    static ModelTable load(const QString& path);
    // The table beside the executable (falls back to the current directory).
    static ModelTable loadDefault();

    std::optional<ModelRow> find(uint32_t meterNo) const;
    const QVector<ModelRow>& rows() const { return rows_; }

  private:
    QVector<ModelRow> rows_;
};

// Instrument families by model name and software version (hundredths).
namespace models {
// Old layout: KV620/KV650 below version 300, KV630/KV660 below 400. These also have no
// display mode and use the legacy measurement command.
bool usesOldLayout(const QString& model, int softwareVersion);
// Early haze-meter firmware reads the result of the current display mode instead of the full
// colour measurement block.
bool usesModeResultCommand(const QString& model, int softwareVersion);
} // namespace models
