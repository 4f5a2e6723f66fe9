#include "faultspec.h"

#include "virtualinstrument.h"

namespace sim {

namespace {

struct KindName {
    const char* name;
    FaultSpec::Kind kind;
    enum { None, Number, Hex } argument;
    const char* help;
};

constexpr KindName kKinds[] = {
    {"silent", FaultSpec::Kind::Silent, KindName::None, "take requests in, never answer"},
    {"delay", FaultSpec::Kind::Delay, KindName::Number, "delay:MS  every reply comes MS ms late"},
    {"drop", FaultSpec::Kind::Drop, KindName::Number, "drop:N  lose the next N reports sent"},
    {"bad-crc", FaultSpec::Kind::BadCrc, KindName::None, "the next frame has a wrong CRC"},
    {"bad-block-crc", FaultSpec::Kind::BadBlockCrc, KindName::None,
     "the next reply with a block checksum has a wrong one"},
    {"stray", FaultSpec::Kind::Stray, KindName::Hex,
     "stray:HEX  send these bytes ahead of the next frame"},
    {"split-push", FaultSpec::Kind::SplitPush, KindName::Number,
     "split-push:N  send the next pushed measurement in N reports"},
    {"unplug-after", FaultSpec::Kind::UnplugAfter, KindName::Number,
     "unplug-after:N  unplug after N frames"},
};

} // namespace

std::optional<FaultSpec> parseFault(const QString& text, QString* error) {
    auto refuse = [error](const QString& why) -> std::optional<FaultSpec> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const qsizetype colon = text.indexOf(u':');
    const QString name = colon < 0 ? text : text.left(colon);
    const QString argument = colon < 0 ? QString() : text.mid(colon + 1);
    for (const KindName& k : kKinds) {
        if (name != QLatin1String(k.name))
            continue;
        FaultSpec fault;
        fault.kind = k.kind;
        if (k.argument == KindName::None) {
            if (colon >= 0)
                return refuse(QStringLiteral("fault %1 takes no argument").arg(name));
            return fault;
        }
        if (k.argument == KindName::Number) {
            bool ok = false;
            fault.number = argument.toInt(&ok);
            // A day of delay is already no instrument at all.
            if (!ok || fault.number < 1 || fault.number > 86400000)
                return refuse(
                    QStringLiteral("fault %1 needs a positive number, as %1:N").arg(name));
            return fault;
        }
        const QByteArray hex = argument.toLatin1();
        fault.bytes = QByteArray::fromHex(hex);
        const bool valid = !hex.isEmpty() && hex.size() % 2 == 0 &&
                           fault.bytes.toHex().compare(hex, Qt::CaseInsensitive) == 0;
        if (!valid)
            return refuse(
                QStringLiteral("fault %1 needs hexadecimal bytes, as %1:AB4000").arg(name));
        return fault;
    }
    QStringList names;
    for (const KindName& k : kKinds)
        names << QLatin1String(k.name);
    return refuse(QStringLiteral("unknown fault %1 (known: %2)").arg(name, names.join(u", ")));
}

void applyFault(VirtualInstrument& instrument, const FaultSpec& fault) {
    switch (fault.kind) {
    case FaultSpec::Kind::Silent:
        instrument.setSilent(true);
        break;
    case FaultSpec::Kind::Delay:
        instrument.setReplyDelay(fault.number);
        break;
    case FaultSpec::Kind::Drop:
        instrument.dropNextReports(fault.number);
        break;
    case FaultSpec::Kind::BadCrc:
        instrument.corruptNextFrameChecksum();
        break;
    case FaultSpec::Kind::BadBlockCrc:
        instrument.corruptNextBlockChecksum();
        break;
    case FaultSpec::Kind::Stray:
        instrument.injectStrayBytes(fault.bytes);
        break;
    case FaultSpec::Kind::SplitPush:
        instrument.splitNextPush(fault.number);
        break;
    case FaultSpec::Kind::UnplugAfter:
        instrument.unplugAfterFrames(fault.number);
        break;
    }
}

QString faultHelp() {
    QString out;
    for (const KindName& k : kKinds) {
        const QString help = QString::fromLatin1(k.help);
        // "name:ARG  text" lines keep their own argument form; the others get the name first.
        out += QStringLiteral("    ") +
               (help.startsWith(QLatin1String(k.name))
                    ? help
                    : QLatin1String(k.name) + QStringLiteral("  ") + help) +
               u'\n';
    }
    return out;
}

} // namespace sim
