#include "settingsfields.h"

#include "colour.h"
#include "comparisonsession.h"
#include "decimalvalidator.h"

#include <QLineEdit>
#include <QStyle>

#include <cmath>

SettingsFields::SettingsFields(QWidget* page, const ComparisonSession& session)
    : QObject(page), session_(session),
      formula_(page->findChild<QLineEdit*>(QStringLiteral("lineEdit_formula"))) {
    const struct {
        const char* name;
        double top;
        int decimals;
        int scale;
        std::function<int()> inForce;
    } fields[] = {
        {"lineEdit_hazeTolerance", 100, 2, 100, [&session] { return session.hazeTolerance(); }},
        {"lineEdit_tTolerance", 100, 2, 100, [&session] { return session.tTolerance(); }},
        {"lineEdit_eThresholds", 50, 1, 10, [&session] { return session.toleranceThreshold(); }},
        {"lineEdit_thresholds", 50, 1, 10, [&session] { return session.parameterThreshold(); }}};
    for (const auto& f : fields) {
        auto* edit = page->findChild<QLineEdit*>(QLatin1String(f.name));
        if (!edit)
            continue;
        edit->setValidator(new DecimalValidator(0, f.top, f.decimals, edit));
        fields_.push_back({edit, f.inForce, f.scale});
        connect(edit, &QLineEdit::textChanged, this,
                [this, i = fields_.size() - 1] { mark(fields_.at(i)); });
    }
}

void SettingsFields::showInForce() {
    for (const Field& field : fields_) {
        const int units = field.inForce();
        if (units < 0)
            continue; // not read: the field keeps what it shows
        const int decimals = field.scale == 100 ? 2 : 1;
        field.edit->setText(
            field.edit->validator()->locale().toString(units / double(field.scale), 'f', decimals));
    }
    const int formula = session_.formulaIndex();
    if (formula_ && formula >= 0 && formula <= 6) {
        const QString label = colour::formulaLabel(formula, session_.oldLayout());
        if (!label.isNull())
            formula_->setText(label);
    }
}

void SettingsFields::recheck() {
    for (const Field& field : fields_)
        mark(field);
}

void SettingsFields::mark(const Field& field) {
    QLineEdit* edit = field.edit;
    const auto* validator = static_cast<const DecimalValidator*>(edit->validator());
    const int inForce = field.inForce();
    const std::optional<double> typed = validator->number(edit->text());
    const bool unapplied = inForce >= 0 && !edit->text().trimmed().isEmpty() &&
                           (!typed || std::llround(*typed * field.scale) != inForce);
    if (edit->property("unapplied").toBool() == unapplied)
        return;
    edit->setProperty("unapplied", unapplied);
    edit->setToolTip(unapplied ? tr("Not applied yet: the instrument judges with the value it "
                                    "holds until this one is set.")
                               : QString());
    // The skin draws the mark from the property.
    edit->style()->unpolish(edit);
    edit->style()->polish(edit);
}
