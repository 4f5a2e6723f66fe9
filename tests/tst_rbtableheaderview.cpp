// The merged-cell header: its model's spans, presses, painting and resizing, on a header laid
// out like the comparison list's.
#include "rbtableheaderview.h"

#include <QImage>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTest>

namespace {

constexpr int kColumnSpan = RbTableHeaderModel::ColumnSpanRole;
constexpr int kRowSpan = RbTableHeaderModel::RowSpanRole;
const QColor kBackground(0x44, 0x44, 0x44);

// Exposes the size computations the table asks for.
class Probe : public RbTableHeaderView {
  public:
    using RbTableHeaderView::RbTableHeaderView;
    QSize contentsSize(int section) const { return sectionSizeFromContents(section); }
    QSize baseSize(int section) const { return QHeaderView::sectionSizeFromContents(section); }
};

// Two levels over 36 columns: three titles over both levels, "Standard" over 3..13, "Sample"
// over 14..24, then single titles over both levels again.
void buildListHeader(RbTableHeaderView& h) {
    const QStringList names = {"Haze", "T", "L*", "a*", "b*", "L*", "C*", "h", "Y", "x", "y"};
    h.setCellText(0, 0, "NO");
    h.setCellText(0, 1, "Test Name");
    h.setCellText(0, 2, "DateTime");
    h.setCellText(0, 3, "Standard");
    h.setCellText(0, 14, "Sample");
    for (int i = 0; i < 11; ++i) {
        h.setCellText(1, 3 + i, names[i]);
        h.setCellText(1, 14 + i, names[i]);
    }
    for (int c : {0, 1, 2, 25, 26, 27, 28})
        h.setCellSpan(0, c, 2, 1);
    h.setCellSpan(0, 3, 1, 11);
    h.setCellSpan(0, 14, 1, 11);
    h.setHeaderRowHeight(0, 30);
    h.setHeaderRowHeight(1, 30);
    h.setSectionsClickable(true);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 36; ++c)
            h.setCellBackground(h.headerModel()->index(r, c), kBackground);
    h.setCellForeground(0, 3, Qt::white);
}

QPoint centreOf(const RbTableHeaderView& h, int section, int level) {
    return QPoint(h.sectionViewportPosition(section) + h.sectionSize(section) / 2, level * 30 + 15);
}

bool isBackground(const QImage& img, int x, int y) {
    return img.pixelColor(x, y) == kBackground;
}

// x range [first, last] of pixels in row y that differ from the background.
QPair<int, int> inkSpan(const QImage& img, int y, int from, int to) {
    int first = -1, last = -1;
    for (int x = from; x < to; ++x)
        if (!isBackground(img, x, y)) {
            if (first < 0)
                first = x;
            last = x;
        }
    return {first, last};
}

} // namespace

class TestRbTableHeaderView : public QObject {
    Q_OBJECT
  private slots:
    void modelClampsAndIgnoresSpans();
    void modelRefusesForeignAndOutOfRangeIndexes();
    void pressesReportMergedRanges();
    void pressesOnCellsMergedAcrossBoth();
    void headerIsAsTallAsItsLevels();
    void resizingKeepsCellsInStep();
    void paintsMergedCellsWhole();
    void worksAsATablesHeader();
};

void TestRbTableHeaderView::modelClampsAndIgnoresSpans() {
    RbTableHeaderModel m(2, 36);
    QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);

    QVERIFY(m.setData(m.index(0, 33), 5, kColumnSpan));
    QCOMPARE(m.data(m.index(0, 33), kColumnSpan), QVariant(3));
    QVERIFY(m.setData(m.index(0, 3), 11, kColumnSpan));
    QCOMPARE(m.data(m.index(0, 3), kColumnSpan), QVariant(11));
    QVERIFY(m.setData(m.index(1, 0), 4, kRowSpan));
    QCOMPARE(m.data(m.index(1, 0), kRowSpan), QVariant(1));

    // Zero and negative spans are taken quietly and store nothing.
    QVERIFY(m.setData(m.index(0, 5), 0, kRowSpan));
    QVERIFY(m.setData(m.index(0, 5), -2, kColumnSpan));
    QVERIFY(!m.data(m.index(0, 5), kRowSpan).isValid());
    QVERIFY(!m.data(m.index(0, 5), kColumnSpan).isValid());
    QCOMPARE(changed.count(), 3);

    // Other roles are kept as given; cells persist between look-ups.
    QVERIFY(m.setData(m.index(1, 7), QSize(80, 30), Qt::SizeHintRole));
    QCOMPARE(m.data(m.index(1, 7), Qt::SizeHintRole), QVariant(QSize(80, 30)));
    QCOMPARE(m.index(1, 7).internalPointer(), m.index(1, 7).internalPointer());
    QVERIFY(m.flags(m.index(1, 7)).testFlag(Qt::ItemIsEditable));
    QCOMPARE(m.flags(QModelIndex()), Qt::ItemIsEnabled);
}

