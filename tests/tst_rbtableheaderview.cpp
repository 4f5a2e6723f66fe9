// The merged-cell header: its model's spans, presses, painting and sizes, on a header laid out
// like the comparison list's.
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

class Probe : public RbTableHeaderView {
  public:
    using RbTableHeaderView::RbTableHeaderView;
    QSize contentsSize(int section) const { return sectionSizeFromContents(section); }
    QSize baseSize(int section) const { return QHeaderView::sectionSizeFromContents(section); }
};

// Two levels of 30 px over 36 columns: "NO" and others over both levels, "Standard" over
// 3..13 and "Sample" over 14..24 above their column titles.
void buildListHeader(RbTableHeaderView& h) {
    h.setCellText(0, 0, "NO");
    h.setCellText(0, 3, "Standard");
    h.setCellText(0, 14, "Sample");
    for (int c = 3; c < 25; ++c)
        h.setCellText(1, c, "L*");
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

// First and last x in [from, to) of row y that is not background, -1 when none.
QPair<int, int> inkSpan(const QImage& img, int y, int from, int to) {
    QPair<int, int> span(-1, -1);
    for (int x = from; x < to; ++x)
        if (!isBackground(img, x, y))
            span = {span.first < 0 ? x : span.first, x};
    return span;
}

} // namespace

class TestRbTableHeaderView : public QObject {
    Q_OBJECT
  private slots:
    void modelSpansAndIndexes();
    void pressesReportMergedRanges();
    void sizesFollowLevelsAndSections();
    void paintsMergedCellsWhole();
    void worksAsATablesHeader();
};

void TestRbTableHeaderView::modelSpansAndIndexes() {
    RbTableHeaderModel m(2, 36);
    QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
    QVERIFY(m.setData(m.index(0, 33), 5, kColumnSpan));
    QCOMPARE(m.data(m.index(0, 33), kColumnSpan), QVariant(3));
    QVERIFY(m.setData(m.index(1, 0), 4, kRowSpan));
    QCOMPARE(m.data(m.index(1, 0), kRowSpan), QVariant(1));
    // Zero and negative spans are taken quietly and store nothing.
    QVERIFY(m.setData(m.index(0, 5), 0, kRowSpan));
    QVERIFY(m.setData(m.index(0, 5), -2, kColumnSpan));
    QVERIFY(!m.data(m.index(0, 5), kRowSpan).isValid());
    QVERIFY(!m.data(m.index(0, 5), kColumnSpan).isValid());
    QCOMPARE(changed.count(), 2);

    // An index of another model carries a pointer that is not a header cell.
    QStandardItemModel other(2, 36);
    QVERIFY(!m.setData(other.index(1, 1), "x", Qt::DisplayRole));
    QVERIFY(!m.data(other.index(1, 1), Qt::DisplayRole).isValid());
    QVERIFY(!m.index(0, 0, other.index(1, 1)).isValid());
}

