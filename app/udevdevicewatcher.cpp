#include "udevdevicewatcher.h"

#include <QDebug>
#include <QSocketNotifier>

#include <cstring>
#include <libudev.h>

UdevDeviceWatcher::UdevDeviceWatcher() = default;

UdevDeviceWatcher::~UdevDeviceWatcher() {
    delete notifier_;
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
}

bool UdevDeviceWatcher::start(QWidget*) {
    if (monitor_)
        return true;
    udev_ = udev_new();
    if (!udev_)
        return false;
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (!monitor_)
        return false;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
        return false;
    }
    notifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &UdevDeviceWatcher::readEvents);
    return true;
}

void UdevDeviceWatcher::readEvents() {
    // The monitor's socket does not block: take every event that is waiting.
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        qDebug() << "udev" << action << (node ? node : "");
        if (action && std::strcmp(action, "add") == 0)
            emit deviceArrived();
        else if (action && std::strcmp(action, "remove") == 0)
            emit deviceRemoved();
        udev_device_unref(device);
    }
}