void TestRbTableHeaderView::modelRefusesForeignAndOutOfRangeIndexes() {
    RbTableHeaderModel m(2, 3);
    QVERIFY(!m.index(2, 0).isValid());
    QVERIFY(!m.index(0, -1).isValid());
    QVERIFY(!m.setData(QModelIndex(), "x", Qt::DisplayRole));
    QVERIFY(!m.data(QModelIndex(), Qt::DisplayRole).isValid());

    // An index of another model must not be taken for one of ours.
    QStandardItemModel other(2, 3);
    const QModelIndex foreign = other.index(1, 1);
    QVERIFY(!m.setData(foreign, "x", Qt::DisplayRole));
    QVERIFY(!m.data(foreign, Qt::DisplayRole).isValid());
    QVERIFY(!m.index(0, 0, foreign).isValid());

    RbTableHeaderModel empty(0, 0);
    QVERIFY(!empty.index(0, 0).isValid());
}

void TestRbTableHeaderView::pressesReportMergedRanges() {
    RbTableHeaderView h(Qt::Horizontal, 2, 36);
    buildListHeader(h);
    h.resize(1200, 60);
    QSignalSpy pressed(&h, &RbTableHeaderView::sectionPressed);
    auto press = [&](QPoint at) {
        pressed.clear();
        QTest::mousePress(h.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(h.viewport(), Qt::LeftButton, {}, at);
        return pressed.isEmpty() ? QVariantList() : pressed.takeFirst();
    };

    QCOMPARE(press(centreOf(h, 7, 0)), QVariantList({3, 13}));
    QCOMPARE(press(centreOf(h, 14, 0)), QVariantList({14, 24}));
    QCOMPARE(press(centreOf(h, 7, 1)), QVariantList());
    // A cell over both levels with a column span of 1 reports its own section from either.
    QCOMPARE(press(centreOf(h, 1, 0)), QVariantList({1, 1}));
    QCOMPARE(press(centreOf(h, 1, 1)), QVariantList({1, 1}));
    // Below the levels there is no cell.
    h.resize(1200, 90);
    QCOMPARE(press(centreOf(h, 1, 2)), QVariantList());

    // Merged over levels only: never reported.
    RbTableHeaderView rowsOnly(Qt::Horizontal, 2, 4);
    rowsOnly.setCellSpan(0, 2, 2, 0);
    rowsOnly.resize(400, 40);
    QSignalSpy rowsPressed(&rowsOnly, &RbTableHeaderView::sectionPressed);
    QTest::mousePress(rowsOnly.viewport(), Qt::LeftButton, {}, QPoint(250, 5));
    QTest::mousePress(rowsOnly.viewport(), Qt::LeftButton, {}, QPoint(250, 35));
    QCOMPARE(rowsPressed.count(), 0);
}

void TestRbTableHeaderView::pressesOnCellsMergedAcrossBoth() {
    // A block of 2 levels x 3 sections from (0, 1): any press inside reports 1..3; a press on
    // level 1 of a section beside it reports nothing.
    RbTableHeaderView h(Qt::Horizontal, 3, 6);
    h.setCellSpan(0, 1, 2, 3);
    h.resize(600, 60);
    QSignalSpy pressed(&h, &RbTableHeaderView::sectionPressed);
    QTest::mousePress(h.viewport(), Qt::LeftButton, {},
                      QPoint(h.sectionViewportPosition(3) + 5, 30));
    QTest::mousePress(h.viewport(), Qt::LeftButton, {},
                      QPoint(h.sectionViewportPosition(4) + 5, 30));
    QTest::mousePress(h.viewport(), Qt::LeftButton, {},
                      QPoint(h.sectionViewportPosition(2) + 5, 50));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.first(), QVariantList({1, 3}));

    // The same block on a vertical header reports rows.
    RbTableHeaderView v(Qt::Vertical, 6, 3);
    v.setCellSpan(1, 0, 3, 2);
    v.resize(150, 600);
    QSignalSpy vPressed(&v, &RbTableHeaderView::sectionPressed);
    QTest::mousePress(v.viewport(), Qt::LeftButton, {},
                      QPoint(75, v.sectionViewportPosition(3) + 5));
    QTest::mousePress(v.viewport(), Qt::LeftButton, {},
                      QPoint(125, v.sectionViewportPosition(3) + 5));
    QCOMPARE(vPressed.count(), 1);
    QCOMPARE(vPressed.first(), QVariantList({1, 3}));
}

void TestRbTableHeaderView::headerIsAsTallAsItsLevels() {
    // Even where no cell spans every level, each section needs room for all of them.
    Probe plain(Qt::Horizontal, 2, 5);
    plain.setHeaderRowHeight(0, 30);
    plain.setHeaderRowHeight(1, 25);
    QCOMPARE(plain.contentsSize(3), QSize(plain.defaultSectionSize(), 55));
    QCOMPARE(plain.sizeHint().height(), 55);

    Probe list(Qt::Horizontal, 2, 36);
    buildListHeader(list);
    QCOMPARE(list.sizeHint().height(), 60);
    QCOMPARE(list.contentsSize(0).height(), 60);
    QCOMPARE(list.contentsSize(7).height(), 60);

    Probe vertical(Qt::Vertical, 4, 3);
    QCOMPARE(vertical.contentsSize(1), QSize(150, vertical.defaultSectionSize()));

    Probe none(Qt::Horizontal, 0, 5);
    QCOMPARE(none.contentsSize(2), none.baseSize(2));
}

