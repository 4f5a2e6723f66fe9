#include "historywindow.h"

#include "verdict.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace history {

void HistoryQueryModel::reset(HistoryDatabase* db, const HistoryFilter& filter) {
    beginResetModel();
    db_ = db;
    filter_ = filter;
    rows_ = 0;
    atEnd_ = db == nullptr;
    pageEnds_.clear();
    pages_.clear();
    recent_.clear();
    endResetModel();
    // The first page at once: the view shows it without scrolling.
    if (canFetchMore({}))
        fetchMore({});
}

int HistoryQueryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int HistoryQueryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

bool HistoryQueryModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !atEnd_;
}

HistoryQueryModel::Page HistoryQueryModel::load(int page) const {
    Page rows;
    if (!db_)
        return rows;
    const std::optional<HistoryKey> after =
        page > 0 ? std::optional<HistoryKey>(pageEnds_.value(page - 1)) : std::nullopt;
    const QVector<HistoryComparison> found = db_->page(filter_, after, kPageRows);
    rows.reserve(found.size());
    for (const HistoryComparison& c : found)
        rows.append(Row{c.id, c.name, c.serial, c.model, c.station, c.lot, c.measuredAt, c.source,
                        c.layout, c.displayMode, c.deltaHaze, c.deltaT, c.deltaE, c.pass});
    return rows;
}

void HistoryQueryModel::keep(int page, Page rows) const {
    pages_[page] = std::move(rows);
    recent_.remove(page);
    recent_.push_front(page);
    while (int(recent_.size()) > kKeptPages) {
        pages_.erase(recent_.back());
        recent_.pop_back();
    }
}

void HistoryQueryModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    const int page = int(pageEnds_.size());
    Page rows = load(page);
    atEnd_ = rows.size() < kPageRows;
    if (rows.isEmpty())
        return;
    const Row& last = rows.last();
    pageEnds_.append({isoUtc(last.measuredAt), last.id});
    beginInsertRows({}, rows_, rows_ + int(rows.size()) - 1);
    rows_ += int(rows.size());
    keep(page, std::move(rows));
    endInsertRows();
}

const HistoryQueryModel::Row* HistoryQueryModel::rowAt(int row) const {
    if (row < 0 || row >= rows_)
        return nullptr;
    const int page = row / kPageRows;
    auto it = pages_.find(page);
    if (it == pages_.end()) {
        keep(page, load(page));
        it = pages_.find(page);
    } else if (recent_.front() != page) {
        recent_.remove(page);
        recent_.push_front(page);
    }
    // A page read again may be shorter: rows deleted since are not shown.
    const int at = row % kPageRows;
    return at < it->second.size() ? &it->second.at(at) : nullptr;
}

QString HistoryQueryModel::idAt(int row) const {
    const Row* r = rowAt(row);
    return r ? r->id : QString();
}

namespace {

QVariant optionalValue(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant();
}

// The differences a verdict was reached by, as colour::passes judges each display mode; the
// others were stored as the instrument's zeros and mean nothing.
struct Judged {
    bool haze = false, t = false, deltaE = false;
};
Judged judgedBy(Layout layout, int displayMode) {
    if (layout == Layout::Old)
        return {false, false, true};
    switch (displayMode) {
    case 0:
        return {true, true, false};
    case 1:
        return {true, false, false};
    case 2:
        return {false, true, false};
    case 3:
    case 4:
    case 5:
        return {false, false, true};
    case 6:
        return {true, true, true};
    default:
        return {};
    }
}

} // namespace

QString HistoryQueryModel::sourceText(history::Source source) {
    switch (source) {
    case history::Source::Live:
        //: A comparison measured from the program (Scan Sample).
        return tr("Measured");
    case history::Source::Pushed:
        //: A comparison the instrument sent when measured on its own keys.
        return tr("Sent by instrument");
    case history::Source::Imported:
        //: A comparison read from the records stored in the instrument.
        return tr("Imported");
    }
    return {};
}

QString HistoryQueryModel::modeText(Layout layout, int displayMode) {
    // The words of the workspace's display-mode buttons.
    if (layout == Layout::Old)
        return tr("L*a*b*C*h");
    switch (displayMode) {
    case 0:
        return tr("Haze/T");
    case 1:
        return tr("Haze");
    case 2:
        return tr("T");
    case 3:
        return tr("Lab");
    case 4:
        return tr("LCh");
    case 5:
        return tr("Yxy");
    case 6:
        return tr("Haze/T/Lab");
    default:
        return QString::number(displayMode);
    }
}

