#include "lookandfeel.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QPalette>

namespace lookandfeel {

QString paletteColourOf(const QString& skin) {
    constexpr int kColourStart = 20; // after "QPalette{background:"
    constexpr int kColourLength = 7; // "#RRGGBB"
    if (skin.size() < kColourStart + kColourLength)
        return QString();
    return skin.mid(kColourStart, kColourLength);
}

bool applySkin(QApplication& app, const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString skin = QString::fromLatin1(file.readAll());
    const QColor colour = QColor::fromString(paletteColourOf(skin));
    if (colour.isValid())
        app.setPalette(QPalette(colour));
    app.setStyleSheet(skin);
    return true;
}

void applyFont(QApplication& app) {
    // Without the Windows font, Chinese must still come out in a CJK face rather than boxes.
    QFont::insertSubstitutions(QString::fromLatin1(kFontFamily),
                               {QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("Source Han Sans SC"),
                                QStringLiteral("WenQuanYi Micro Hei")});
    app.setFont(QFont(QString::fromLatin1(kFontFamily), kFontPointSize));
}

QString sizeStyleSheet() {
    QStringList rules;
    rules << QStringLiteral("QComboBox::drop-down,QDateEdit::drop-down,QTimeEdit::drop-down,"
                            "QDateTimeEdit::drop-down{width:%1px;}")
                 .arg(20);
    rules << QStringLiteral("QComboBox::down-arrow,QDateEdit[calendarPopup=\"true\"]::down-arrow,"
                            "QTimeEdit[calendarPopup=\"true\"]::down-arrow,"
                            "QDateTimeEdit[calendarPopup=\"true\"]::down-arrow"
                            "{width:%1px;height:%1px;right:2px;}")
                 .arg(10);
    rules << QStringLiteral("QRadioButton::indicator{width:%1px;height:%1px;}").arg(15);
    rules << QStringLiteral("QCheckBox::indicator,QGroupBox::indicator,QTreeWidget::indicator,"
                            "QListWidget::indicator{width:%1px;height:%1px;}")
                 .arg(13);
    rules << QStringLiteral("QScrollBar:horizontal{min-height:%1px;border-radius:%2px;}"
                            "QScrollBar::handle:horizontal{border-radius:%2px;}"
                            "QScrollBar:vertical{min-width:%1px;border-radius:%2px;}"
                            "QScrollBar::handle:vertical{border-radius:%2px;}")
                 .arg(12)
                 .arg(6);
    rules << QStringLiteral(
                 "QWidget#widget_top>QToolButton:pressed,QWidget#widget_top>QToolButton:hover,"
                 "QWidget#widget_top>QToolButton:checked,QWidget#widget_top>QLabel:hover"
                 "{border-width:0px 0px %1px 0px;}")
                 .arg(3);
    rules << QStringLiteral(
                 "QWidget#widgetleft>QPushButton:checked,QWidget#widgetleft>QToolButton:checked,"
                 "QWidget#widgetleft>QPushButton:pressed,QWidget#widgetleft>QToolButton:pressed"
                 "{border-width:0px 0px 0px %1px;}")
                 .arg(3);
    return rules.join(QString());
}

} // namespace lookandfeel
