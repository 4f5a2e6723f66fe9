#include "appinit.h"

#include <QMouseEvent>
#include <QMutex>
#include <QWidget>

AppInit* AppInit::Instance() {
    // Never deleted: the filter stays installed until the process ends.
    static QMutex mutex;
    static AppInit* self = nullptr;
    QMutexLocker locker(&mutex);
    if (!self)
        self = new AppInit;
    return self;
}

bool AppInit::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !widget->property("canMove").toBool())
        return QObject::eventFilter(watched, event);

    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton)
            return QObject::eventFilter(watched, event);
        pressed_ = true;
        grabOffset_ = mouse->globalPosition().toPoint() - widget->pos();
        return true;
    case QEvent::MouseButtonRelease:
        pressed_ = false;
        return true;
    case QEvent::MouseMove:
        if (pressed_ && mouse->buttons() != Qt::NoButton) {
            widget->move(mouse->globalPosition().toPoint() - grabOffset_);
            return true;
        }
        return QObject::eventFilter(watched, event);
    default:
        return QObject::eventFilter(watched, event);
    }
}
