#pragma once

#include <QObject>
#include <QPoint>

// Lets any widget with the dynamic property "canMove" be dragged with the left mouse button.
// Installed once on the application; one drag at a time.
class AppInit : public QObject {
    Q_OBJECT
  public:
    static AppInit* Instance();

    bool eventFilter(QObject* watched, QEvent* event) override;

    bool isDragging() const { return pressed_; }

  protected:
    AppInit() = default;

  private:
    bool pressed_ = false;
    QPoint grabOffset_;
};
