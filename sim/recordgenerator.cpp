#include "recordgenerator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sim {

namespace {

constexpr double kPi = 3.14159265358979323846;

double finv(double t) {
    constexpr double d = 6.0 / 29.0;
    return t > d ? t * t * t : 3 * d * d * (t - 4.0 / 29.0);
}

int toByte(double linear) {
    linear = std::clamp(linear, 0.0, 1.0);
    const double v =
        linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return int(std::lround(v * 255));
}

template <class T> T clampTo(double v) {
    return T(std::clamp<double>(std::round(v), double(std::numeric_limits<T>::min()),
                                double(std::numeric_limits<T>::max())));
}

} // namespace

Measurement measurementFromLab(double hazePercent, double transmittancePercent, double lStar,
                               double aStar, double bStar) {
    Measurement m;
    m.haze = clampTo<uint16_t>(hazePercent * 100);
    m.transmittance = clampTo<uint16_t>(transmittancePercent * 100);
    m.lStar = clampTo<int16_t>(lStar * 100);
    m.aStar = clampTo<int16_t>(aStar * 100);
    m.bStar = clampTo<int16_t>(bStar * 100);
    m.lchL = clampTo<uint16_t>(lStar * 100);
    m.lchC = clampTo<uint16_t>(std::hypot(aStar, bStar) * 100);
    double hue = std::atan2(bStar, aStar) * 180 / kPi;
    if (hue < 0)
        hue += 360;
    m.lchH = uint16_t(std::lround(hue * 10) % 3600);

    // CIE L*a*b* to XYZ, D65 white, 2° observer.
    const double fy = (lStar + 16) / 116;
    const double x = 95.047 * finv(fy + aStar / 500);
    const double y = 100.0 * finv(fy);
    const double z = 108.883 * finv(fy - bStar / 200);
    const double sum = x + y + z;
    m.yTristimulus = clampTo<uint16_t>(y * 100);
    if (sum > 0) {
        m.xChromaticity = clampTo<uint16_t>(x / sum * 10000);
        m.yChromaticity = clampTo<uint16_t>(y / sum * 10000);
    }
    m.red = uint8_t(toByte((3.2406 * x - 1.5372 * y - 0.4986 * z) / 100));
    m.green = uint8_t(toByte((-0.9689 * x + 1.8758 * y + 0.0415 * z) / 100));
    m.blue = uint8_t(toByte((0.0557 * x - 0.2040 * y + 1.0570 * z) / 100));
    return m;
}

std::array<uint16_t, 31> spectrumFor(const Measurement& m, bool transmittance) {
    std::array<uint16_t, 31> out{};
    const double a = m.aStar / 100.0, b = m.bStar / 100.0;
    const double level = transmittance ? m.transmittance / 100.0 : m.yTristimulus / 100.0;
    for (int k = 0; k < 31; ++k) {
        const double t = k / 30.0; // 400 nm .. 700 nm
        // Yellowish samples rise towards long wavelengths, reddish ones peak in the red.
        double v = level + b * 0.6 * (t - 0.5) +
                   a * 0.5 * std::exp(-std::pow((t - 0.8) / 0.15, 2)) -
                   a * 0.25 * std::exp(-std::pow((t - 0.45) / 0.15, 2));
        if (transmittance)
            v -= (1 - t) * (1 - t) * 2.5; // absorption towards the ultraviolet
        out[size_t(k)] = clampTo<uint16_t>(std::clamp(v, 0.0, 100.0) * 100);
    }
    return out;
}

double RecordGenerator::uniform(double low, double high) {
    state_ = state_ * 1664525u + 1013904223u;
    return low + (high - low) * (state_ >> 8) / double(1u << 24);
}

std::pair<Measurement, Measurement> RecordGenerator::nextPair() {
    const double haze = std::max(0.0, base_.haze / 100.0 + uniform(-0.4, 0.4));
    const double t = std::min(100.0, base_.transmittance / 100.0 + uniform(-0.5, 0.5));
    const double l = base_.lStar / 100.0 + uniform(-1.0, 1.0);
    const double a = base_.aStar / 100.0 + uniform(-0.8, 0.8);
    const double b = base_.bStar / 100.0 + uniform(-0.8, 0.8);
    const Measurement standard =
        measurementFromLab(base_.haze ? haze : 0, base_.transmittance ? t : 0, l, a, b);
    // Differences up to about 1.5 in every quantity, so that a tolerance of 1 fails some.
    const double dl = uniform(-1.0, 1.0), da = uniform(-0.8, 0.8), db = uniform(-0.8, 0.8);
    const Measurement sample = measurementFromLab(
        base_.haze ? std::max(0.0, haze + uniform(-1.4, 1.4)) : 0,
        base_.transmittance ? std::min(100.0, t + uniform(-1.4, 1.4)) : 0, l + dl, a + da, b + db);
    return {standard, sample};
}

std::array<int16_t, 31> RecordGenerator::nextSpectrum(bool transmittance) {
    const auto pair = nextPair();
    const auto curve = spectrumFor(pair.second, transmittance);
    std::array<int16_t, 31> out{};
    for (size_t k = 0; k < out.size(); ++k)
        out[k] = int16_t(curve[k]);
    return out;
}

QByteArray recordName(int index) {
    return QByteArray("Sample") + QByteArray::number(index + 1).rightJustified(2, '0');
}

namespace {
void appendWord(QByteArray& b, uint16_t v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}
void appendLab(QByteArray& b, const Measurement& m) {
    appendWord(b, uint16_t(m.lStar));
    appendWord(b, uint16_t(m.aStar));
    appendWord(b, uint16_t(m.bStar));
}
void appendSide(QByteArray& b, int mode, const Measurement& m) {
    switch (mode) {
    case 0:
        appendWord(b, m.haze);
        appendWord(b, m.transmittance);
        break;
    case 1:
        appendWord(b, m.haze);
        break;
    case 2:
        appendWord(b, m.transmittance);
        break;
    case 3:
        appendLab(b, m);
        break;
    case 4:
        appendLab(b, m);
        appendWord(b, m.lchL);
        appendWord(b, m.lchC);
        appendWord(b, m.lchH);
        break;
    case 5:
        appendLab(b, m);
        appendWord(b, m.yTristimulus);
        appendWord(b, m.xChromaticity);
        appendWord(b, m.yChromaticity);
        break;
    default:
        appendLab(b, m);
        appendWord(b, m.haze);
        appendWord(b, m.transmittance);
        break;
    }
}
} // namespace

QByteArray modeRecordBytes(int mode, const Measurement& standard, const Measurement& sample) {
    QByteArray b;
    appendSide(b, mode, standard);
    appendSide(b, mode, sample);
    return b;
}

QByteArray oldLayoutRecordBytes(const Measurement& standard, const Measurement& sample) {
    QByteArray b;
    appendLab(b, standard);
    appendLab(b, sample);
    return b;
}

} // namespace sim
