#pragma once

#include <QByteArray>
#include <QString>

// Decodes an 8-bit text stored by the instrument (record names, card texts). Instruments write
// UTF-8, but names entered on Chinese Windows hosts arrive in the GB18030 family; anything that
// is neither is taken as Latin-1 so that no byte is lost. Trailing zero padding is dropped.
QString decodeInstrumentText(const QByteArray& bytes);
