#include "colour.h"
#include "tolerancecontour.h"

#include <QtTest>

#include <cmath>

using namespace colour;

namespace {

// Formula values of a pair by current-firmware index, computed independently from the formula
// definitions with the truncated constants.
const struct {
    Lab standard, sample;
    double deltaE[7];
} kGolden[] = {
    {{50, 2.5, 0},
     {73, 25, -18},
     {36.8680078116516, 43.5873281967868, 31.0393744949904, 37.9232760221618, 42.1087547129568,
      39.4257500168561, 27.1492285603502}},
    {{15.99, -20, 30},
     {17.5, -18, 33},
     {3.90897684823024, 2.77122406955087, 2.65180869446705, 2.60073061111009, 3.64866757745829,
      3.00597624915462, 2.34075247130648}},
    {{92, -40, 80},
     {95, -35, 70},
     {11.5758369027902, 9.32698441736979, 3.80859682534345, 3.57927970417947, 4.01014619920926,
      3.73439997526468, 2.9657319976744}},
    {{88, 0, 0},
     {87.5, 0.3, -0.4},
     {0.707106781186548, 0.844479289692292, 0.707106781186548, 0.803442855732924, 0.859958744267487,
      0.823489925703477, 0.674758083588192}},
};

// CIEDE2000 test data of Sharma, Wu and Dalal (2005): standard, sample, published dE00.
const double kSharma[34][7] = {
    {50.0000, 2.6772, -79.7751, 50.0000, 0.0000, -82.7485, 2.0425},
    {50.0000, 3.1571, -77.2803, 50.0000, 0.0000, -82.7485, 2.8615},
    {50.0000, 2.8361, -74.0200, 50.0000, 0.0000, -82.7485, 3.4412},
    {50.0000, -1.3802, -84.2814, 50.0000, 0.0000, -82.7485, 1.0000},
    {50.0000, -1.1848, -84.8006, 50.0000, 0.0000, -82.7485, 1.0000},
    {50.0000, -0.9009, -85.5211, 50.0000, 0.0000, -82.7485, 1.0000},
    {50.0000, 0.0000, 0.0000, 50.0000, -1.0000, 2.0000, 2.3669},
    {50.0000, -1.0000, 2.0000, 50.0000, 0.0000, 0.0000, 2.3669},
    {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0009, 7.1792},
    {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0010, 7.1792},
    {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0011, 7.2195},
    {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0012, 7.2195},
    {50.0000, -0.0010, 2.4900, 50.0000, 0.0009, -2.4900, 4.8045},
    {50.0000, -0.0010, 2.4900, 50.0000, 0.0010, -2.4900, 4.8045},
    {50.0000, -0.0010, 2.4900, 50.0000, 0.0011, -2.4900, 4.7461},
    {50.0000, 2.5000, 0.0000, 50.0000, 0.0000, -2.5000, 4.3065},
    {50.0000, 2.5000, 0.0000, 73.0000, 25.0000, -18.0000, 27.1492},
    {50.0000, 2.5000, 0.0000, 61.0000, -5.0000, 29.0000, 22.8977},
    {50.0000, 2.5000, 0.0000, 56.0000, -27.0000, -3.0000, 31.9030},
    {50.0000, 2.5000, 0.0000, 58.0000, 24.0000, 15.0000, 19.4535},
    {50.0000, 2.5000, 0.0000, 50.0000, 3.1736, 0.5854, 1.0000},
    {50.0000, 2.5000, 0.0000, 50.0000, 3.2972, 0.0000, 1.0000},
    {50.0000, 2.5000, 0.0000, 50.0000, 1.8634, 0.5757, 1.0000},
    {50.0000, 2.5000, 0.0000, 50.0000, 3.2592, 0.3350, 1.0000},
    {60.2574, -34.0099, 36.2677, 60.4626, -34.1751, 39.4387, 1.2644},
    {63.0109, -31.0961, -5.8663, 62.8187, -29.7946, -4.0864, 1.2630},
    {61.2901, 3.7196, -5.3901, 61.4292, 2.2480, -4.9620, 1.8731},
    {35.0831, -44.1164, 3.7933, 35.0232, -40.0716, 1.5901, 1.8645},
    {22.7233, 20.0904, -46.6940, 23.0331, 14.9730, -42.5619, 2.0373},
    {36.4612, 47.8580, 18.3852, 36.2715, 50.5065, 21.2231, 1.4146},
    {90.8027, -2.0831, 1.4410, 91.1528, -1.6435, 0.0447, 1.4441},
    {90.9257, -0.5406, -0.9208, 88.6381, -0.8985, -0.7239, 1.5381},
    {6.7747, -0.2908, -2.4247, 5.8714, -0.0985, -2.2286, 0.6377},
    {2.0776, 0.0795, -1.1350, 0.9033, -0.0636, -0.5514, 0.9082},
};

// A colour of chroma 40 whose hueAngle() is exactly h, found by bisection on the angle.
Lab atHue(double h) {
    double lo = (h - 0.01) * M_PI / 180, hi = (h + 0.01) * M_PI / 180;
    Lab lab{50, 0, 0};
    for (int i = 0; i < 200 && hueAngle(lab.a, lab.b) != h; ++i) {
        const double mid = (lo + hi) / 2;
        lab = {50, 40 * std::cos(mid), 40 * std::sin(mid)};
        (hueAngle(lab.a, lab.b) < h ? lo : hi) = mid;
    }
    return lab;
}

// CMC(1:1) between a standard and the same colour turned 5 degrees in hue.
double cmcHueStep(const Lab& s) {
    const double r = 5 * M_PI / 180;
    const Lab p{s.L, s.a * std::cos(r) - s.b * std::sin(r), s.a * std::sin(r) + s.b * std::cos(r)};
    return deltaECmc(s.L, s.a, s.b, p.L, p.a, p.b, 1);
}

} // namespace

