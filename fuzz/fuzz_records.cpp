// Arbitrary bytes as the record areas read from an instrument: every decoder and the name text
// decoding must cope with short, odd and cut data. Byte 0 picks the layout, byte 1 the count;
// the rest is split into data and names at byte 2's proportion.
#include "instrumenttext.h"
#include "records.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const int layout = data[0] % 9;
    const int count = data[1];
    const QByteArray rest(reinterpret_cast<const char*>(data + 3), qsizetype(size - 3));
    const qsizetype split = rest.size() * data[2] / 255;
    const QByteArray area = rest.left(split), names = rest.mid(split);
    auto check = [count](const auto& list) {
        if (list.size() > count)
            std::abort();
        for (const auto& record : list)
            decodeInstrumentText(record.name);
    };
    if (layout < 7)
        check(records::decodeModeRecords(layout, area, names, count));
    else if (layout == 7)
        check(records::decodeOldLayoutRecords(area, names, count));
    else
        check(records::decodeSpectra(area, names, count));
    decodeInstrumentText(rest);
    return 0;
}
