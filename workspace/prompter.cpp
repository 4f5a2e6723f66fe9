#include "prompter.h"

namespace {

class MessageBoxPrompter : public Prompter {
public:
    void information(QWidget* parent, const QString& title, const QString& text) override
    {
        QMessageBox::information(parent, title, text);
    }
    QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons) override
    {
        return QMessageBox::question(parent, title, text, buttons);
    }
};

} // namespace

Prompter::~Prompter() = default;

Prompter& Prompter::messageBoxes()
{
    static MessageBoxPrompter prompter;
    return prompter;
}
