#pragma once

#include "virtualinstrument.h"

#include <array>
#include <cstdint>
#include <utility>

namespace sim {

// Spectral curve in hundredths of a percent that roughly matches a colour: transmittance of a
// clear film for haze meters, reflectance for colorimeters.
std::array<uint16_t, 31> spectrumFor(const Measurement& m, bool transmittance);

// Deterministic stream of plausible records around a base measurement, so that the records
// of a preset are the same in every run.
class RecordGenerator {
  public:
    RecordGenerator(const Measurement& base, uint32_t seed) : base_(base), state_(seed) {}

    // A standard near the base and a sample near the standard; some samples are far enough
    // off to fail a typical tolerance.
    std::pair<Measurement, Measurement> nextPair();
    std::array<int16_t, 31> nextSpectrum(bool transmittance);

  private:
    double uniform(double low, double high);

    Measurement base_;
    uint32_t state_;
};

QByteArray recordName(int index); // "Sample01", ...

} // namespace sim