class TestColour : public QObject {
    Q_OBJECT

  private slots:
    void hueAngles() {
        const double t45 = std::atan(1.0) * 57.2957805; // the firmware's 45 degrees
        const double cases[][3] = {{0, 0, 0},          {0, 5, 90},          {0, -5, 270},
                                   {3, 0, 0},          {-3, 0, 180},        {1, 1, t45},
                                   {-1, 1, 180 - t45}, {-1, -1, 180 + t45}, {1, -1, 360 - t45}};
        for (const auto& c : cases)
            QCOMPARE(hueAngle(c[0], c[1]), c[2]);
        QVERIFY(std::fabs(hueAngle(1, 1) - 45) > 1e-7);

        // Records of old-layout instruments use the exact 180/pi.
        QCOMPARE(recordHueAngle(0, 2), 90.0);
        QCOMPARE(recordHueAngle(0, 0), 0.0);
        QVERIFY(std::fabs(recordHueAngle(1, 1) - 45) < 1e-12);
        QVERIFY(std::fabs(recordHueAngle(-1, -1) - 225) < 1e-12);
        QCOMPARE(recordLch({40, 3, -4}).C, 5.0);
    }

    void xyzAndUvClamps() {
        const Xyz white = labToXyz(100, 0, 0);
        QCOMPARE(white.X, 94.81);
        QCOMPARE(white.Z, 107.32);
        // Black is not quite 0: the firmware's threshold lies just below 16/116. u*v* are 0 by L.
        const Xyz black = labToXyz(0, 0, 0);
        QCOMPARE(black.Y, 100 * (16.0 / 116 - 0.137931) / 7.787037);
        QCOMPARE(xyzToUv(0, black.X, black.Y, black.Z).u, 0.0);
        // Far-out a* or b* would go negative in the exact inverse; it is held at 0.
        QCOMPARE(labToXyz(50, -1000, 0).X, 0.0);
        QCOMPARE(labToXyz(50, 0, 1000).Z, 0.0);

        QCOMPARE(xyzToUv(100, 100, 0, 0).u, 300.0);
        QCOMPARE(xyzToUv(100, 100, 0, 0).v, -300.0);
        QCOMPARE(xyzToUv(50, -15, 1, 0).u, 0.0); // zero denominator, not NaN
        // Two very saturated light colours both held at the limits are no difference apart.
        QCOMPARE(deltaEuv(95, 400, -200, 95, 450, -200), 0.0);
    }

