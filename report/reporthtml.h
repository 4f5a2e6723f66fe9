#pragma once

#include "reportsnapshot.h"

#include <QDateTime>
#include <QString>

#include <functional>

// Where a report takes the time of its title stamp.
using ReportClock = std::function<QDateTime()>;
// Translates one source text in a context; stands for the interface language.
using ReportTranslate = std::function<QString(const char* context, const char* sourceText)>;

namespace report {

// The clock of the running program (local time).
ReportClock systemClock();
// The installed translations of the running program.
ReportTranslate installedTranslations();
// No translation: every text stays in its English source form.
ReportTranslate sourceTexts();

// "Report_yyyyMMddhhmmss": the document title, also the default PDF file name.
QString reportTitle(const QDateTime& time);

// The HTML documents of the two report pages; nothing but the arguments goes in. Every text
// taken from the snapshot is HTML-escaped. The old-layout document is the Chinese one when
// snapshot.chinese is set.
QString buildReportHtmlFor510(const ReportSnapshot& snapshot, const ReportTranslate& translate,
                              const ReportClock& clock);
QString buildReportHtmlFor620(const ReportSnapshot& snapshot, const ReportTranslate& translate,
                              const ReportClock& clock);

} // namespace report
