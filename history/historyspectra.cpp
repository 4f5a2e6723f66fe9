// Table `spectra`: one spectral measurement a row.
#include "historydatabase.h"

#include "historycolumns.h"

namespace history {

bool HistoryDatabase::insertSpectrum(const HistorySpectrum& row, Conflict conflict) {
    static const QString insert =
        QStringLiteral("INSERT INTO spectra (%1) VALUES (%2) ON CONFLICT (id) DO ")
            .arg(columns::spectrumList(), columns::placeholders(8 + HistorySpectrum::kPoints));
    static const QString keep = insert + QLatin1String("NOTHING");
    // Only the name and the deleted flag of a spectrum change after it is taken.
    static const QString follow =
        insert + QLatin1String("UPDATE SET name = excluded.name, deleted = excluded.deleted");
    return run(conflict == Conflict::Keep ? keep : follow, columns::spectrumValues(row));
}

std::optional<HistorySpectrum> HistoryDatabase::spectrum(const QString& id) {
    static const QString sql =
        QStringLiteral("SELECT %1 FROM spectra WHERE id = ?").arg(columns::spectrumList());
    QSqlQuery query(connection());
    query.prepare(sql);
    query.bindValue(0, id);
    if (!exec(query) || !query.next())
        return std::nullopt;
    return columns::spectrumFrom(query);
}

} // namespace history
