#include "workspacekeys.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>

namespace {

QString text(const char* source) {
    return QCoreApplication::translate("WorkspaceKeys", source);
}

template <typename T> T* child(QWidget* page, const char* name) {
    return page->findChild<T*>(QLatin1String(name));
}

// The button of the layout in use, of two that do the same (current and old layout).
QAbstractButton* shownOf(QWidget* page, const char* current, const char* old) {
    auto* a = child<QAbstractButton>(page, current);
    auto* b = child<QAbstractButton>(page, old);
    return b && b->isVisibleTo(page) && !(a && a->isVisibleTo(page)) ? b : a;
}

void press(QAbstractButton* button) {
    if (button && button->isEnabled())
        button->click();
}

} // namespace

namespace workspacekeys {

void install(QWidget* page, std::function<void(int row)> deleteRow) {
    // Labels name their fields for a screen reader and take the focus to them.
    const char* const buddies[][2] = {
        {"label_serialNo", "lineEdit_serialNo"},
        {"label_firmwareVersion", "lineEdit_firmwareVersion"},
        {"label_unqualNum", "lineEdit_unqualNum"},
        {"label_qualNum", "lineEdit_qualNum"},
        {"label_totalNum", "lineEdit_totalNum"},
        {"label_hazeTolerance", "lineEdit_hazeTolerance"},
        {"label_tTolerance", "lineEdit_tTolerance"},
        {"label_eThresholds", "lineEdit_eThresholds"},
        {"label_formula", "lineEdit_formula"},
        {"label_thresholds", "lineEdit_thresholds"},
        {"label_readingsPerMeasurement", "spinBox_readingsPerMeasurement"}};
    for (const auto& pair : buddies)
        if (auto* label = child<QLabel>(page, pair[0]))
            label->setBuddy(child<QWidget>(page, pair[1]));
    // A table takes the focus once; Tab leaves it and the arrows move inside.
    for (QTableView* table : page->findChildren<QTableView*>())
        table->setTabKeyNavigation(false);

    // The order of the work: measure, settings, the list's buttons, the list, the analysis.
    const char* const order[] = {"pushButton_standardMeasurement",
                                 "pushButton_sampleMeasurement",
                                 "stdmeasurementBtn",
                                 "samplemeasurementBtn",
                                 "tableWidget_colorDiff",
                                 "radioButton_hazeT",
                                 "pushButton_setDisplayParameter",
                                 "lineEdit_hazeTolerance",
                                 "lineEdit_tTolerance",
                                 "lineEdit_eThresholds",
                                 "pushButton_setTolerance",
                                 "pushButton_readTolerance",
                                 "lineEdit_thresholds",
                                 "pushButton_setParameter",
                                 "pushButton_readParameter",
                                 "pushButton_readComparisonRecord",
                                 "pushButton_clear",
                                 "pushButton_exportExcel",
                                 "pushButton_history",
                                 "pushButton_spectralTransmittance",
                                 "pushButton_writeStandardColor",
                                 "pushButton_analysis",
                                 "spinBox_readingsPerMeasurement",
                                 "tableWidget_data",
                                 "tbData",
                                 "tabWidget_analysis"};
    QWidget* previous = nullptr;
    for (const char* name : order) {
        QWidget* w = child<QWidget>(page, name);
        if (!w)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }

    const auto key = [page](const QKeySequence& sequence, std::function<void()> action,
                            QWidget* scope = nullptr) {
        auto* shortcut = new QShortcut(sequence, scope ? scope : page);
        shortcut->setContext(scope ? Qt::WidgetShortcut : Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, page, std::move(action));
    };
    key(Qt::Key_F7,
        [page] { press(shownOf(page, "pushButton_standardMeasurement", "stdmeasurementBtn")); });
    key(Qt::Key_F8,
        [page] { press(shownOf(page, "pushButton_sampleMeasurement", "samplemeasurementBtn")); });
    key(QKeySequence(Qt::CTRL | Qt::Key_E),
        [page] { press(child<QAbstractButton>(page, "pushButton_exportExcel")); });
    key(QKeySequence(Qt::CTRL | Qt::Key_H),
        [page] { press(child<QAbstractButton>(page, "pushButton_history")); });
    key(Qt::Key_F9, [page] { press(child<QAbstractButton>(page, "pushButton_analysis")); });
    for (const char* list : {"tableWidget_data", "tbData"}) {
        auto* view = child<QTableView>(page, list);
        key(
            QKeySequence::Delete,
            [view, deleteRow] {
                if (view->currentIndex().isValid())
                    deleteRow(view->currentIndex().row());
            },
            view);
    }
    relabel(page);
}

void relabel(QWidget* page) {
    const struct {
        const char* name;
        const char* accessible;
        const char* tip;
    } named[] = {
        {"tableWidget_colorDiff", QT_TRANSLATE_NOOP("WorkspaceKeys", "Comparison table"), nullptr},
        {"tbColorDiff", QT_TRANSLATE_NOOP("WorkspaceKeys", "Comparison table"), nullptr},
        {"tableWidget_data", QT_TRANSLATE_NOOP("WorkspaceKeys", "Comparison list"),
         QT_TRANSLATE_NOOP("WorkspaceKeys", "Delete removes the selected row.")},
        {"tbData", QT_TRANSLATE_NOOP("WorkspaceKeys", "Comparison list"),
         QT_TRANSLATE_NOOP("WorkspaceKeys", "Delete removes the selected row.")},
        {"tabWidget_analysis", QT_TRANSLATE_NOOP("WorkspaceKeys", "Analysis"), nullptr},
        {"pushButton_standardMeasurement", nullptr,
         QT_TRANSLATE_NOOP("WorkspaceKeys", "Measure the standard (F7)")},
        {"stdmeasurementBtn", nullptr,
         QT_TRANSLATE_NOOP("WorkspaceKeys", "Measure the standard (F7)")},
        {"pushButton_sampleMeasurement", nullptr,
         QT_TRANSLATE_NOOP("WorkspaceKeys", "Measure a sample (F8)")},
        {"samplemeasurementBtn", nullptr,
         QT_TRANSLATE_NOOP("WorkspaceKeys", "Measure a sample (F8)")},
        {"pushButton_exportExcel", nullptr,
         QT_TRANSLATE_NOOP("WorkspaceKeys", "Export the list (Ctrl+E)")},
        {"pushButton_history", nullptr,
         QT_TRANSLATE_NOOP("WorkspaceKeys", "Open the measurement history (Ctrl+H)")},
        {"pushButton_analysis", nullptr,
         QT_TRANSLATE_NOOP("WorkspaceKeys", "Show or hide the analysis (F9)")},
        {"groupBox_setDisplayParameter", QT_TRANSLATE_NOOP("WorkspaceKeys", "Display mode"),
         nullptr}};
    for (const auto& n : named) {
        QWidget* w = child<QWidget>(page, n.name);
        if (!w)
            continue;
        if (n.accessible)
            w->setAccessibleName(text(n.accessible));
        if (n.tip) {
            w->setToolTip(text(n.tip));
            w->setAccessibleDescription(text(n.tip));
        }
    }
}

} // namespace workspacekeys
