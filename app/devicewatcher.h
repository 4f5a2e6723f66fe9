#pragma once

#include <QObject>

#include <memory>

class QWidget;

// Tells the main window that some device arrived or was removed. Whether it was the instrument
// is found out by trying to open it, or by asking the open link whether it is gone.
class DeviceWatcher : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    ~DeviceWatcher() override;

    // Starts watching. window receives the native notifications on platforms that deliver them
    // to a window. False when the system refused; the program then only finds an instrument
    // that is present at start.
    virtual bool start(QWidget* window) = 0;

    // The watcher of this platform.
    static std::unique_ptr<DeviceWatcher> createForPlatform();

  signals:
    void deviceArrived();
    void deviceRemoved();
};
