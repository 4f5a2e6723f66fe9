#pragma once
// Work asked for many times within one turn of the event loop (a burst of rows): done at once on
// the first request, so a single change shows without waiting, and once more after the last.

#include <QObject>
#include <QTimer>

#include <functional>
#include <utility>

class Burst : public QObject {
  public:
    Burst(QObject* parent, std::function<void()> work) : QObject(parent), work_(std::move(work)) {}

    void request() {
        if (pending_) {
            again_ = true;
            return;
        }
        pending_ = true;
        work_();
        QTimer::singleShot(0, this, [this] {
            pending_ = false;
            if (std::exchange(again_, false))
                work_();
        });
    }

  private:
    std::function<void()> work_;
    bool pending_ = false;
    bool again_ = false;
};
