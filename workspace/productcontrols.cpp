#include "productcontrols.h"

#include "comparisonsession.h"
#include "historystore.h"
#include "productsdialog.h"
#include "prompter.h"

#include <QLayout>
#include <QMenu>
#include <QPushButton>

ProductControls::ProductControls(ComparisonSession& session, Prompter& prompter, QWidget* page,
                                 QLayout* row, std::function<int(QDialog&)> runDialog)
    : QObject(page), session_(session), prompter_(prompter), page_(page),
      runDialog_(std::move(runDialog)), button_(new QPushButton(page)) {
    button_->setObjectName(QStringLiteral("pushButton_products"));
    button_->setMinimumHeight(30);
    button_->setAutoDefault(false);
    button_->hide(); // until the history keeps products
    auto* menu = new QMenu(button_);
    save_ = menu->addAction(QString(), this, &ProductControls::saveProduct);
    choose_ = menu->addAction(QString(), this, &ProductControls::openProducts);
    lot_ = menu->addAction(QString(), this, &ProductControls::setLot);
    button_->setMenu(menu);
    row->addWidget(button_);
    relabel();
}

void ProductControls::setStore(history::HistoryStore* store) {
    store_ = store;
    button_->setVisible(store);
    if (!store)
        return;
    // A product changed on two stations keeps the newer edit; the user is told which.
    connect(store, &history::HistoryStore::productConflict, this, [this](const QString& message) {
        prompter_.information(page_, tr("Products"), message);
    });
}

void ProductControls::relabel() {
    button_->setText(tr("Products"));
    button_->setToolTip(tr("Save the standard as a product, choose a product, set the lot"));
    save_->setText(tr("Save as product…"));
    choose_->setText(tr("Choose a product…"));
    lot_->setText(tr("Lot…"));
}

void ProductControls::saveProduct() {
    const QString name =
        prompter_.textInput(page_, tr("Save as product"),
                            tr("The standard on show and the settings in force, kept as:"));
    if (name.trimmed().isEmpty())
        return;
    if (const SessionResult problem = session_.saveProduct(name.trimmed()))
        prompter_.information(page_, problem->title, problem->text);
}

void ProductControls::openProducts() {
    ProductsDialog dialog(session_, page_);
    dialog.setPrompter(&prompter_);
    if (store_)
        connect(store_, &history::HistoryStore::productsChanged, &dialog, &ProductsDialog::refresh);
    connect(&dialog, &ProductsDialog::productUsed, this, &ProductControls::productUsed);
    runDialog_(dialog);
}

void ProductControls::setLot() {
    // Cancel keeps the lot; an empty answer clears it.
    const QString lot = prompter_.textInput(
        page_, tr("Lot"), tr("The lot the next comparisons are kept with (empty for none):"),
        session_.lot());
    if (!lot.isNull())
        session_.setLot(lot.trimmed());
}
