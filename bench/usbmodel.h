#pragma once

#include <algorithm>

// The full-speed USB model's ceiling, against which the memory benchmarks are set: every
// exchange costs one request report plus ceil(reply / 62) reply reports, 1 ms each.
namespace usbmodel {

inline int exchangeReports(int replyLength) {
    return 1 + (replyLength + 61) / 62;
}

// Reading `bytes` of an area in 256-byte ReadMemory chunks (replies of n + 10 bytes).
inline int areaReports(int bytes) {
    int reports = 0;
    for (int done = 0; done < bytes; done += 256)
        reports += exchangeReports(std::min(256, bytes - done) + 10);
    return reports;
}

inline double seconds(int reports) {
    return reports * 1e-3;
}

} // namespace usbmodel
