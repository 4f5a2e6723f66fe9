#include "simdevicewatcher.h"

#include "virtualinstrument.h"

SimDeviceWatcher::SimDeviceWatcher(std::shared_ptr<sim::VirtualInstrument> instrument)
    : instrument_(std::move(instrument)) {}

SimDeviceWatcher::~SimDeviceWatcher() {
    if (instrument_)
        instrument_->setPlugListener({});
}

bool SimDeviceWatcher::start(QWidget*) {
    if (!instrument_)
        return false;
    instrument_->setPlugListener([this](bool plugged) {
        // Queued: a notification never runs inside the call that plugged the instrument.
        QMetaObject::invokeMethod(
            this,
            [this, plugged] {
                if (plugged)
                    emit deviceArrived();
                else
                    emit deviceRemoved();
            },
            Qt::QueuedConnection);
    });
    return true;
}
