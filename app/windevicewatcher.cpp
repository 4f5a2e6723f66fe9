#include "windevicewatcher.h"

#include <QCoreApplication>
#include <QDebug>
#include <QWidget>

// dbt.h uses the types windows.h declares.
#include <windows.h>

#include <dbt.h>

namespace {

// USB device, disk, HID, network adapter.
const GUID kInterfaceClasses[] = {
    {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}},
    {0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}},
    {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}},
    {0xAD498944, 0x762F, 0x11D0, {0x8D, 0xCB, 0x00, 0xC0, 0x4F, 0xC3, 0x35, 0x8C}},
};

} // namespace

WinDeviceWatcher::WinDeviceWatcher() = default;

WinDeviceWatcher::~WinDeviceWatcher() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    for (void* registration : registrations_)
        UnregisterDeviceNotification(static_cast<HDEVNOTIFY>(registration));
}

bool WinDeviceWatcher::start(QWidget* window) {
    if (!window)
        return false;
    window_ = reinterpret_cast<void*>(window->winId());
    for (const GUID& interfaceClass : kInterfaceClasses) {
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof(filter);
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = interfaceClass;
        HDEVNOTIFY registration = RegisterDeviceNotificationW(static_cast<HWND>(window_), &filter,
                                                              DEVICE_NOTIFY_WINDOW_HANDLE);
        if (registration)
            registrations_.push_back(registration);
        else
            qDebug() << "注册失败";
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    return !registrations_.empty();
}

bool WinDeviceWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "windows_generic_MSG")
        return false;
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_DEVICECHANGE || msg->hwnd != static_cast<HWND>(window_))
        return false;
    switch (msg->wParam) {
    case DBT_DEVICEARRIVAL:
        emit deviceArrived();
        break;
    case DBT_DEVICEREMOVECOMPLETE:
        emit deviceRemoved();
        break;
    case DBT_DEVICETYPESPECIFIC:
        qDebug() << "收到事件 "
                 << "DBT_DEVICETYPESPECIFIC ";
        break;
    default:
        break;
    }
    // The message goes on to the default handling.
    return false;
}
