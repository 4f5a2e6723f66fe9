#pragma once

#include <QValidator>

#include <optional>

// A decimal number typed in the interface's language: only digits, that locale's decimal
// separator and (where the range allows) a minus sign; never a group separator, and never
// rewritten behind the user's back ("1,5" is 1.5 where the comma is the decimal separator and
// cannot be typed where it is not: it is never 15).
class DecimalValidator : public QValidator {
    Q_OBJECT
  public:
    DecimalValidator(double bottom, double top, int decimals, QObject* parent = nullptr);

    State validate(QString& input, int& position) const override;
    // Nothing is fixed up: a text that is not a number stays as typed and is refused on use.
    void fixup(QString&) const override {}

    // The number a text stands for in this validator's locale, or nothing.
    std::optional<double> number(const QString& text) const;

  private:
    double bottom_;
    double top_;
    int decimals_;
};
