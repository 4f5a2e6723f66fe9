#include "historywindow.h"

#include "verdict.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace history {

QString HistoryQueryModel::columnsSql() {
    return QStringLiteral("id, measured_at, name, serial, model, station, source, display_mode, "
                          "delta_haze, delta_t, delta_e, verdict");
}

QVariant HistoryQueryModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::EditRole)
        return QSqlQueryModel::data(index, Qt::DisplayRole);
    if (role == Qt::TextAlignmentRole && index.column() >= DisplayMode)
        return int(Qt::AlignCenter);
    const QVariant value = QSqlQueryModel::data(index, Qt::DisplayRole);
    if (index.column() == Verdict && (role == Qt::DisplayRole || role == Qt::BackgroundRole)) {
        const bool pass = value.toString() == QLatin1String("PASS");
        if (role == Qt::BackgroundRole)
            return QColor(colour::verdictCellColour(pass));
        return colour::verdictText(pass);
    }
    if (role != Qt::DisplayRole || value.isNull())
        return role == Qt::DisplayRole && value.isNull() ? QVariant()
                                                         : QSqlQueryModel::data(index, role);
    switch (index.column()) {
    case MeasuredAt:
        return fromIsoUtc(value.toString())
            .toLocalTime()
            .toString(QStringLiteral("yyyy/MM/dd  hh:mm:ss"));
    case DeltaHaze:
    case DeltaT:
    case DeltaE:
        return QString::number(value.toDouble(), 'f', 2);
    default:
        return value;
    }
}

QVariant HistoryQueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QSqlQueryModel::headerData(section, orientation, role);
    switch (section) {
    case Id:
        return QStringLiteral("id");
    case MeasuredAt:
        return tr("DateTime");
    case Name:
        return tr("Test Name");
    case Serial:
        return tr("Serial number");
    case Model:
        return tr("Model");
    case Station:
        return tr("Station");
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
        return tr("Pass or not");
    default:
        return {};
    }
}

void HistoryCounter::count(int generation, const HistoryFilter& filter) {
    if (!m_db) {
        m_db = std::make_unique<HistoryDatabase>();
        if (!m_db->open(m_url)) {
            m_db.reset();
            emit counted(generation, -1, 0);
            return;
        }
    }
    QVariantList values;
    QSqlQuery query(m_db->connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT COUNT(*), SUM(CASE WHEN verdict = 'PASS' THEN 1 ELSE 0 "
                                 "END) FROM comparisons") +
                  HistoryDatabase::whereSql(filter, values));
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (query.exec() && query.next())
        emit counted(generation, query.value(0).toInt(), query.value(1).toInt());
    else
        emit counted(generation, -1, 0);
}

