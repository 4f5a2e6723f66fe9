#pragma once

#include <QObject>

#include <functional>
#include <vector>

class ComparisonSession;
class QLineEdit;
class QWidget;

// The page's typed settings (haze and T tolerance, the thresholds): numbers in the interface's
// language only, and a field whose number differs from the one in force is marked as not applied
// until it is set on the instrument.
class SettingsFields : public QObject {
  public:
    SettingsFields(QWidget* page, const ComparisonSession& session);
    // The settings in force in the fields (after a read, or a product used): in each field's
    // locale, the formula by its name.
    void showInForce();
    // The marks again, after the settings in force changed (read or set).
    void recheck();

  private:
    struct Field {
        QLineEdit* edit;
        std::function<int()> inForce; // units of `scale`, -1 when not read
        int scale;
    };
    void mark(const Field& field);

    std::vector<Field> fields_;
    const ComparisonSession& session_;
    QLineEdit* formula_ = nullptr;
};
