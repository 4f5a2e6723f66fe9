#include "decimalvalidator.h"

#include <cmath>

DecimalValidator::DecimalValidator(double bottom, double top, int decimals, QObject* parent)
    : QValidator(parent), bottom_(bottom), top_(top), decimals_(decimals) {}

std::optional<double> DecimalValidator::number(const QString& text) const {
    QLocale l = locale();
    l.setNumberOptions(l.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = l.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QValidator::State DecimalValidator::validate(QString& input, int&) const {
    const QString text = input.trimmed();
    if (text.isEmpty())
        return Intermediate;
    const QLocale l = locale();
    const QString point = l.decimalPoint();
    const QString minus = l.negativeSign();
    int decimals = -1;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isDigit()) {
            if (decimals >= 0 && ++decimals > decimals_)
                return Invalid;
        } else if (text.mid(i, point.size()) == point && decimals < 0 && decimals_ > 0) {
            decimals = 0;
            i += int(point.size()) - 1;
        } else if (i == 0 && text.startsWith(minus) && bottom_ < 0) {
            i += int(minus.size()) - 1;
        } else {
            return Invalid;
        }
    }
    const std::optional<double> value = number(text);
    if (!value)
        return Intermediate; // "-" or "1." on the way to a number
    // Out of range stays typeable: Setup says what the range is.
    return *value < bottom_ || *value > top_ ? Intermediate : Acceptable;
}