HistoryWindow::HistoryWindow(QWidget* parent)
    : QWidget(parent), m_model(new HistoryQueryModel(this)), m_view(new QTableView(this)),
      m_fromOn(new QCheckBox(this)), m_toOn(new QCheckBox(this)), m_from(new QDateTimeEdit(this)),
      m_to(new QDateTimeEdit(this)), m_serial(new QLineEdit(this)), m_name(new QLineEdit(this)),
      m_verdict(new QComboBox(this)), m_serialLabel(new QLabel(this)),
      m_nameLabel(new QLabel(this)), m_verdictLabel(new QLabel(this)), m_counts(new QLabel(this)),
      m_state(new QLabel(this)), m_databaseLabel(new QLabel(this)), m_database(new QLineEdit(this)),
      m_applyDatabase(new QPushButton(this)), m_export(new QPushButton(this)),
      m_report(new QPushButton(this)), m_debounce(new QTimer(this)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    m_serial->setObjectName(QStringLiteral("lineEdit_historySerial"));
    m_name->setObjectName(QStringLiteral("lineEdit_historyName"));
    m_verdict->setObjectName(QStringLiteral("comboBox_historyVerdict"));
    m_database->setObjectName(QStringLiteral("lineEdit_historyDatabase"));
    m_export->setObjectName(QStringLiteral("pushButton_historyExport"));
    m_report->setObjectName(QStringLiteral("pushButton_historyReport"));
    const QDateTime now = QDateTime::currentDateTime();
    m_from->setDateTime(QDateTime(now.date().addMonths(-1), QTime(0, 0)));
    m_to->setDateTime(QDateTime(now.date().addDays(1), QTime(0, 0)));
    m_from->setDisplayFormat(QStringLiteral("yyyy/MM/dd hh:mm"));
    m_to->setDisplayFormat(QStringLiteral("yyyy/MM/dd hh:mm"));
    m_from->setCalendarPopup(true);
    m_to->setCalendarPopup(true);
    m_from->setEnabled(false);
    m_to->setEnabled(false);
    m_verdict->addItem(QString());
    m_verdict->addItem(QString(), true);
    m_verdict->addItem(QString(), false);

    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    // Fixed row heights: with a million rows the view must not measure each one.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->horizontalHeader()->setStretchLastSection(true);

    auto* filters = new QHBoxLayout;
    filters->addWidget(m_fromOn);
    filters->addWidget(m_from);
    filters->addWidget(m_toOn);
    filters->addWidget(m_to);
    filters->addWidget(m_serialLabel);
    filters->addWidget(m_serial);
    filters->addWidget(m_nameLabel);
    filters->addWidget(m_name);
    filters->addWidget(m_verdictLabel);
    filters->addWidget(m_verdict);
    auto* actions = new QHBoxLayout;
    actions->addWidget(m_counts, 1);
    actions->addWidget(m_export);
    actions->addWidget(m_report);
    auto* database = new QHBoxLayout;
    database->addWidget(m_databaseLabel);
    database->addWidget(m_database, 1);
    database->addWidget(m_applyDatabase);
    database->addWidget(m_state);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_view, 1);
    layout->addLayout(actions);
    layout->addLayout(database);

    m_debounce->setSingleShot(true);
    m_debounce->setInterval(250);
    connect(m_debounce, &QTimer::timeout, this, &HistoryWindow::refresh);
    const auto later = [this] { m_debounce->start(); };
    connect(m_fromOn, &QCheckBox::toggled, m_from, &QWidget::setEnabled);
    connect(m_toOn, &QCheckBox::toggled, m_to, &QWidget::setEnabled);
    connect(m_fromOn, &QCheckBox::toggled, this, later);
    connect(m_toOn, &QCheckBox::toggled, this, later);
    connect(m_from, &QDateTimeEdit::dateTimeChanged, this, later);
    connect(m_to, &QDateTimeEdit::dateTimeChanged, this, later);
    connect(m_serial, &QLineEdit::textChanged, this, later);
    connect(m_name, &QLineEdit::textChanged, this, later);
    connect(m_verdict, &QComboBox::currentIndexChanged, this, later);
    connect(m_export, &QPushButton::clicked, this, [this] {
        const QStringList ids = selectedIds();
        if (!ids.isEmpty())
            emit exportRequested(ids);
    });
    connect(m_report, &QPushButton::clicked, this, [this] {
        const QStringList ids = selectedIds();
        if (!ids.isEmpty())
            emit reportRequested(ids.first());
    });
    connect(m_view, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        emit reportRequested(
            m_model->data(m_model->index(index.row(), HistoryQueryModel::Id)).toString());
    });
    connect(m_applyDatabase, &QPushButton::clicked, this, [this] {
        const QString text = m_database->text().trimmed();
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
    stopCounter();
    m_model->clear();
}

void HistoryWindow::stopCounter() {
    if (!m_counter)
        return;
    QMetaObject::invokeMethod(m_counter, &HistoryCounter::stop, Qt::BlockingQueuedConnection);
    m_countThread.quit();
    m_countThread.wait();
    m_counter = nullptr;
}

bool HistoryWindow::setDatabase(const HistoryUrl& url) {
    m_model->clear();
    stopCounter();
    if (!m_db.open(url)) {
        setHistoryState(false, m_db.failure().message);
        return false;
    }
    m_counter = new HistoryCounter(url);
    m_counter->moveToThread(&m_countThread);
    connect(&m_countThread, &QThread::finished, m_counter, &QObject::deleteLater);
    connect(m_counter, &HistoryCounter::counted, this, &HistoryWindow::showCounts);
    m_countThread.start();
    refresh();
    return true;
}

void HistoryWindow::setDatabaseText(const QString& text) {
    m_database->setText(text);
}

HistoryFilter HistoryWindow::filter() const {
    HistoryFilter f;
    f.serial = m_serial->text().trimmed();
    f.nameContains = m_name->text().trimmed();
    if (m_fromOn->isChecked())
        f.from = m_from->dateTime();
    if (m_toOn->isChecked())
        f.to = m_to->dateTime();
    const QVariant verdict = m_verdict->currentData();
    if (verdict.isValid())
        f.pass = verdict.toBool();
    return f;
}

void HistoryWindow::setFilter(const HistoryFilter& f) {
    const QSignalBlocker blocks[] = {QSignalBlocker(m_serial), QSignalBlocker(m_name),
                                     QSignalBlocker(m_fromOn), QSignalBlocker(m_toOn),
                                     QSignalBlocker(m_from),   QSignalBlocker(m_to),
                                     QSignalBlocker(m_verdict)};
    m_serial->setText(f.serial);
    m_name->setText(f.nameContains);
    m_fromOn->setChecked(f.from.isValid());
    m_toOn->setChecked(f.to.isValid());
    m_from->setEnabled(f.from.isValid());
    m_to->setEnabled(f.to.isValid());
    if (f.from.isValid())
        m_from->setDateTime(f.from.toLocalTime());
    if (f.to.isValid())
        m_to->setDateTime(f.to.toLocalTime());
    m_verdict->setCurrentIndex(!f.pass ? 0 : (*f.pass ? 1 : 2));
    refresh();
}

void HistoryWindow::refresh() {
    m_debounce->stop();
    if (!m_db.isOpen())
        return;
    QVariantList values;
    const HistoryFilter f = filter();
    QSqlQuery query(m_db.connection());
    query.prepare(HistoryDatabase::selectSql(f, values, HistoryQueryModel::columnsSql()) +
                  QLatin1String(" DESC"));
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    query.exec();
    // The model fetches the rows as the view scrolls to them, never all at once.
    m_model->setQuery(std::move(query));
    m_view->setColumnHidden(HistoryQueryModel::Id, true);
    updateCounts();
}

void HistoryWindow::updateCounts() {
    if (!m_counter)
        return;
    const int generation = ++m_generation;
    const HistoryFilter f = filter();
    QMetaObject::invokeMethod(
        m_counter, [counter = m_counter, generation, f] { counter->count(generation, f); });
}

void HistoryWindow::showCounts(int generation, int rows, int passes) {
    // An answer to a filter the user has changed since is of no use.
    if (generation != m_generation || rows < 0)
        return;
    m_count = rows;
    m_passRate = rows > 0 ? 100.0 * passes / rows : 0;
    emit countsChanged(m_count, m_passRate);
    m_counts->setText(tr("%1 comparisons, %2% pass").arg(m_count).arg(m_passRate, 0, 'f', 1));
}

QStringList HistoryWindow::selectedIds() const {
    QStringList ids;
    for (const QModelIndex& row : m_view->selectionModel()->selectedRows(HistoryQueryModel::Id))
        ids << m_model->data(row, Qt::EditRole).toString();
    return ids;
}

void HistoryWindow::setHistoryState(bool on, const QString& message) {
    m_historyOn = on;
    m_historyMessage = message;
    retranslate();
}

void HistoryWindow::setSyncState(bool synced, int unsynced) {
    m_hasSyncState = true;
    m_synced = synced;
    m_unsynced = unsynced;
    retranslate();
}

void HistoryWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void HistoryWindow::retranslate() {
    setWindowTitle(tr("History"));
    m_fromOn->setText(tr("From"));
    m_toOn->setText(tr("To"));
    m_serialLabel->setText(tr("Serial number"));
    m_nameLabel->setText(tr("Name"));
    m_verdictLabel->setText(tr("Verdict"));
    m_verdict->setItemText(0, tr("All"));
    m_verdict->setItemText(1, colour::verdictText(true));
    m_verdict->setItemText(2, colour::verdictText(false));
    m_databaseLabel->setText(tr("Database"));
    m_database->setPlaceholderText(
        tr("the program's own file, or sqlite:PATH, or postgresql://host/dbname"));
    m_applyDatabase->setText(tr("Apply"));
    m_export->setText(tr("Export selected..."));
    m_report->setText(tr("Open report"));
    QString state = m_historyOn ? QString() : tr("History off: %1").arg(m_historyMessage);
    if (m_hasSyncState) {
        if (!state.isEmpty())
            state += QLatin1String("  ");
        state += m_synced ? tr("Synced") : tr("Not synced: %n rows", nullptr, m_unsynced);
    }
    m_state->setText(state);
    if (m_db.isOpen())
        m_counts->setText(tr("%1 comparisons, %2% pass").arg(m_count).arg(m_passRate, 0, 'f', 1));
}

} // namespace history