void TestRbTableHeaderView::pressesReportMergedRanges() {
    RbTableHeaderView h(Qt::Horizontal, 2, 36);
    buildListHeader(h);
    h.resize(1200, 90);
    QSignalSpy pressed(&h, &RbTableHeaderView::sectionPressed);
    auto press = [&](QPoint at) {
        pressed.clear();
        QTest::mousePress(h.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(h.viewport(), Qt::LeftButton, {}, at);
        return pressed.isEmpty() ? QVariantList() : pressed.takeFirst();
    };
    QCOMPARE(press(centreOf(h, 7, 0)), QVariantList({3, 13}));
    QCOMPARE(press(centreOf(h, 7, 1)), QVariantList());
    // Over both levels with a column span of 1: its own section, from either level.
    QCOMPARE(press(centreOf(h, 1, 0)), QVariantList({1, 1}));
    QCOMPARE(press(centreOf(h, 1, 1)), QVariantList({1, 1}));
    QCOMPARE(press(centreOf(h, 1, 2)), QVariantList()); // below the levels

    // Merged over levels only: never reported. A block over sections 1..3 and levels 0..1
    // is reported from its lower level too.
    RbTableHeaderView g(Qt::Horizontal, 3, 6);
    g.setCellSpan(0, 5, 2, 0);
    g.setCellSpan(0, 1, 2, 3);
    g.resize(600, 60);
    QSignalSpy gPressed(&g, &RbTableHeaderView::sectionPressed);
    QTest::mousePress(g.viewport(), Qt::LeftButton, {},
                      QPoint(g.sectionViewportPosition(5) + 5, 5));
    QTest::mousePress(g.viewport(), Qt::LeftButton, {},
                      QPoint(g.sectionViewportPosition(5) + 5, 30));
    QTest::mousePress(g.viewport(), Qt::LeftButton, {},
                      QPoint(g.sectionViewportPosition(4) + 5, 30));
    QTest::mousePress(g.viewport(), Qt::LeftButton, {},
                      QPoint(g.sectionViewportPosition(2) + 5, 50));
    QTest::mousePress(g.viewport(), Qt::LeftButton, {},
                      QPoint(g.sectionViewportPosition(3) + 5, 30));
    QCOMPARE(gPressed.count(), 1);
    QCOMPARE(gPressed.first(), QVariantList({1, 3}));
}

void TestRbTableHeaderView::sizesFollowLevelsAndSections() {
    // Each section needs room for every level, even where no cell spans them all.
    Probe plain(Qt::Horizontal, 2, 5);
    plain.setHeaderRowHeight(0, 30);
    plain.setHeaderRowHeight(1, 25);
    QCOMPARE(plain.contentsSize(3), QSize(plain.defaultSectionSize(), 55));
    QCOMPARE(plain.sizeHint().height(), 55);
    Probe none(Qt::Horizontal, 0, 5);
    QCOMPARE(none.contentsSize(2), none.baseSize(2));

    RbTableHeaderView h(Qt::Horizontal, 2, 36);
    buildListHeader(h);
    const RbTableHeaderModel* m = h.headerModel();
    h.resizeSection(5, 137);
    QCOMPARE(m->data(m->index(0, 5), Qt::SizeHintRole).toSize(), QSize(137, 30));
    QCOMPARE(m->data(m->index(1, 5), Qt::SizeHintRole).toSize(), QSize(137, 30));
}

void TestRbTableHeaderView::paintsMergedCellsWhole() {
    RbTableHeaderView h(Qt::Horizontal, 2, 36);
    buildListHeader(h);
    h.resize(36 * 40, 60);
    for (int c = 0; c < 36; ++c)
        h.resizeSection(c, 40);
    h.hideSection(9);
    const QImage img = h.grab().toImage();

    // "Standard" over 3..13 (9 hidden): one text in its own colour, centred in the merged
    // rectangle, and no panel edges inside that rectangle.
    const int left = h.sectionViewportPosition(3);
    const int right = h.sectionViewportPosition(13) + 39;
    const auto ink = inkSpan(img, 15, left + 2, right - 1);
    QVERIFY(ink.first > 0 && ink.second - ink.first < 80);
    QVERIFY(qAbs((ink.first + ink.second) / 2 - (left + right) / 2) <= 3);
    int lightest = 0;
    for (int x = ink.first; x <= ink.second; ++x)
        lightest = qMax(lightest, img.pixelColor(x, 15).lightness());
    QVERIFY(lightest > 200);
    for (int s : {4, 5, 11, 12, 13})
        QVERIFY2(isBackground(img, h.sectionViewportPosition(s), 8),
                 qPrintable(QString::number(s)));
    QVERIFY(!isBackground(img, right, 8));
    QVERIFY(!isBackground(img, h.sectionViewportPosition(5) - 1, 45)); // second level: per section
    QVERIFY(isBackground(img, 3, 29) && isBackground(img, 3, 30));     // "NO" over both levels

    // No span and no text: an empty raised panel of its own size.
    const int x30 = h.sectionViewportPosition(30);
    QCOMPARE(inkSpan(img, 15, x30 + 2, x30 + 38), qMakePair(-1, -1));
    QVERIFY(!isBackground(img, x30 + 39, 20) && !isBackground(img, x30 + 20, 29));
}

void TestRbTableHeaderView::worksAsATablesHeader() {
    QTableWidget table;
    auto* header = new RbTableHeaderView(Qt::Horizontal, 2, 36);
    buildListHeader(*header);
    table.setHorizontalHeader(header);
    table.setColumnCount(36);
    table.setRowCount(16384);
    table.resize(1200, 400);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QCOMPARE(header->model(), header->headerModel());
    QCOMPARE(header->height(), 60);
    QSignalSpy pressed(header, &RbTableHeaderView::sectionPressed);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centreOf(*header, 4, 0));
    QCOMPARE(pressed.count(), 1);
    QVERIFY(table.selectionModel()->isColumnSelected(4, QModelIndex()));

    // A view that later puts its own model on the header gets a plain header, not a crash.
    QTableView view;
    auto* replaced = new RbTableHeaderView(Qt::Horizontal, 2, 6);
    view.setHorizontalHeader(replaced);
    QStandardItemModel other(3, 4);
    view.setModel(&other);
    view.grab();
    QTest::mouseClick(replaced->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
}

QTEST_MAIN(TestRbTableHeaderView)
#include "tst_rbtableheaderview.moc"
