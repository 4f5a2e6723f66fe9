#include "instrumenttext.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

// Decodes completely or not at all: a decoder that met an invalid sequence is no answer.
bool tryDecode(QStringDecoder& decoder, const QByteArray& bytes, QString& out) {
    if (!decoder.isValid())
        return false;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    out = text;
    return true;
}

// Names are cut at a fixed byte width, possibly inside a UTF-8 character: the length of the
// incomplete sequence at the end, or 0 when the text ends on a whole character.
qsizetype incompleteUtf8Tail(const QByteArray& bytes) {
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<uint8_t>(bytes.at(size - back));
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: the lead is further back
        const int needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return needed > back ? back : 0;
    }
    return 0;
}

} // namespace

QString decodeInstrumentText(const QByteArray& bytes) {
    QByteArray trimmed = bytes;
    const qsizetype zero = trimmed.indexOf('\0');
    if (zero >= 0)
        trimmed.truncate(zero);

    QString text;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    if (tryDecode(utf8, trimmed, text))
        return text;
    // A name cut inside its last character loses only that character. A single lead byte after
    // plain ASCII reads as Latin-1 just as well ("caf\xE9"), so that case stays Latin-1.
    if (const qsizetype tail = incompleteUtf8Tail(trimmed); tail > 0) {
        QStringDecoder whole(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QByteArray head = trimmed.left(trimmed.size() - tail);
        const bool utf8Before = std::any_of(head.begin(), head.end(),
                                            [](char c) { return static_cast<uint8_t>(c) >= 0x80; });
        if ((utf8Before || tail >= 2) && tryDecode(whole, head, text))
            return text;
    }
    // Only present when Qt was built with ICU; without it GB18030 texts fall through to Latin-1.
    QStringDecoder gb("GB18030", QStringDecoder::Flag::Stateless);
    if (tryDecode(gb, trimmed, text))
        return text;
    return QString::fromLatin1(trimmed);
}
