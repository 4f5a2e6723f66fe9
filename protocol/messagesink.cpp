#include "messagesink.h"

#include <QDebug>

#include <atomic>

namespace {
class DebugSink : public MessageSink {
  public:
    void showMessage(const QString& title, const QString& text) override {
        qDebug().noquote() << title << text;
    }
};

DebugSink debugSink;
std::atomic<MessageSink*> current{&debugSink};
} // namespace

MessageSink::~MessageSink() = default;

MessageSink* MessageSink::defaultSink() {
    return current.load();
}

void MessageSink::setDefaultSink(MessageSink* sink) {
    current.store(sink ? sink : &debugSink);
}
