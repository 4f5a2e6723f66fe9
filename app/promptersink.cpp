#include "promptersink.h"

#include "prompter.h"

void PrompterSink::showMessage(const QString& title, const QString& text) {
    prompter_.information(nullptr, title, text);
}
