#pragma once

#include <QString>

// Where the few commands that report their own failures send their message. The program shows
// it in a message box; tests collect it; the default writes it to the debug stream.
class MessageSink {
  public:
    virtual ~MessageSink();
    virtual void showMessage(const QString& title, const QString& text) = 0;

    // The sink used when a command is given none. Never null.
    static MessageSink* defaultSink();
    // Replaces the default sink (nullptr restores the debug-stream sink). Not owned.
    static void setDefaultSink(MessageSink* sink);
};
