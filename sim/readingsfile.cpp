#include "readingsfile.h"

#include "safefile.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace sim {

bool parseReadings(const QString& text, QList<Measurement>& out, QString& error) {
    out.clear();
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineEnd);
    static const QRegularExpression blanks(QStringLiteral("[ \\t,;]+"));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(blanks, Qt::SkipEmptyParts);
        double v[5] = {};
        bool ok = fields.size() == 5;
        for (int k = 0; ok && k < 5; ++k) {
            v[k] = QLocale::c().toDouble(fields.at(k), &ok);
            ok = ok && std::isfinite(v[k]);
        }
        // What the instrument can report: haze and T 0..100 %, L* 0..100, a* and b* within
        // the signed range of its words.
        ok = ok && v[0] >= 0 && v[0] <= 100 && v[1] >= 0 && v[1] <= 100 && v[2] >= 0 &&
             v[2] <= 100 && std::fabs(v[3]) <= 300 && std::fabs(v[4]) <= 300;
        if (!ok) {
            error = QStringLiteral("line %1: expected \"haze T L a b\" (numbers in %, CIELAB), "
                                   "got \"%2\"")
                        .arg(i + 1)
                        .arg(line);
            return false;
        }
        out.append(measurementFromLab(v[0], v[1], v[2], v[3], v[4]));
    }
    if (out.isEmpty()) {
        error = QStringLiteral("no readings");
        return false;
    }
    return true;
}

bool loadReadings(const QString& path, QList<Measurement>& out, QString& error) {
    // Far more readings than any rehearsal asks for; a larger file, a device or a FIFO is
    // refused before a byte is read.
    constexpr qint64 kMaxBytes = qint64(4) << 20;
    QByteArray bytes;
    QString why;
    if (!readInputFile(path, kMaxBytes, bytes, &why)) {
        error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    if (!parseReadings(QString::fromUtf8(bytes), out, error)) {
        error = path + QStringLiteral(": ") + error;
        return false;
    }
    // The virtual instrument reads from it for the whole run: no export may replace it.
    SafeFile::protect(path, SafeFile::Role::Input);
    return true;
}

} // namespace sim
