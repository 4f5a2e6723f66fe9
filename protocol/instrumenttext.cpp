#include "instrumenttext.h"

#include <QStringDecoder>

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
    // Only present when Qt was built with ICU; without it GB18030 texts fall through to Latin-1.
    QStringDecoder gb("GB18030", QStringDecoder::Flag::Stateless);
    if (tryDecode(gb, trimmed, text))
        return text;
    return QString::fromLatin1(trimmed);
}