void TestRbTableHeaderView::resizingKeepsCellsInStep() {
    RbTableHeaderView h(Qt::Horizontal, 2, 36);
    buildListHeader(h);
    RbTableHeaderModel* m = h.headerModel();
    h.resizeSection(5, 137);
    QCOMPARE(m->data(m->index(0, 5), Qt::SizeHintRole).toSize(), QSize(137, 30));
    QCOMPARE(m->data(m->index(1, 5), Qt::SizeHintRole).toSize(), QSize(137, 30));
    // A hidden section takes no room inside a merged cell and gets it back when shown.
    h.hideSection(4);
    QCOMPARE(m->data(m->index(1, 4), Qt::SizeHintRole).toSize().width(), 0);
    h.showSection(4);
    QCOMPARE(m->data(m->index(1, 4), Qt::SizeHintRole).toSize().width(), h.sectionSize(4));

    // A vertical header's row height is its section size.
    RbTableHeaderView v(Qt::Vertical, 5, 2);
    v.setHeaderRowHeight(2, 44);
    QCOMPARE(v.sectionSize(2), 44);
    QCOMPARE(v.headerModel()->data(v.headerModel()->index(2, 1), Qt::SizeHintRole).toSize(),
             QSize(50, 44));
}

void TestRbTableHeaderView::paintsMergedCellsWhole() {
    RbTableHeaderView h(Qt::Horizontal, 2, 36);
    buildListHeader(h);
    h.resize(36 * 40, 60);
    for (int c = 0; c < 36; ++c)
        h.resizeSection(c, 40);
    h.hideSection(9);
    const QImage img = h.grab().toImage();

    // "Standard" over sections 3..13 (9 hidden): one text, centred in the merged rectangle,
    // and no panel edges inside it.
    const int left = h.sectionViewportPosition(3);
    const int right = h.sectionViewportPosition(13) + h.sectionSize(13) - 1;
    const auto ink = inkSpan(img, 15, left + 2, right - 1);
    QVERIFY(ink.first > 0);
    QVERIFY(ink.second - ink.first < 80);
    QVERIFY(qAbs((ink.first + ink.second) / 2 - (left + right) / 2) <= 3);
    int lightest = 0;
    for (int x = ink.first; x <= ink.second; ++x)
        lightest = qMax(lightest, img.pixelColor(x, 15).lightness());
    QVERIFY(lightest > 200); // its own text colour
    for (int s : {4, 5, 11, 12, 13})
        QVERIFY2(isBackground(img, h.sectionViewportPosition(s), 8),
                 qPrintable(QString::number(s)));
    QVERIFY(!isBackground(img, right, 8));

    // Second level: a panel per section with its own edges.
    QVERIFY(!isBackground(img, h.sectionViewportPosition(5) - 1, 45));
    // "NO" spans both levels: no edge between them.
    QVERIFY(isBackground(img, 3, 29));
    QVERIFY(isBackground(img, 3, 30));
    // A cell with no span and no text is an empty raised panel of its own size.
    const int x30 = h.sectionViewportPosition(30);
    QCOMPARE(inkSpan(img, 15, x30 + 2, x30 + 38), qMakePair(-1, -1));
    QCOMPARE(inkSpan(img, 45, x30 + 2, x30 + 38), qMakePair(-1, -1));
    QVERIFY(!isBackground(img, x30 + 39, 20));
    QVERIFY(!isBackground(img, x30 + 20, 29));
}

void TestRbTableHeaderView::worksAsATablesHeader() {
    QTableWidget table;
    auto* header = new RbTableHeaderView(Qt::Horizontal, 2, 36);
    buildListHeader(*header);
    table.setHorizontalHeader(header);
    table.setColumnCount(36);
    table.setRowCount(16384);
    table.resize(1200, 400);
    QCOMPARE(table.horizontalHeader(), header);
    QCOMPARE(header->model(), header->headerModel());
    QCOMPARE(header->count(), 36);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QCOMPARE(header->height(), 60);

    // The view's own selection still follows a plain press.
    QSignalSpy pressed(header, &RbTableHeaderView::sectionPressed);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centreOf(*header, 4, 0));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.first(), QVariantList({3, 13}));
    QVERIFY(table.selectionModel()->isColumnSelected(4, QModelIndex()));

    // A view that later puts its own model on the header gets a plain header, not a crash.
    QTableView view;
    auto* replaced = new RbTableHeaderView(Qt::Horizontal, 2, 6);
    buildListHeader(*replaced);
    view.setHorizontalHeader(replaced);
    QStandardItemModel other(3, 4);
    view.setModel(&other);
    QCOMPARE(replaced->count(), 4);
    view.grab();
    QSignalSpy replacedPressed(replaced, &RbTableHeaderView::sectionPressed);
    QTest::mouseClick(replaced->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(replacedPressed.count(), 0);
}

QTEST_MAIN(TestRbTableHeaderView)
#include "tst_rbtableheaderview.moc"
