#pragma once

#include "spectralrecord.h"

#include <QDateTime>
#include <QDialog>
#include <QVector>

#include <functional>
#include <memory>

class ChartExport;
class FramePort;
class MyThread;
class PauseLock;
class Prompter;
class QCheckBox;
class QListWidget;
class QSplitter;
class QTableView;
class RowButtonDelegate;

namespace Ui {
class MeterPageFor510;
}

// The spectral page: measures spectra, lists them with their curves drawn below, imports the
// spectra stored in the instrument and exports the list to a workbook.
class MeterPageFor510 : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kMaxMeasured = 1000;
    static constexpr int kCurveColumn = 33;
    static constexpr int kDeleteColumn = 34;

    // worker may be null (no instrument): then no lock is taken. port is the program's frame port.
    MeterPageFor510(MyThread* worker, FramePort* port, int uiIndex, QWidget* parent = nullptr);
    ~MeterPageFor510() override;

    void setPrompter(Prompter* prompter);
    void setClock(std::function<QDateTime()> clock);

    void addRecordRow(const SpectralRecord& record, const QString& name);
    // Where spectra go before the list shows them (the measurement history): each measurement
    // alone, an import's spectra together. None by default.
    using Recorder =
        std::function<void(const QVector<SpectralRecord>& records, const QStringList& names)>;
    void setRecorder(Recorder recorder) { recorder_ = std::move(recorder); }
    // Where a rename or delete of a listed spectrum goes (the history), by the record's id.
    void setRenamer(std::function<void(const QString& id, const QString& name)> renamer) {
        renamer_ = std::move(renamer);
    }
    void setRemover(std::function<void(const QString& id)> remover) {
        remover_ = std::move(remover);
    }
    void setActionButtonsEnabled(bool enabled);

    const QVector<SpectralRecord>& records() const { return records_; }
    // The list position of the record whose curve is drawn highlighted (the selected row's),
    // or -1.
    int highlightedRecord() const;
    // The record rows' name, as the list shows it.
    QString recordName(int index) const;
    int uiIndex() const { return uiIndex_; }
    int nameCounter() const { return nameCounter_; }
    // "Save as PNG…" and "Copy" of the chart's context menu.
    ChartExport* chartExport() const { return chartExport_; }
    // Beside the chart: the name and colour of each curve drawn; choosing one highlights it.
    QListWidget* legend() const { return legend_; }

  public slots:
    void slot_cellDoubleClicked(int row, int column);
    void slot_updateChart(bool ticked);
    // Deletes the record of a row whose "Delete" button was pressed.
    void slot_updateTable(int row);
    void on_pushButton_spectralMeasurement_clicked();
    void on_pushButton_spectralHistory_clicked();
    bool on_pushButton_exportExcel_clicked();
    void on_pushButton_clearData_clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildCaptionRow();
    // The whole dialog, frame included, on the screen it opens on.
    void fitToScreen();
    // Keeps the number and name columns in view while the table scrolls sideways.
    void freezeNameColumns();
    void placeFrozenColumns();
    void placeAllCurvesBox();
    // The legend lists the records whose curves are drawn, in list order.
    void rebuildLegend();
    void appendLegendItem(int index);
    void placeLegend();
    // Selects the legend's entry of the highlighted curve, if it has one.
    void showHighlightInLegend();
    void highlightRecord(int index);
    // Empties the list without asking.
    void clearList();
    // Writes the list to a workbook the user names, at `stored`; the list stays as it is. False
    // when nothing was written; `whole` says whether every row was (the user may stop part way).
    bool exportList(QString* stored, bool* whole = nullptr);
    void reportStored(const QString& path);
    QRectF chartArea() const;
    int rowOf(const QWidget* cellWidget) const;
    QCheckBox* curveBox(int row) const;
    void information(const QString& title, const QString& text);

    Ui::MeterPageFor510* ui;
    std::shared_ptr<PauseLock> pauseLock_;
    FramePort* port_;
    int uiIndex_;
    QVector<SpectralRecord> records_;
    Recorder recorder_;
    std::function<void(const QString&, const QString&)> renamer_;
    std::function<void(const QString&)> remover_;
    int nameCounter_ = 1;
    bool bulk_ = false; // adding many rows: repaint once at the end
    RowButtonDelegate* deleteButtons_;
    QSplitter* splitter_;
    QTableView* frozen_ = nullptr;
    QCheckBox* allCurves_ = nullptr;
    QListWidget* legend_ = nullptr;
    bool syncingLegend_ = false;
    Prompter* prompter_;
    ChartExport* chartExport_ = nullptr;
    std::function<QDateTime()> clock_;
};
