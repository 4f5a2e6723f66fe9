#include "productsdialog.h"

#include "colourdifference.h"
#include "comparisonsession.h"
#include "decimalvalidator.h"
#include "prompter.h"
#include "quantities.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

// As Setup converts typed values: truncated, with a nudge for products such as 0.29 * 100.
int toUnits(double value, int scale) {
    return static_cast<int>(std::trunc(value * scale + (value >= 0 ? 1e-7 : -1e-7)));
}

bool usesToleranceBlock(const Product& p) {
    return !p.settings.oldLayout && !isColorimeter(p.kind);
}

bool formulaChosen(const Product& p) {
    return p.settings.oldLayout || p.kind == InstrumentKind::SelectableColorimeter;
}

QPushButton* button(const QString& text, const QString& accessible, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setAccessibleName(accessible);
    // Enter in the filter or a field presses nothing.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

ProductsDialog::ProductsDialog(ComparisonSession& session, QWidget* parent)
    : QDialog(parent), session_(session), prompter_(Prompter::standard()),
      filter_(new QLineEdit(this)), retired_(new QCheckBox(tr("Show retired products"), this)),
      table_(new QTableWidget(0, ColCount, this)), name_(new QLineEdit(this)),
      hazeTolerance_(new QLineEdit(this)), tTolerance_(new QLineEdit(this)),
      threshold_(new QLineEdit(this)), formula_(new QComboBox(this)),
      use_(button(tr("Use"), tr("Use the chosen product"), this)),
      rename_(button(tr("Rename"), tr("Rename the chosen product"), this)),
      edit_(button(tr("Edit tolerances"), tr("Save the tolerances of the chosen product"), this)),
      retire_(button(tr("Retire"), tr("Retire the chosen product"), this)) {
    setWindowTitle(tr("Products"));
    filter_->setPlaceholderText(tr("Type to filter by name or model"));
    filter_->setAccessibleName(tr("Filter products"));
    filter_->setClearButtonEnabled(true);
    retired_->setAccessibleName(tr("Show retired products"));

    table_->setHorizontalHeaderLabels(
        {tr("Name"), tr("Model"), tr("Mode"), tr("Standard"), tr("Settings"), tr("Retired")});
    table_->setAccessibleName(tr("Products"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next field rather than walking its cells.
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);

    name_->setAccessibleName(tr("Product name"));
    hazeTolerance_->setAccessibleName(tr("Haze Tolerance"));
    tTolerance_->setAccessibleName(tr("Transmittance Tolerance"));
    threshold_->setAccessibleName(tr("△E Thresholds"));
    formula_->setAccessibleName(tr("△E formula"));
    hazeTolerance_->setValidator(new DecimalValidator(0, 100, 2, hazeTolerance_));
    tTolerance_->setValidator(new DecimalValidator(0, 100, 2, tTolerance_));
    threshold_->setValidator(new DecimalValidator(0, 50, 1, threshold_));

    auto* fields = new QFormLayout;
    fields->addRow(tr("Name:"), name_);
    fields->addRow(tr("Haze Tolerance (%):"), hazeTolerance_);
    fields->addRow(tr("Transmittance Tolerance (%):"), tTolerance_);
    fields->addRow(tr("△E Thresholds:"), threshold_);
    fields->addRow(tr("△E formula:"), formula_);

    auto* actions = new QHBoxLayout;
    for (QPushButton* b : {use_, rename_, edit_, retire_})
        actions->addWidget(b);
    actions->addStretch();
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    for (QAbstractButton* b : close->buttons())
        if (auto* push = qobject_cast<QPushButton*>(b))
            push->setAutoDefault(false);
    actions->addWidget(close);

    auto* top = new QHBoxLayout;
    top->addWidget(filter_, 1);
    top->addWidget(retired_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addLayout(fields);
    layout->addLayout(actions);

    connect(filter_, &QLineEdit::textChanged, this, &ProductsDialog::refresh);
    connect(retired_, &QCheckBox::toggled, this, &ProductsDialog::refresh);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &ProductsDialog::showChosen);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &ProductsDialog::useChosen);
    connect(use_, &QPushButton::clicked, this, &ProductsDialog::useChosen);
    connect(rename_, &QPushButton::clicked, this, &ProductsDialog::renameChosen);
    connect(edit_, &QPushButton::clicked, this, &ProductsDialog::editChosen);
    connect(retire_, &QPushButton::clicked, this, &ProductsDialog::retireChosen);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(760, 480);
    if (ProductCatalog* catalog = session_.catalog())
        catalog->fetchShared();
    refresh();
    filter_->setFocus();
}

void ProductsDialog::setPrompter(Prompter* prompter) {
    prompter_ = prompter ? prompter : Prompter::standard();
}

std::optional<Product> ProductsDialog::productAt(int row) const {
    if (row < 0 || row >= shown_.size())
        return std::nullopt;
    return shown_.at(row);
}

std::optional<Product> ProductsDialog::chosen() const {
    return productAt(table_->currentRow());
}

void ProductsDialog::refresh() {
    const QString keep = chosen() ? chosen()->id : QString();
    ProductCatalog* catalog = session_.catalog();
    shown_ = catalog
                 ? catalog->products(filter_->text().trimmed(), QString(), retired_->isChecked())
                 : QList<Product>();
    const QLocale locale;
    const QStringList modes{tr("Haze/T"), tr("Haze"), tr("T"),         tr("Lab"),
                            tr("LCh"),    tr("Yxy"),  tr("Haze/T/Lab")};
    table_->setRowCount(int(shown_.size()));
    int select = shown_.isEmpty() ? -1 : 0;
    for (int row = 0; row < shown_.size(); ++row) {
        const Product& p = shown_.at(row);
        const JudgingSettings& s = p.settings;
        QStringList standard;
        if (s.oldLayout) {
            for (int i = 0; i < quantities::OldCount; ++i)
                standard << quantities::oldValueText(i, p.standard.values[size_t(i)]);
        } else {
            for (int i = 0; i < quantities::Count; ++i)
                if (quantities::measures(s.displayMode, i))
                    standard << quantities::valueText(i, p.standard.values[size_t(i)]);
        }
        QStringList settings;
        if (usesToleranceBlock(p))
            settings << tr("Haze ±%1%").arg(locale.toString(s.hazeTolerance / 100.0, 'f', 2))
                     << tr("T ±%1%").arg(locale.toString(s.tTolerance / 100.0, 'f', 2));
        settings << tr("△E Thresholds %1").arg(locale.toString(s.threshold / 10.0, 'f', 1));
        if (formulaChosen(p) && s.formula >= 0)
            settings << colour::formulaLabel(s.formula, s.oldLayout);
        const QStringList texts{p.name,
                                p.model,
                                s.oldLayout ? tr("Old layout") : modes.value(s.displayMode),
                                standard.join(QLatin1String("  ")),
                                settings.join(QLatin1String(", ")),
                                p.retired ? tr("Retired") : QString()};
        for (int column = 0; column < ColCount; ++column) {
            auto* item = new QTableWidgetItem(texts.at(column));
            table_->setItem(row, column, item);
        }
        if (p.id == keep)
            select = row;
    }
    table_->resizeColumnsToContents();
    if (select >= 0)
        table_->selectRow(select);
    showChosen();
}

void ProductsDialog::showChosen() {
    const std::optional<Product> p = chosen();
    for (QWidget* w : {static_cast<QWidget*>(name_), static_cast<QWidget*>(use_),
                       static_cast<QWidget*>(rename_), static_cast<QWidget*>(edit_),
                       static_cast<QWidget*>(retire_), static_cast<QWidget*>(threshold_)})
        w->setEnabled(p && !p->retired);
    const bool tolerances = p && !p->retired && usesToleranceBlock(*p);
    hazeTolerance_->setEnabled(tolerances);
    tTolerance_->setEnabled(tolerances);
    formula_->clear();
    formula_->setEnabled(p && !p->retired && formulaChosen(*p));
    if (!p) {
        for (QLineEdit* e : {name_, hazeTolerance_, tTolerance_, threshold_})
            e->clear();
        return;
    }
    const QLocale locale;
    const JudgingSettings& s = p->settings;
    name_->setText(p->name);
    hazeTolerance_->setText(
        usesToleranceBlock(*p) ? locale.toString(s.hazeTolerance / 100.0, 'f', 2) : QString());
    tTolerance_->setText(usesToleranceBlock(*p) ? locale.toString(s.tTolerance / 100.0, 'f', 2)
                                                : QString());
    threshold_->setText(locale.toString(s.threshold / 10.0, 'f', 1));
    if (formulaChosen(*p)) {
        for (int f = 0; f < (s.oldLayout ? 6 : 7); ++f)
            formula_->addItem(colour::formulaLabel(f, s.oldLayout), f);
        formula_->setCurrentIndex(formula_->findData(s.formula));
    }
}

void ProductsDialog::refused(const QString& title, const QString& text) {
    prompter_->information(this, title, text);
    refresh();
}

void ProductsDialog::useChosen() {
    const std::optional<Product> p = chosen();
    if (!p || p->retired)
        return;
    if (const SessionResult r = session_.useProduct(*p)) {
        prompter_->information(this, r->title, r->text);
        return;
    }
    emit productUsed(*p);
    accept();
}

void ProductsDialog::renameChosen() {
    const std::optional<Product> p = chosen();
    ProductCatalog* catalog = session_.catalog();
    if (!p || !catalog)
        return;
    QString why;
    if (!catalog->renameProduct(p->id, name_->text(), &why))
        return refused(tr("Products"), why);
    refresh();
}

void ProductsDialog::editChosen() {
    const std::optional<Product> p = chosen();
    ProductCatalog* catalog = session_.catalog();
    if (!p || !catalog)
        return;
    // A field that is empty or not a number is refused as Setup refuses it: with its range.
    const auto typed = [](const QLineEdit* edit, int scale) {
        const auto* validator = qobject_cast<const DecimalValidator*>(edit->validator());
        const std::optional<double> number =
            validator ? validator->number(edit->text()) : std::nullopt;
        return number ? toUnits(*number, scale) : -1;
    };
    Product edited = *p;
    edited.settings.threshold = typed(threshold_, 10);
    if (usesToleranceBlock(*p)) {
        edited.settings.hazeTolerance = typed(hazeTolerance_, 100);
        edited.settings.tTolerance = typed(tTolerance_, 100);
    }
    if (formulaChosen(*p))
        edited.settings.formula = formula_->currentData().isValid()
                                      ? formula_->currentData().toInt()
                                      : p->settings.formula;
    if (const SessionResult r = ComparisonSession::productSettingsProblem(edited))
        return prompter_->information(this, r->title, r->text);
    QString why;
    if (!catalog->setProductSettings(p->id, edited.settings, &why))
        return refused(tr("Products"), why);
    refresh();
}

void ProductsDialog::retireChosen() {
    const std::optional<Product> p = chosen();
    ProductCatalog* catalog = session_.catalog();
    if (!p || !catalog || p->retired)
        return;
    if (prompter_->question(this, tr("Products"),
                            tr("Retire product %1? Comparisons made with it keep naming it; it "
                               "can no longer be used.")
                                .arg(p->name),
                            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    QString why;
    if (!catalog->retireProduct(p->id, &why))
        return refused(tr("Products"), why);
    refresh();
}
