#pragma once

#include "comparisonrecord.h"

#include <QObject>

class ComparisonListModel;
class QTableView;
class RbTableHeaderView;
class RowButtonDelegate;

// The two list views (current and old layout) under their merged two-level headers: which one
// shows, the columns of the list's own display mode, column widths sized from the view's width
// and what the columns hold, the per-row Delete and Report buttons.
class ComparisonListViews : public QObject {
    Q_OBJECT
  public:
    ComparisonListViews(QTableView* current, ComparisonListModel& currentModel, QTableView* old,
                        ComparisonListModel& oldModel, QObject* parent = nullptr);

    QTableView* view(bool old) const { return old ? old_ : current_; }
    QTableView* shownView() const { return view(shownOld_); }
    // The columns of a list of this meaning.
    void show(const ListMeaning& meaning);
    void relabel();
    // Rows as high as the text needs, tighter on a short screen.
    void setCompact(bool compact);
    // The newest row in view (after the layout settled).
    void scrollToNewest();
    void editName(bool old, int row);

  signals:
    void deleteClicked(int row);
    void reportClicked(bool old, int row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setUp(QTableView* view, RbTableHeaderView* header, int columns, int sample);
    void setRowLines();
    // Every shown column as wide as its widest text; what the view has left goes to the name.
    void fitColumns(QTableView* view);
    // Once in the event loop: a burst of new rows costs one fit, not one per row.
    void scheduleFit();
    // The widest name among rows first..last (the newest 200 of them: a long import costs no
    // more than a short one).
    void measureNames(bool old, int first, int last);

    QTableView* current_;
    QTableView* old_;
    RbTableHeaderView* currentHeader_ = nullptr;
    RbTableHeaderView* oldHeader_ = nullptr;
    RowButtonDelegate* buttons_[2][2] = {}; // [old][0 delete, 1 report]
    bool shownOld_ = false;
    bool compact_ = false;
    bool fitPending_ = false;
    bool scrollPending_ = false;
    int nameWidth_[2] = {0, 0};
    int shownMode_ = 0;
};
