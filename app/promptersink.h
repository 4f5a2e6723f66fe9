#pragma once

#include "messagesink.h"

class Prompter;

// Shows the messages that commands report themselves, as boxes without a parent window.
class PrompterSink : public MessageSink {
  public:
    explicit PrompterSink(Prompter& prompter) : prompter_(prompter) {}
    void showMessage(const QString& title, const QString& text) override;

  private:
    Prompter& prompter_;
};