    void formulasMatchGoldenValues() {
        for (const auto& g : kGolden) {
            for (int index = 0; index < 7; ++index) {
                const double got = deltaEByIndex(index, false, g.standard, g.sample);
                QVERIFY2(std::fabs(got - g.deltaE[index]) <= 1e-9 * g.deltaE[index],
                         qPrintable(QStringLiteral("L1 %1 index %2: %3")
                                        .arg(g.standard.L)
                                        .arg(index)
                                        .arg(got, 0, 'g', 15)));
                QCOMPARE(deltaEByIndex(index, false, g.standard, g.standard), 0.0);
            }
            const Lab& s = g.standard;
            const Lab& p = g.sample;
            QCOMPARE(deltaE94(p.L, p.a, p.b, s.L, s.a, s.b),
                     deltaE94(s.L, s.a, s.b, p.L, p.a, p.b));
            QVERIFY(qFuzzyCompare(deltaE00(p.L, p.a, p.b, s.L, s.a, s.b),
                                  deltaE00(s.L, s.a, s.b, p.L, p.a, p.b)));
        }
        // CMC takes its weights from the standard alone.
        QVERIFY(std::fabs(deltaECmc(73, 25, -18, 50, 2.5, 0, 2) - kGolden[0].deltaE[3]) > 1);
    }

    void hueDifferenceGuardedAgainstRounding() {
        // Same hue: in double precision da^2 + db^2 comes out a hair below dC^2 here.
        const double dC = chroma(8.4, 11.2) - chroma(0.3, 0.4);
        const double da = 8.4 - 0.3, db = 11.2 - 0.4;
        QVERIFY(da * da + db * db < dC * dC);
        QCOMPARE(deltaE94(50, 0.3, 0.4, 50, 8.4, 11.2), 12.063709155811894);
        QCOMPARE(deltaECmc(50, 0.3, 0.4, 50, 8.4, 11.2, 1), 20.158508150900435);
    }

    void cmcWeights() {
        // Neutral colours leave only the lightness term, 1 / (l * SL).
        QCOMPARE(deltaECmc(15.99, 0, 0, 16.99, 0, 0, 1), 1 / 0.511);
        QCOMPARE(deltaECmc(16, 0, 0, 17, 0, 0, 2), (1 + 0.01765 * 16) / (0.040975 * 16) / 2);

        // The hue weight jumps by a few tenths of a percent at 164 and 345 degrees; the exact edge
        // belongs to the 164..345 range.
        const double edges[][2] = {{164, 164.001}, {345, 344.999}};
        for (const auto& e : edges) {
            const Lab edge = atHue(e[0]);
            QCOMPARE(hueAngle(edge.a, edge.b), e[0]);
            const double atEdge = cmcHueStep(edge);
            QVERIFY(std::fabs(atEdge - cmcHueStep(atHue(e[1]))) < 1e-4 * atEdge);
            QVERIFY(std::fabs(atEdge - cmcHueStep(atHue(2 * e[0] - e[1]))) > 1e-3 * atEdge);
        }
    }