QVariant HistoryQueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() >= DisplayMode ? QVariant(int(Qt::AlignCenter)) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::BackgroundRole)
        return {};
    const Row* r = rowAt(index.row());
    if (!r)
        return {};
    const bool shown = role == Qt::DisplayRole;
    if (role == Qt::BackgroundRole)
        return index.column() == Verdict ? QVariant(QColor(colour::verdictCellColour(r->pass)))
                                         : QVariant();
    switch (index.column()) {
    case Id:
        return r->id;
    case MeasuredAt:
        return shown ? QVariant(r->measuredAt.toLocalTime().toString(
                           QStringLiteral("yyyy/MM/dd  hh:mm:ss")))
                     : QVariant(isoUtc(r->measuredAt));
    case Name:
        return r->name;
    case Serial:
        return r->serial;
    case Model:
        return r->model;
    case Station:
        return r->station;
    case Lot:
        return r->lot;
    case Source:
        return shown ? sourceText(r->source) : sourceName(r->source);
    case DisplayMode:
        return shown ? QVariant(modeText(r->layout, r->displayMode)) : QVariant(r->displayMode);
    case DeltaHaze:
    case DeltaT:
    case DeltaE: {
        const int column = index.column();
        const std::optional<double>& value = column == DeltaHaze ? r->deltaHaze
                                             : column == DeltaT  ? r->deltaT
                                                                 : r->deltaE;
        if (!shown)
            return optionalValue(value);
        const Judged judged = judgedBy(r->layout, r->displayMode);
        if (!value || !(column == DeltaHaze ? judged.haze
                        : column == DeltaT  ? judged.t
                                            : judged.deltaE))
            return QString();
        // Haze and T differences are percentage points, as the workspace's list shows them.
        const QString text = QString::number(*value, 'f', 2);
        return column == DeltaE ? text : text + QLatin1Char('%');
    }
    case Verdict:
        return shown ? colour::verdictText(r->pass)
                     : (r->pass ? QStringLiteral("PASS") : QStringLiteral("NG"));
    default:
        return {};
    }
}

QVariant HistoryQueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Id:
        return QStringLiteral("id");
    case MeasuredAt:
        return tr("Measured at");
    case Name:
        return tr("Name");
    case Serial:
        return tr("Serial number");
    case Model:
        return tr("Model");
    case Station:
        return tr("Station");
    case Lot:
        return tr("Lot");
    case Source:
        return tr("Source");
    case DisplayMode:
        return tr("Display mode");
    case DeltaHaze:
        return tr("△Haze");
    case DeltaT:
        return tr("△T");
    case DeltaE:
        return tr("△E");
    case Verdict:
        return tr("Verdict");
    default:
        return {};
    }
}

void HistoryCounter::count(int generation, const HistoryFilter& filter) {
    if (!db_) {
        db_ = std::make_unique<HistoryDatabase>();
        if (!db_->open(url_)) {
            db_.reset();
            emit counted(generation, -1, 0);
            return;
        }
    }
    const std::optional<HistoryCounts> counts = db_->counts(filter);
    emit counted(generation, counts ? counts->rows : -1, counts ? counts->passes : 0);
}

