#include "historyrecords.h"

namespace history {

QString sourceName(Source source) {
    switch (source) {
    case Source::Live:
        return QStringLiteral("live");
    case Source::Pushed:
        return QStringLiteral("pushed");
    case Source::Imported:
        return QStringLiteral("imported");
    }
    return {};
}

QString layoutName(Layout layout) {
    return layout == Layout::Old ? QStringLiteral("old") : QStringLiteral("new");
}

QString spectrumKindName(SpectrumKind kind) {
    return kind == SpectrumKind::Reflectance ? QStringLiteral("reflectance")
                                             : QStringLiteral("transmittance");
}

std::optional<Source> sourceFromName(const QString& name) {
    for (Source s : {Source::Live, Source::Pushed, Source::Imported})
        if (sourceName(s) == name)
            return s;
    return std::nullopt;
}

std::optional<Layout> layoutFromName(const QString& name) {
    for (Layout l : {Layout::New, Layout::Old})
        if (layoutName(l) == name)
            return l;
    return std::nullopt;
}

std::optional<SpectrumKind> spectrumKindFromName(const QString& name) {
    for (SpectrumKind k : {SpectrumKind::Transmittance, SpectrumKind::Reflectance})
        if (spectrumKindName(k) == name)
            return k;
    return std::nullopt;
}

QString isoUtc(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QDateTime fromIsoUtc(const QString& text) {
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    return time.toUTC();
}

} // namespace history
