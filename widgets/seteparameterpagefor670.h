#pragma once

#include <QDialog>
#include <QString>

class FramePort;
class Prompter;
class QButtonGroup;

namespace Ui {
class setEParameterPageFor670;
}

// Chooses the colour-difference formula and threshold the instrument keeps and writes both to
// it. The caller holds the pause lock for as long as the dialog is open.
class setEParameterPageFor670 : public QDialog {
    Q_OBJECT
  public:
    // port is where the parameter is written (not owned; null counts as no link). chinese
    // picks the fixed Chinese messages.
    setEParameterPageFor670(int firmwareVersion, const QString& modelName, FramePort* port,
                            bool chinese = false, QWidget* parent = nullptr);
    ~setEParameterPageFor670() override;

    // Where messages go; null restores the real message boxes.
    void setPrompter(Prompter* prompter);
    void setChinese(bool chinese) { chinese_ = chinese; }

    int firmwareVersion() const { return firmwareVersion_; }
    QString modelName() const { return modelName_; }
    QButtonGroup* formulaGroup() const { return group_; }

  private slots:
    void on_Okbtn_clicked();
    void on_Cancelbtn_clicked();

  private:
    Ui::setEParameterPageFor670* ui;
    int firmwareVersion_;
    QString modelName_;
    FramePort* port_;
    bool chinese_;
    Prompter* prompter_;
    QButtonGroup* group_;
};