    void deltaE00SharmaData() {
        // The truncated degree constants move some results in the 4th decimal.
        for (const auto& r : kSharma) {
            const double got = colour::deltaE00(r[0], r[1], r[2], r[3], r[4], r[5]);
            QVERIFY2(
                std::fabs(got - r[6]) <= 2e-3,
                qPrintable(QStringLiteral("%1 %2 %3: %4").arg(r[0]).arg(r[1]).arg(r[2]).arg(got)));
        }
        // Standard at hue 350, sample at 10: the hue difference goes through 0, the mean hue is 0.
        QCOMPARE(colour::deltaE00(50, 29.5442, -5.2094, 50, 29.5442, 5.2094), 6.40173221798397);
    }

    void indexMeaningsPerFirmwareGroup() {
        const Lab s = kGolden[0].standard, p = kGolden[0].sample;
        const double* expected = kGolden[0].deltaE;
        QCOMPARE(deltaEByIndex(5, false, s, p), expected[5]);
        QCOMPARE(deltaEByIndex(6, false, s, p), expected[6]);
        QCOMPARE(deltaEByIndex(5, true, s, p), expected[6]);
        // Indices the firmware group does not know give dE*ab.
        QCOMPARE(deltaEByIndex(6, true, s, p), expected[0]);
        QCOMPARE(deltaEByIndex(7, false, s, p), expected[0]);
        QCOMPARE(deltaEByIndex(-1, false, s, p), expected[0]);

        QCOMPARE(formulaLabel(5, false), QStringLiteral("△E*cmc(1.4:1)"));
        QCOMPARE(formulaLabel(5, true), QStringLiteral("△E*00"));
        QCOMPARE(formulaLabel(6, false), QStringLiteral("△E*00"));
        QVERIFY(formulaLabel(6, true).isNull());
        QVERIFY(formulaLabel(-1, false).isNull());
    }

    void toleranceContoursMeetTheThreshold() {
        // Near the neutral axis (C* 0.5, where the hue turns fast) and at high chroma (C* 80),
        // at several hues: every contour point is where the formula reaches the threshold, and
        // the first such point on its ray (the difference is below the threshold on the way).
        const double threshold = 1.2;
        for (const double c : {0.5, 80.0})
            for (const double h : {30.0, 100.0, 200.0, 290.0}) {
                const Lab s{65, c * std::cos(h * M_PI / 180), c * std::sin(h * M_PI / 180)};
                for (int formula = 0; formula < 7; ++formula) {
                    const QVector<QPointF> contour = toleranceContour(s, formula, false, threshold);
                    QCOMPARE(contour.size(), 360);
                    for (const QPointF& d : contour) {
                        const auto at = [&](double f) {
                            return deltaEByIndex(formula, false, s,
                                                 {s.L, s.a + f * d.x(), s.b + f * d.y()});
                        };
                        QVERIFY2(std::abs(at(1) - threshold) < 1e-3,
                                 qPrintable(QStringLiteral("C %1 h %2 formula %3 (%4, %5)")
                                                .arg(c)
                                                .arg(h)
                                                .arg(formula)
                                                .arg(d.x())
                                                .arg(d.y())));
                        for (int k = 1; k < 16; ++k)
                            QVERIFY(at(k / 16.0) < threshold);
                        if (formula == 0)
                            QVERIFY(std::abs(std::hypot(d.x(), d.y()) - threshold) < 1e-9);
                    }
                }
            }
        // CMC weights lightness by l * SL alone, the same up and down.
        const Lab s{50, 20, -30};
        const double sl = 0.040975 * 50 / (1 + 0.01765 * 50);
        QVERIFY(std::abs(toleranceDistance(s, 3, false, 1, 1, 0, 0) - 2 * sl) < 1e-9);
        QVERIFY(std::abs(toleranceDistance(s, 3, false, 1, -5, 0, 0) - 2 * sl) < 1e-9);
        // Old-layout index 5 is CIEDE2000.
        QCOMPARE(toleranceContour(s, 5, true, 1, 36), toleranceContour(s, 6, false, 1, 36));

        // A strong yellow whose Z is already held at 0: more b* changes nothing in ΔE*uv, so the
        // contour has no edge straight up and is open there.
        const QVector<QPointF> open = toleranceContour({50, 0, 90}, 1, false, 1, 4);
        QVERIFY(std::isfinite(open.at(0).x()) && std::isfinite(open.at(2).x()));
        QVERIFY(std::isnan(open.at(1).x()));
        QVERIFY(toleranceContour(s, 6, false, 0).isEmpty());
        QVERIFY(std::isnan(toleranceDistance(s, 6, false, qQNaN(), 0, 1, 0)));
        QVERIFY(std::isnan(toleranceDistance(s, 6, false, 1, 0, 0, 0)));
    }

