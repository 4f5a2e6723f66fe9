// Arbitrary bytes as a readings file for the virtual instrument. Whatever is accepted is a
// non-empty list of at most one reading per line, each within what the instrument reports (haze,
// T and L* 0..100 %, a* and b* within ±300), the same whichever line ends the file uses.
#include "readingsfile.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QList<sim::Measurement> readings;
    QString error;
    if (!sim::parseReadings(text, readings, error)) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    if (readings.isEmpty() || readings.size() > text.split(lineEnd).size())
        std::abort();
    for (const sim::Measurement& m : readings) {
        if (m.haze > 10000 || m.transmittance > 10000 || m.lStar < 0 || m.lStar > 10000 ||
            m.aStar < -30000 || m.aStar > 30000 || m.bStar < -30000 || m.bStar > 30000)
            std::abort();
    }
    // CR-only and CR LF files read as the LF file does.
    QString lf = text;
    lf.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    QList<sim::Measurement> again;
    if (!sim::parseReadings(lf, again, error) || again.size() != readings.size())
        std::abort();
    return 0;
}
