#pragma once

#include "devicewatcher.h"

#include <memory>

namespace sim {
class VirtualInstrument;
}

// Plugging and unplugging the virtual instrument, delivered like the system's notifications:
// later, on the watcher's thread.
class SimDeviceWatcher : public DeviceWatcher {
    Q_OBJECT
  public:
    explicit SimDeviceWatcher(std::shared_ptr<sim::VirtualInstrument> instrument);
    ~SimDeviceWatcher() override;

    bool start(QWidget* window) override;

  private:
    std::shared_ptr<sim::VirtualInstrument> instrument_;
};