HistoryWindow::HistoryWindow(QWidget* parent)
    : QWidget(parent), model_(new HistoryQueryModel(this)), view_(new QTableView(this)),
      fromOn_(new QCheckBox(this)), toOn_(new QCheckBox(this)), from_(new QDateTimeEdit(this)),
      to_(new QDateTimeEdit(this)), serial_(new QLineEdit(this)), name_(new QLineEdit(this)),
      verdict_(new QComboBox(this)), product_(new QLineEdit(this)), lot_(new QLineEdit(this)),
      station_(new QLineEdit(this)), sources_(new QComboBox(this)), productLabel_(new QLabel(this)),
      lotLabel_(new QLabel(this)), stationLabel_(new QLabel(this)), sourcesLabel_(new QLabel(this)),
      serialLabel_(new QLabel(this)), nameLabel_(new QLabel(this)), verdictLabel_(new QLabel(this)),
      counts_(new QLabel(this)), state_(new QLabel(this)), databaseLabel_(new QLabel(this)),
      database_(new QLineEdit(this)), applyDatabase_(new QPushButton(this)),
      export_(new QPushButton(this)), report_(new QPushButton(this)), debounce_(new QTimer(this)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowFlag(Qt::Window);
    fromOn_->setObjectName(QStringLiteral("checkBox_historyFrom"));
    toOn_->setObjectName(QStringLiteral("checkBox_historyTo"));
    from_->setObjectName(QStringLiteral("dateTimeEdit_historyFrom"));
    to_->setObjectName(QStringLiteral("dateTimeEdit_historyTo"));
    serial_->setObjectName(QStringLiteral("lineEdit_historySerial"));
    name_->setObjectName(QStringLiteral("lineEdit_historyName"));
    verdict_->setObjectName(QStringLiteral("comboBox_historyVerdict"));
    product_->setObjectName(QStringLiteral("lineEdit_historyProduct"));
    lot_->setObjectName(QStringLiteral("lineEdit_historyLot"));
    station_->setObjectName(QStringLiteral("lineEdit_historyStation"));
    sources_->setObjectName(QStringLiteral("comboBox_historySources"));
    database_->setObjectName(QStringLiteral("lineEdit_historyDatabase"));
    applyDatabase_->setObjectName(QStringLiteral("pushButton_historyDatabase"));
    export_->setObjectName(QStringLiteral("pushButton_historyExport"));
    report_->setObjectName(QStringLiteral("pushButton_historyReport"));
    view_->setObjectName(QStringLiteral("tableView_history"));
    counts_->setObjectName(QStringLiteral("label_historyCounts"));
    const QDateTime now = QDateTime::currentDateTime();
    from_->setDateTime(QDateTime(now.date().addMonths(-1), QTime(0, 0)));
    to_->setDateTime(QDateTime(now.date().addDays(1), QTime(0, 0)));
    from_->setDisplayFormat(QStringLiteral("yyyy/MM/dd hh:mm"));
    to_->setDisplayFormat(QStringLiteral("yyyy/MM/dd hh:mm"));
    from_->setCalendarPopup(true);
    to_->setCalendarPopup(true);
    from_->setEnabled(false);
    to_->setEnabled(false);
    verdict_->addItem(QString());
    verdict_->addItem(QString(), true);
    verdict_->addItem(QString(), false);
    serialLabel_->setBuddy(serial_);
    nameLabel_->setBuddy(name_);
    verdictLabel_->setBuddy(verdict_);
    productLabel_->setBuddy(product_);
    lotLabel_->setBuddy(lot_);
    stationLabel_->setBuddy(station_);
    sourcesLabel_->setBuddy(sources_);
    sources_->addItem(QString());
    sources_->addItem(QString());
    sources_->setEnabled(false);
    databaseLabel_->setBuddy(database_);

    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table; the arrows move inside it.
    view_->setTabKeyNavigation(false);
    view_->verticalHeader()->hide();
    // Fixed row heights: with a million rows the view must not measure each one.
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Column widths are measured on the first page only, never on rows still to be read.
    view_->horizontalHeader()->setResizeContentsPrecision(HistoryQueryModel::kPageRows);
    // The name takes the room left over, not the verdict's colour.
    view_->viewport()->installEventFilter(this);

    // Laid out in the order Tab goes: filters, database, table, actions.
    auto* filters = new QHBoxLayout;
    filters->addWidget(serialLabel_);
    filters->addWidget(serial_, 1);
    filters->addWidget(nameLabel_);
    filters->addWidget(name_, 1);
    filters->addWidget(verdictLabel_);
    filters->addWidget(verdict_);
    filters->addSpacing(12);
    filters->addWidget(fromOn_);
    filters->addWidget(from_);
    filters->addWidget(toOn_);
    filters->addWidget(to_);
    auto* more = new QHBoxLayout;
    more->addWidget(productLabel_);
    more->addWidget(product_, 1);
    more->addWidget(lotLabel_);
    more->addWidget(lot_, 1);
    more->addWidget(stationLabel_);
    more->addWidget(station_, 1);
    auto* database = new QHBoxLayout;
    database->addWidget(sourcesLabel_);
    database->addWidget(sources_);
    database->addSpacing(12);
    database->addWidget(databaseLabel_);
    database->addWidget(database_, 1);
    database->addWidget(applyDatabase_);
    database->addWidget(state_);
    auto* actions = new QHBoxLayout;
    actions->addWidget(counts_, 1);
    actions->addWidget(export_);
    actions->addWidget(report_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(more);
    layout->addLayout(database);
    layout->addWidget(view_, 1);
    layout->addLayout(actions);
    QWidget* order[] = {serial_,  name_,  verdict_, fromOn_,  from_,     toOn_,          to_,
                        product_, lot_,   station_, sources_, database_, applyDatabase_, view_,
                        export_,  report_};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    serial_->setFocus();

    debounce_->setSingleShot(true);
    debounce_->setInterval(250);
    connect(debounce_, &QTimer::timeout, this, &HistoryWindow::refresh);
    const auto later = [this] { debounce_->start(); };
    connect(fromOn_, &QCheckBox::toggled, from_, &QWidget::setEnabled);
    connect(toOn_, &QCheckBox::toggled, to_, &QWidget::setEnabled);
    connect(fromOn_, &QCheckBox::toggled, this, later);
    connect(toOn_, &QCheckBox::toggled, this, later);
    connect(from_, &QDateTimeEdit::dateTimeChanged, this, later);
    connect(to_, &QDateTimeEdit::dateTimeChanged, this, later);
    connect(serial_, &QLineEdit::textChanged, this, later);
    connect(name_, &QLineEdit::textChanged, this, later);
    connect(verdict_, &QComboBox::currentIndexChanged, this, later);
    for (QLineEdit* edit : {product_, lot_, station_})
        connect(edit, &QLineEdit::textChanged, this, later);
    connect(sources_, &QComboBox::currentIndexChanged, this,
            [this] { setDatabase(showsLab() ? lab_ : own_); });
    connect(export_, &QPushButton::clicked, this, [this] {
        const QStringList ids = selectedIds();
        if (!ids.isEmpty())
            emit exportRequested(ids);
    });
    connect(report_, &QPushButton::clicked, this, [this] {
        const QStringList ids = selectedIds();
        if (!ids.isEmpty())
            emit reportRequested(ids.first());
    });
    connect(view_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit reportRequested(model_->idAt(index.row())); });
    connect(database_, &QLineEdit::returnPressed, applyDatabase_, &QPushButton::click);
    connect(applyDatabase_, &QPushButton::clicked, this, [this] {
        const QString text = database_->text().trimmed();
        const HistoryUrl url = HistoryUrl::parse(text);
        if (!text.isEmpty() && !url.isValid()) {
            setHistoryState(false, url.error);
            return;
        }
        emit databaseChosen(text);
    });
    retranslate();
}