    void deviationWords() {
        const auto L = DeviationAxis::Lightness, a = DeviationAxis::RedGreen,
                   b = DeviationAxis::YellowBlue;
        const struct {
            DeviationAxis axis;
            double delta;
            const char* word;
        } cases[] = {{L, -4.01, "More black"}, {L, -4, "Slight black"},    {L, -0.2, "Normal"},
                     {L, 4, "Slight white"},   {L, 4.01, "More white"},    {a, 0.2, "Normal"},
                     {a, 0.21, "Slight red"},  {a, -0.21, "Slight green"}, {a, -5, "More green"},
                     {b, -5, "More Blue"},     {b, -1, "Slight blue"},     {b, 5, "More yellow"}};
        for (const auto& c : cases)
            QCOMPARE(deviationWord(c.axis, c.delta), QString::fromLatin1(c.word));
    }

    void verdicts() {
        const Tolerances tol{1, 2, 1.5};
        const struct {
            int mode;
            double dHaze, dT, dE;
            bool pass;
        } cases[] = {
            {0, -1.0, 0, 99, true},
            {0, 1.01, 0, 0, false},
            {0, 0, -2.01, 0, false},
            {1, 0.5, 9, 9, true},
            {2, 9, 2.0, 9, true},
            {3, 9, 9, 1.5, true},
            {4, 0, 0, 1.51, false},
            {6, 1, -2, 1.5, true},
            {6, 0, 0, 1.6, false},
            // Judged as shown (two decimals): 1.5000001 is "1.50", within 1.5.
            {4, 0, 0, 1.5000001, true},
            {0, 2.14 - 1.14, 0, 0, true}, // 1.0000000000000002
            {1, qQNaN(), 0, 0, false},
            {7, 0, 0, 0, false},
            {-1, 0, 0, 0, false},
        };
        for (const auto& c : cases)
            QVERIFY2(passesNewLayout(c.mode, c.dHaze, c.dT, c.dE, tol) == c.pass,
                     qPrintable(QString::number(c.mode)));

        // Until read, a tolerance fails every comparison that uses it, and only those.
        QVERIFY(!passesNewLayout(1, 0, 0, 0, Tolerances{}));
        QVERIFY(!passesNewLayout(0, 0, 0, 0, Tolerances{1, -1, 1}));
        QVERIFY(passesNewLayout(3, 0, 0, 0, Tolerances{-1, -1, 1}));

        QVERIFY(passesOldLayout(2.0, 2.0));
        QVERIFY(!passesOldLayout(2.01, 2.0));
        QVERIFY(passesOldLayout(2.0049, 2.0)); // shown as 2.00
        QVERIFY(!passesOldLayout(0.0, -1));
        QVERIFY(!passesOldLayout(-1, 2.0)); // -1 marks a colour difference with no formula

        QCOMPARE(retranslateVerdict(QStringLiteral("合格")), verdictText(true));
        QCOMPARE(retranslateVerdict(QStringLiteral("不合格")), verdictText(false));
        QCOMPARE(verdictText(false), QStringLiteral("NG"));
        QCOMPARE(retranslateVerdict(QStringLiteral("-----")), QStringLiteral("-----"));
    }
};

QTEST_GUILESS_MAIN(TestColour)
#include "tst_colour.moc"
