#include "seteparameterpagefor670.h"
#include "ui_seteparameterpagefor670.h"

#include "deviceinfocommands.h"
#include "frameport.h"
#include "modeltable.h"
#include "prompter.h"

#include <QButtonGroup>

setEParameterPageFor670::setEParameterPageFor670(int firmwareVersion, const QString& modelName,
                                                 FramePort* port, bool chinese, QWidget* parent)
    : QDialog(parent), ui(new Ui::setEParameterPageFor670), firmwareVersion_(firmwareVersion),
      modelName_(modelName), port_(port), chinese_(chinese), prompter_(Prompter::standard()),
      group_(new QButtonGroup(this)) {
    ui->setupUi(this);

    // The ids are the formula indices the instrument stores; old firmware has no cmc(1.4:1)
    // and numbers ΔE*00 as 5.
    const bool old = models::usesOldLayout(modelName_, firmwareVersion_);
    group_->addButton(ui->formulaBtn_0, 0);
    group_->addButton(ui->formulaBtn_1, 1);
    group_->addButton(ui->formulaBtn_2, 2);
    group_->addButton(ui->formulaBtn_3, 3);
    group_->addButton(ui->formulaBtn_4, 4);
    if (!old)
        group_->addButton(ui->formulaBtn_5, 5);
    group_->addButton(ui->formulaBtn_6, old ? 5 : 6);
    ui->formulaBtn_5->setVisible(!old);
}

setEParameterPageFor670::~setEParameterPageFor670() {
    delete ui;
}

void setEParameterPageFor670::setPrompter(Prompter* prompter) {
    prompter_ = prompter ? prompter : Prompter::standard();
}

void setEParameterPageFor670::on_Okbtn_clicked() {
    if (!port_ || !port_->isLinkOpen()) {
        prompter_->information(this, tr("Error"), tr("Please connect the device first!"));
        return;
    }

    const int formula = group_->checkedId();
    // Text that is not a number reads as 0 and is refused below.
    const float t = ui->ThresholdsEdit->text().toFloat();
    // Written so that NaN is refused as well.
    if (!(t >= 0.1f && t <= 50.0f)) {
        if (chinese_)
            prompter_->information(this, QStringLiteral("提示"),
                                   QStringLiteral("阀值必须介于0.1-50之间！"));
        else
            prompter_->information(this, tr("information"), tr("Thresholds must between 0.1—50!"));
        return;
    }

    // Multiplied in single precision on purpose: 2.3f * 10 is 23 there, but 22.99... in double,
    // which would then be cut to 22.
    const int value = static_cast<int>(t * 10.0f);
    if (SetDeltaEParam(*port_, formula, value) >= 0) {
        accept();
        return;
    }
    if (chinese_)
        prompter_->information(this, QStringLiteral("错误"),
                               QStringLiteral("写入△E参数信息失败！"));
    else
        prompter_->information(this, tr("Error"), tr("Failed to write △E parameter information!"));
}

void setEParameterPageFor670::on_Cancelbtn_clicked() {
    reject();
}