HistoryWindow::~HistoryWindow() {
    view_->viewport()->removeEventFilter(this);
    if (isVisible())
        keepGeometry();
    stopCounter();
    model_->reset(nullptr, {});
}

void HistoryWindow::stopCounter() {
    if (!counter_)
        return;
    QMetaObject::invokeMethod(counter_, &HistoryCounter::stop, Qt::BlockingQueuedConnection);
    countThread_.quit();
    countThread_.wait();
    counter_ = nullptr;
}

bool HistoryWindow::setDatabase(const HistoryUrl& url) {
    shown_ = url;
    model_->reset(nullptr, {});
    stopCounter();
    counted_ = false;
    counts_->clear();
    if (!db_.open(url)) {
        setHistoryState(false, db_.failure().message);
        return false;
    }
    counter_ = new HistoryCounter(url);
    counter_->moveToThread(&countThread_);
    connect(&countThread_, &QThread::finished, counter_, &QObject::deleteLater);
    connect(counter_, &HistoryCounter::counted, this, &HistoryWindow::showCounts);
    countThread_.start();
    refresh();
    return true;
}

void HistoryWindow::setSources(const HistoryUrl& own, const HistoryUrl& lab) {
    own_ = own;
    lab_ = lab;
    {
        const QSignalBlocker blocker(sources_);
        if (!lab.isValid())
            sources_->setCurrentIndex(0);
        sources_->setEnabled(lab.isValid());
    }
    setDatabase(showsLab() ? lab_ : own_);
}

bool HistoryWindow::showsLab() const {
    return lab_.isValid() && sources_->currentIndex() == 1;
}

void HistoryWindow::setDatabaseText(const QString& text) {
    database_->setText(text);
}

