#pragma once

#include "comparisonjournal.h"
#include "comparisonrecord.h"
#include "historyrecords.h"
#include "productcatalog.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class ComparisonSession;

namespace history {
class HistoryStore;
}

// Comparisons as the history stores them: the instrument's integers turned into numbers of
// their quantities, and back, so that a list restored from the history shows what it showed.
namespace historymapping {

history::HistoryComparison toHistory(const ComparisonRecord& record, const QString& station);
ComparisonRecord fromHistory(const history::HistoryComparison& row, int sequence);
// Values of a stored row that the record's integer units cannot carry (1e308 from a lab
// database, say), each with the list column that shows it; empty when the record is the row.
QList<std::pair<int, double>> unfitValues(const history::HistoryComparison& row,
                                          const ComparisonRecord& record);
history::Quantities quantitiesOf(const std::array<int, ComparisonRecord::kValueCount>& values,
                                 bool oldLayout, int displayMode);
std::array<int, ComparisonRecord::kValueCount> valuesOf(const history::Quantities& quantities,
                                                        bool oldLayout);
history::HistoryProduct toHistory(const Product& product);
Product fromHistory(const history::HistoryProduct& row);

} // namespace historymapping

// The session's journal over the measurement history: each comparison is in the history before
// the list shows it, and the open list (rows, standard, name counter) is kept there so that the
// next start can bring it back. The store never drops a change: when the file cannot be written
// it keeps the change for its next write, so the list shows the row all the same. It is the
// session's product catalog too: products are kept in the history.
class HistoryJournal : public QObject, public ComparisonJournal, public ProductCatalog {
    Q_OBJECT

  public:
    // Without `openList` the comparisons go into the history only: the command line writes
    // there without touching the list the workspace brings back.
    HistoryJournal(history::HistoryStore& store, ComparisonSession& session,
                   QObject* parent = nullptr, bool openList = true);
    ~HistoryJournal() override;

    // Strict: write() refuses the records (they are not listed) when the store did not take them
    // now. The command line stops there; the page lists them and the store keeps them.
    void setStrict(bool strict) { strict_ = strict; }

    // The list of the last run into the session; the number of rows restored.
    int restore();
    // Once the instrument is identified: a restored standard measured on another instrument is
    // dropped, as when the instrument changes. True when a restored standard stays.
    bool keepRestoredStandard();

    bool write(const QList<ComparisonRecord>& records) override;
    bool update(const QList<ComparisonRecord>& records) override;
    bool markDeleted(const QUuid& id) override;
    bool rename(const QUuid& id, const QString& name) override;
    void listCleared() override;

    QList<Product> products(const QString& text, const QString& model,
                            bool includeRetired) override;
    std::optional<Product> product(const QString& id) override;
    std::optional<Product> productNamed(const QString& model, const QString& name) override;
    std::optional<Product> addProduct(const Product& product, QString* why) override;
    std::optional<Product> renameProduct(const QString& id, const QString& name,
                                         QString* why) override;
    std::optional<Product> setProductSettings(const QString& id, const JudgingSettings& settings,
                                              QString* why) override;
    std::optional<Product> retireProduct(const QString& id, QString* why) override;
    void fetchShared() override;

  private:
    void keepStandard();

    history::HistoryStore& store_;
    ComparisonSession& session_;
    QString station_;
    bool openList_ = true;
    bool strict_ = false;
    bool restoring_ = false;
    std::optional<QString> restoredStandardSerial_;
};
