#pragma once

#include "productcatalog.h"

#include <QDialog>
#include <QList>

class ComparisonSession;
class Prompter;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The products kept in the history: a list filtered while typing, and Use, Rename, Edit
// tolerances and Retire on the product chosen. It works on the session and its catalog; the
// page opens it and refreshes its own fields when a product was used.
class ProductsDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ProductsDialog(ComparisonSession& session, QWidget* parent = nullptr);

    void setPrompter(Prompter* prompter);
    // The product shown in the row; none for a row out of range.
    std::optional<Product> productAt(int row) const;
    QTableWidget* table() const { return table_; }

  public slots:
    // Reads the products again (another station may have changed them).
    void refresh();

  signals:
    // The instrument took the product's settings and the session its standard.
    void productUsed(const Product& product);

  private:
    enum Column { ColName, ColModel, ColMode, ColStandard, ColSettings, ColRetired, ColCount };

    void useChosen();
    void renameChosen();
    void editChosen();
    void retireChosen();
    void showChosen();
    std::optional<Product> chosen() const;
    // A refused change: the reason, and the list as it is now.
    void refused(const QString& title, const QString& text);

    ComparisonSession& session_;
    Prompter* prompter_;
    QLineEdit* filter_;
    QCheckBox* retired_;
    QTableWidget* table_;
    QLineEdit* name_;
    QLineEdit* hazeTolerance_;
    QLineEdit* tTolerance_;
    QLineEdit* threshold_;
    QComboBox* formula_;
    QPushButton* use_;
    QPushButton* rename_;
    QPushButton* edit_;
    QPushButton* retire_;
    QList<Product> shown_;
};
