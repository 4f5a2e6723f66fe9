#pragma once

#include "devicewatcher.h"

struct udev;
struct udev_monitor;
class QSocketNotifier;

// hidraw nodes appearing and disappearing, as udev announces them once its rules have run (so
// an arriving node already carries the permissions the rules give it).
class UdevDeviceWatcher : public DeviceWatcher {
    Q_OBJECT
  public:
    UdevDeviceWatcher();
    ~UdevDeviceWatcher() override;

    bool start(QWidget* window) override;

  private:
    void readEvents();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};
