#pragma once

#include <QLabel>

// A one-line label that ends in "…" where its text does not fit: a status line that never
// widens or heightens the bar it sits in.
class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The text as it is drawn at the label's current width.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};
