#pragma once

#include <QWidget>

#include <memory>

namespace sim {
class VirtualInstrument;
struct Measurement;
} // namespace sim

namespace Ui {
class SimulatorWindow;
}

// The keys of the virtual instrument: measure (the instrument sends the result on its own),
// pull the cable and plug it in again, and fill the record memory.
class SimulatorWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SimulatorWindow(std::shared_ptr<sim::VirtualInstrument> instrument,
                             QWidget* parent = nullptr);
    ~SimulatorWindow() override;

  public slots:
    void on_pushButton_measure_clicked();
    void on_pushButton_plug_clicked();
    void on_pushButton_fillRecords_clicked();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void relabel();

    Ui::SimulatorWindow* ui;
    std::shared_ptr<sim::VirtualInstrument> instrument_;
    // The sample the instrument sees; each measurement varies it a little.
    double haze_, transmittance_, lStar_, aStar_, bStar_;
};
