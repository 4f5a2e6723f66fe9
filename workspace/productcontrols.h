#pragma once

#include <QObject>

#include <functional>

class ComparisonSession;
class Prompter;
class QAction;
class QDialog;
class QLayout;
class QPushButton;
class QWidget;

namespace history {
class HistoryStore;
}

// The workspace's products and lots behind one button beside the list's: save the standard on
// show as a product, choose a product, set the lot the next comparisons carry. The window's top
// bar names the product and lot in use.
class ProductControls : public QObject {
    Q_OBJECT
  public:
    // The button goes into `row`; dialogs run through `runDialog` (tests answer them).
    ProductControls(ComparisonSession& session, Prompter& prompter, QWidget* page, QLayout* row,
                    std::function<int(QDialog&)> runDialog);

    // The history, which keeps the products (none: no products).
    void setStore(history::HistoryStore* store);
    void relabel();

    void saveProduct();
    void openProducts();
    void setLot();

  signals:
    // The instrument took a product's settings and the session its standard: the page shows
    // the settings and mode in force.
    void productUsed();

  private:
    ComparisonSession& session_;
    Prompter& prompter_;
    QWidget* page_;
    std::function<int(QDialog&)> runDialog_;
    history::HistoryStore* store_ = nullptr;
    QPushButton* button_;
    QAction* save_;
    QAction* choose_;
    QAction* lot_;
};