HistoryFilter HistoryWindow::filter() const {
    HistoryFilter f;
    f.serial = serial_->text().trimmed();
    f.nameContains = name_->text().trimmed();
    if (fromOn_->isChecked())
        f.from = from_->dateTime();
    if (toOn_->isChecked())
        f.to = to_->dateTime();
    const QVariant verdict = verdict_->currentData();
    if (verdict.isValid())
        f.pass = verdict.toBool();
    f.productName = product_->text().trimmed();
    f.lot = lot_->text().trimmed();
    f.station = station_->text().trimmed();
    return f;
}

void HistoryWindow::setFilter(const HistoryFilter& f) {
    const QSignalBlocker blocks[] = {QSignalBlocker(serial_),  QSignalBlocker(name_),
                                     QSignalBlocker(fromOn_),  QSignalBlocker(toOn_),
                                     QSignalBlocker(from_),    QSignalBlocker(to_),
                                     QSignalBlocker(verdict_), QSignalBlocker(product_),
                                     QSignalBlocker(lot_),     QSignalBlocker(station_)};
    serial_->setText(f.serial);
    name_->setText(f.nameContains);
    fromOn_->setChecked(f.from.isValid());
    toOn_->setChecked(f.to.isValid());
    from_->setEnabled(f.from.isValid());
    to_->setEnabled(f.to.isValid());
    if (f.from.isValid())
        from_->setDateTime(f.from.toLocalTime());
    if (f.to.isValid())
        to_->setDateTime(f.to.toLocalTime());
    verdict_->setCurrentIndex(!f.pass ? 0 : (*f.pass ? 1 : 2));
    product_->setText(f.productName);
    lot_->setText(f.lot);
    station_->setText(f.station);
    refresh();
}

void HistoryWindow::refresh() {
    debounce_->stop();
    if (!db_.isOpen())
        return;
    // The model reads the rows a page at a time as the view scrolls to them.
    model_->reset(&db_, filter());
    view_->setColumnHidden(HistoryQueryModel::Id, true);
    // Sized once rows are there to measure; after that the user's widths stay.
    if (!columnsSized_)
        sizeColumns();
    updateCounts();
}

void HistoryWindow::sizeColumns() {
    view_->resizeColumnsToContents();
    nameWidth_ = view_->columnWidth(HistoryQueryModel::Name);
    columnsSized_ = model_->rowCount() > 0;
    fillWidth();
}

void HistoryWindow::fillWidth() {
    int others = 0;
    for (int c = 0; c < HistoryQueryModel::ColumnCount; ++c)
        if (c != HistoryQueryModel::Name && !view_->isColumnHidden(c))
            others += view_->columnWidth(c);
    view_->setColumnWidth(HistoryQueryModel::Name,
                          std::max(nameWidth_, view_->viewport()->width() - others));
}

bool HistoryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport() && event->type() == QEvent::Resize)
        fillWidth();
    return QWidget::eventFilter(watched, event);
}

void HistoryWindow::updateCounts() {
    if (!counter_)
        return;
    const int generation = ++generation_;
    const HistoryFilter f = filter();
    QMetaObject::invokeMethod(
        counter_, [counter = counter_, generation, f] { counter->count(generation, f); });
}

void HistoryWindow::showCounts(int generation, int rows, int passes) {
    // An answer to a filter the user has changed since is of no use.
    if (generation != generation_ || rows < 0)
        return;
    count_ = rows;
    counted_ = true;
    passRate_ = rows > 0 ? 100.0 * passes / rows : 0;
    emit countsChanged(count_, passRate_);
    counts_->setText(countsText());
}

QString HistoryWindow::countsText() const {
    if (!counted_)
        return {};
    // No pass rate of nothing.
    if (count_ == 0)
        return tr("No comparisons");
    return tr("%n comparison(s), %1% pass", nullptr, count_).arg(passRate_, 0, 'f', 1);
}

QStringList HistoryWindow::selectedIds() const {
    QStringList ids;
    for (const QModelIndex& row : view_->selectionModel()->selectedRows(HistoryQueryModel::Id))
        ids << model_->idAt(row.row());
    return ids;
}

void HistoryWindow::setHistoryState(bool on, const QString& message) {
    historyOn_ = on;
    historyMessage_ = message;
    retranslate();
}

void HistoryWindow::setSyncState(bool synced, int unsynced) {
    hasSyncState_ = true;
    synced_ = synced;
    unsynced_ = unsynced;
    retranslate();
}

void HistoryWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        // Headings of another length.
        sizeColumns();
    }
    QWidget::changeEvent(event);
}

namespace {
const char* const kGeometryKey = "history/windowGeometry";
} // namespace

void HistoryWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        place();
    }
    QWidget::showEvent(event);
}

void HistoryWindow::hideEvent(QHideEvent* event) {
    keepGeometry();
    QWidget::hideEvent(event);
}

void HistoryWindow::keepGeometry() const {
    if (placed_)
        QSettings().setValue(QLatin1String(kGeometryKey), QWidget::saveGeometry());
}

void HistoryWindow::place() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = owner ? owner->screen() : this->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The window manager's frame goes around the window: measured on the window that opens this
    // one where there is one, or the style's title bar.
    QMargins frame;
    if (owner && owner->isVisible()) {
        const QRect outer = owner->frameGeometry(), inner = owner->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    if (frame.isNull())
        frame.setTop(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
    const QRect room = available.marginsRemoved(frame);
    const QByteArray kept = QSettings().value(QLatin1String(kGeometryKey)).toByteArray();
    if (!kept.isEmpty() && restoreGeometry(kept)) {
        // A screen smaller than the one it was left on.
        if (!room.contains(geometry())) {
            const QSize size = this->size().boundedTo(room.size());
            QRect r(geometry().topLeft(), size);
            r.moveLeft(std::clamp(r.left(), room.left(), room.right() - size.width() + 1));
            r.moveTop(std::clamp(r.top(), room.top(), room.bottom() - size.height() + 1));
            setGeometry(r);
        }
        return;
    }
    // Most of the screen: every column of a row in view, and many rows.
    const QSize wanted(std::max(1100, room.width() * 9 / 10),
                       std::max(600, room.height() * 9 / 10));
    QRect r(QPoint(), wanted.boundedTo(room.size()));
    r.moveCenter(room.center());
    setGeometry(r);
}

bool HistoryWindow::isFilter(const QWidget* widget) const {
    for (const QWidget* filter : {static_cast<QWidget*>(serial_), static_cast<QWidget*>(name_),
                                  static_cast<QWidget*>(verdict_), static_cast<QWidget*>(fromOn_),
                                  static_cast<QWidget*>(toOn_), static_cast<QWidget*>(from_),
                                  static_cast<QWidget*>(to_), static_cast<QWidget*>(product_),
                                  static_cast<QWidget*>(lot_), static_cast<QWidget*>(station_)})
        if (widget && (widget == filter || filter->isAncestorOf(widget)))
            return true;
    return false;
}

void HistoryWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        isFilter(focusWidget())) {
        refresh();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HistoryWindow::retranslate() {
    setWindowTitle(tr("History"));
    //: Filter: only comparisons measured at or after the date beside it.
    fromOn_->setText(tr("&From"));
    //: Filter: only comparisons measured before the date beside it.
    toOn_->setText(tr("&To"));
    from_->setAccessibleName(tr("From date"));
    to_->setAccessibleName(tr("To date"));
    serialLabel_->setText(tr("&Serial number"));
    nameLabel_->setText(tr("&Name"));
    verdictLabel_->setText(tr("&Verdict"));
    verdict_->setItemText(0, tr("All"));
    verdict_->setItemText(1, colour::verdictText(true));
    verdict_->setItemText(2, colour::verdictText(false));
    productLabel_->setText(tr("&Product"));
    lotLabel_->setText(tr("&Lot"));
    stationLabel_->setText(tr("Stat&ion"));
    sourcesLabel_->setText(tr("S&how"));
    sources_->setItemText(0, tr("This station"));
    sources_->setItemText(1, tr("Lab database (all stations)"));
    sources_->setToolTip(tr("Every station's comparisons are in the lab database: name it "
                            "(postgresql://host/dbname) in the Database field to show them."));
    databaseLabel_->setText(tr("&Database"));
    database_->setPlaceholderText(
        tr("the program's own file, or sqlite:PATH, or postgresql://host/dbname"));
    applyDatabase_->setText(tr("&Apply"));
    export_->setText(tr("&Export selected..."));
    report_->setText(tr("Open &report"));
    view_->setAccessibleName(tr("Comparisons"));
    QString state = historyOn_ ? QString() : tr("History off: %1").arg(historyMessage_);
    if (hasSyncState_) {
        if (!state.isEmpty())
            state += QLatin1String("  ");
        state += synced_ ? tr("Synced") : tr("Not synced: %n row(s)", nullptr, unsynced_);
    }
    state_->setText(state);
    counts_->setText(countsText());
}

} // namespace history
