#pragma once

#include "devicewatcher.h"

#include <QAbstractNativeEventFilter>

#include <vector>

// Device-change messages of the main window for the USB device, disk, HID and network adapter
// interface classes. Built on Windows only.
class WinDeviceWatcher : public DeviceWatcher, public QAbstractNativeEventFilter {
    Q_OBJECT
  public:
    WinDeviceWatcher();
    ~WinDeviceWatcher() override;

    bool start(QWidget* window) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    void* window_ = nullptr;           // HWND
    std::vector<void*> registrations_; // HDEVNOTIFY
};
