#include "devicewatcher.h"

#if defined(Q_OS_LINUX)
#include "udevdevicewatcher.h"
#elif defined(Q_OS_WIN)
#include "windevicewatcher.h"
#endif

DeviceWatcher::~DeviceWatcher() = default;

namespace {

// Platforms without device notifications: the instrument must be present at start.
class NoDeviceWatcher : public DeviceWatcher {
  public:
    bool start(QWidget*) override { return false; }
};

} // namespace

std::unique_ptr<DeviceWatcher> DeviceWatcher::createForPlatform() {
#if defined(Q_OS_LINUX)
    return std::make_unique<UdevDeviceWatcher>();
#elif defined(Q_OS_WIN)
    return std::make_unique<WinDeviceWatcher>();
#else
    return std::make_unique<NoDeviceWatcher>();
#endif
}
