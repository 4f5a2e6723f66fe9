#include "colour.h"

#include <QtTest>

#include <cmath>

using namespace colour;

namespace {

// Seven formula values of one pair, by current-firmware index.
struct Golden {
    Lab standard;
    Lab sample;
    double deltaE[7];
};

// Values computed independently from the formula definitions, with the truncated constants.
const Golden kGolden[] = {
    {{50, 2.5, 0}, {73, 25, -18},
     {36.8680078116516, 43.5873281967868, 31.0393744949904, 37.9232760221618, 42.1087547129568,
      39.4257500168561, 27.1492285603502}},
    {{61.29, 3.72, -5.39}, {61.43, 2.25, -4.96},
     {1.53798569564219, 1.91543822566668, 1.3140428139795, 1.76351845531072, 1.7663800150644,
      1.76451176707182, 1.87090829852434}},
    {{15.99, -20, 30}, {17.5, -18, 33},
     {3.90897684823024, 2.77122406955087, 2.65180869446705, 2.60073061111009, 3.64866757745829,
      3.00597624915462, 2.34075247130648}},
    {{92, -40, 80}, {95, -35, 70},
     {11.5758369027902, 9.32698441736979, 3.80859682534345, 3.57927970417947, 4.01014619920926,
      3.73439997526468, 2.9657319976744}},
    {{30, 60, -20}, {28, 55, -25},
     {7.34846922834953, 14.8553579810113, 3.98313664555659, 3.49421780720563, 4.10537048427661,
      3.71764956060554, 3.28325113607597}},
    {{88, 0, 0}, {87.5, 0.3, -0.4},
     {0.707106781186548, 0.844479289692292, 0.707106781186548, 0.803442855732924,
      0.859958744267487, 0.823489925703477, 0.674758083588192}},
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

double byIndex(int index, const Lab& s, const Lab& p, bool oldLayout = false)
{
    return deltaEByIndex(index, oldLayout, s, p);
}

// A colour of chroma c whose hueAngle() is exactly h, found by bisection on the angle.
Lab atHue(double c, double h)
{
    const double rad = M_PI / 180;
    double lo = (h - 0.01) * rad;
    double hi = (h + 0.01) * rad;
    Lab lab{50, 0, 0};
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        lab.a = c * std::cos(mid);
        lab.b = c * std::sin(mid);
        const double got = hueAngle(lab.a, lab.b);
        if (got == h)
            break;
        (got < h ? lo : hi) = mid;
    }
    return lab;
}

Lab rotated(const Lab& lab, double degrees)
{
    const double r = degrees * M_PI / 180;
    return {lab.L, lab.a * std::cos(r) - lab.b * std::sin(r), lab.a * std::sin(r) + lab.b * std::cos(r)};
}

} // namespace

class TestColour : public QObject {
    Q_OBJECT

private slots:
    void hueAngleQuadrants_data();
    void hueAngleQuadrants();
    void recordHueUsesExactPi();
    void labToXyzClampsAndWhite();
    void uvClamp();
    void formulasMatchGoldenValues();
    void identicalColoursGiveZero();
    void symmetry();
    void hueDifferenceGuardedAgainstRounding();
    void cmcLightnessWeightSwitchesAt16();
    void cmcHueBranchIncludesBothEnds();
    void deltaE00SharmaData();
    void deltaE00HueWrap();
    void indexMeaningsPerFirmwareGroup();
    void deviationWords_data();
    void deviationWords();
    void verdictNewLayout_data();
    void verdictNewLayout();
    void verdictOldLayout();
    void verdictRetranslation();
};

void TestColour::hueAngleQuadrants_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("hue");
    QTest::newRow("origin") << 0.0 << 0.0 << 0.0;
    QTest::newRow("+b axis") << 0.0 << 5.0 << 90.0;
    QTest::newRow("-b axis") << 0.0 << -5.0 << 270.0;
    QTest::newRow("+a axis") << 3.0 << 0.0 << 0.0;
    QTest::newRow("-a axis") << -3.0 << 0.0 << 180.0;
    // Off the axes the truncated factor shows from the 7th significant digit on.
    QTest::newRow("1st") << 1.0 << 1.0 << std::atan(1.0) * 57.2957805;
    QTest::newRow("2nd") << -1.0 << 1.0 << 180 - std::atan(1.0) * 57.2957805;
    QTest::newRow("3rd") << -1.0 << -1.0 << 180 + std::atan(1.0) * 57.2957805;
    QTest::newRow("4th") << 1.0 << -1.0 << 360 - std::atan(1.0) * 57.2957805;
}

void TestColour::hueAngleQuadrants()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, hue);
    QCOMPARE(hueAngle(a, b), hue);
}

void TestColour::recordHueUsesExactPi()
{
    QCOMPARE(recordHueAngle(0, 2), 90.0);
    QCOMPARE(recordHueAngle(0, 0), 0.0);
    QCOMPARE(recordHueAngle(0, -2), 270.0);
    QCOMPARE(recordHueAngle(-2, 0), 180.0);
    QVERIFY(std::fabs(recordHueAngle(1, 1) - 45) < 1e-12);
    QVERIFY(std::fabs(hueAngle(1, 1) - 45) > 1e-7);
    QVERIFY(std::fabs(recordHueAngle(-1, -1) - 225) < 1e-12);
    QVERIFY(std::fabs(recordHueAngle(1, -1) - 315) < 1e-12);
    const Lch lch = recordLch({40, 3, -4});
    QCOMPARE(lch.L, 40.0);
    QCOMPARE(lch.C, 5.0);
}

void TestColour::labToXyzClampsAndWhite()
{
    const Xyz white = labToXyz(100, 0, 0);
    QCOMPARE(white.X, 94.81);
    QCOMPARE(white.Y, 100.0);
    QCOMPARE(white.Z, 107.32);

    // Black is not quite 0: the firmware's threshold lies just below 16/116.
    const Xyz black = labToXyz(0, 0, 0);
    QCOMPARE(black.Y, 100 * (16.0 / 116 - 0.137931) / 7.787037);
    QVERIFY(black.Y > 0);
    const Uv uv = xyzToUv(0, black.X, black.Y, black.Z);
    QCOMPARE(uv.u, 0.0);
    QCOMPARE(uv.v, 0.0);

    // Far-out a* or b* would go negative in the exact inverse; it is held at 0.
    QCOMPARE(labToXyz(50, -1000, 0).X, 0.0);
    QCOMPARE(labToXyz(50, 0, 1000).Z, 0.0);
}

void TestColour::uvClamp()
{
    QCOMPARE(xyzToUv(100, 0, 0, 0).u, 0.0);
    const Uv uv = xyzToUv(100, 100, 0, 0);
    QCOMPARE(uv.u, 300.0);
    QCOMPARE(uv.v, -300.0);
    // A zero denominator from non-physical input must not produce NaN.
    const Uv odd = xyzToUv(50, -15, 1, 0);
    QCOMPARE(odd.u, 0.0);
    QCOMPARE(odd.v, 0.0);
    // Two very saturated light colours both held at the limits are no difference apart.
    QCOMPARE(deltaEuv(95, 400, -200, 95, 450, -200), 0.0);
}

void TestColour::formulasMatchGoldenValues()
{
    for (const Golden& g : kGolden) {
        for (int index = 0; index < 7; ++index) {
            const double got = byIndex(index, g.standard, g.sample);
            if (std::fabs(got - g.deltaE[index]) > 1e-9 * g.deltaE[index])
                QFAIL(qPrintable(QStringLiteral("L1 %1 index %2: %3, expected %4")
                                     .arg(g.standard.L)
                                     .arg(index)
                                     .arg(got, 0, 'g', 15)
                                     .arg(g.deltaE[index], 0, 'g', 15)));
        }
    }
}

void TestColour::identicalColoursGiveZero()
{
    const Lab colours[] = {{0, 0, 0}, {50, 0, 0}, {15.99, -20, 30}, {92, -40, 80}, {30, 60, -20}};
    for (const Lab& c : colours)
        for (int index = 0; index < 7; ++index)
            QCOMPARE(byIndex(index, c, c), 0.0);
}

void TestColour::symmetry()
{
    for (const Golden& g : kGolden) {
        const Lab& s = g.standard;
        const Lab& p = g.sample;
        QVERIFY(qFuzzyCompare(deltaE94(s.L, s.a, s.b, p.L, p.a, p.b), deltaE94(p.L, p.a, p.b, s.L, s.a, s.b)));
        QVERIFY(qFuzzyCompare(deltaE00(s.L, s.a, s.b, p.L, p.a, p.b), deltaE00(p.L, p.a, p.b, s.L, s.a, s.b)));
    }
    // CMC takes its weights from the standard alone.
    const Lab s = kGolden[0].standard;
    const Lab p = kGolden[0].sample;
    QVERIFY(std::fabs(deltaECmc(s.L, s.a, s.b, p.L, p.a, p.b, 2) - deltaECmc(p.L, p.a, p.b, s.L, s.a, s.b, 2)) > 1);
}

void TestColour::hueDifferenceGuardedAgainstRounding()
{
    // Same hue: in double precision da^2 + db^2 comes out a hair below dC^2 here.
    const double c1 = chroma(0.3, 0.4);
    const double c2 = chroma(8.4, 11.2);
    const double da = 8.4 - 0.3;
    const double db = 11.2 - 0.4;
    QVERIFY(da * da + db * db < (c2 - c1) * (c2 - c1));
    QCOMPARE(deltaE94(50, 0.3, 0.4, 50, 8.4, 11.2), 12.063709155811894);
    QCOMPARE(deltaECmc(50, 0.3, 0.4, 50, 8.4, 11.2, 1), 20.158508150900435);
}

void TestColour::cmcLightnessWeightSwitchesAt16()
{
    // Neutral colours: only the lightness term is left, 1 / SL.
    QCOMPARE(deltaECmc(15.99, 0, 0, 16.99, 0, 0, 1), 1 / 0.511);
    QCOMPARE(deltaECmc(16, 0, 0, 17, 0, 0, 1), (1 + 0.01765 * 16) / (0.040975 * 16));
    QCOMPARE(deltaECmc(16, 0, 0, 17, 0, 0, 2), (1 + 0.01765 * 16) / (0.040975 * 16) / 2);
}

void TestColour::cmcHueBranchIncludesBothEnds()
{
    // The hue weight T jumps by a few tenths of a percent at 164 and 345 degrees; the exact edge
    // must behave like the inside of the 164..345 range.
    const struct {
        double edge;
        double inside;
    } edges[] = {{164, 164.001}, {345, 344.999}};
    for (const auto& e : edges) {
        const Lab atEdge = atHue(40, e.edge);
        QCOMPARE(hueAngle(atEdge.a, atEdge.b), e.edge);
        const Lab inside = atHue(40, e.inside);
        const Lab outside = atHue(40, 2 * e.edge - e.inside);
        auto cmc = [](const Lab& s) {
            const Lab p = rotated(s, 5);
            return deltaECmc(s.L, s.a, s.b, p.L, p.a, p.b, 1);
        };
        const double edgeValue = cmc(atEdge);
        QVERIFY2(std::fabs(edgeValue - cmc(inside)) < 1e-4 * edgeValue, qPrintable(QString::number(e.edge)));
        QVERIFY2(std::fabs(edgeValue - cmc(outside)) > 1e-3 * edgeValue, qPrintable(QString::number(e.edge)));
    }
}

void TestColour::deltaE00SharmaData()
{
    // The truncated degree constants move some results in the 4th decimal.
    for (const auto& row : kSharma) {
        const double got = deltaE00(row[0], row[1], row[2], row[3], row[4], row[5]);
        QVERIFY2(std::fabs(got - row[6]) <= 2e-3,
                 qPrintable(QStringLiteral("%1 %2 %3: %4, published %5")
                                .arg(row[0]).arg(row[1]).arg(row[2]).arg(got).arg(row[6])));
    }
}

void TestColour::deltaE00HueWrap()
{
    // Standard at hue 350, sample at 10: the hue difference goes through 0 and the mean hue is
    // 0, not 180.
    QCOMPARE(deltaE00(50, 29.5442, -5.2094, 50, 29.5442, 5.2094), 6.40173221798397);
}

void TestColour::indexMeaningsPerFirmwareGroup()
{
    const Lab s{50, 2.5, 0};
    const Lab p{73, 25, -18};
    const double* expected = kGolden[0].deltaE;
    QCOMPARE(byIndex(5, s, p), expected[5]);
    QCOMPARE(byIndex(6, s, p), expected[6]);
    QCOMPARE(byIndex(5, s, p, true), expected[6]);
    // Unknown indices fall back to dE*ab.
    QCOMPARE(byIndex(6, s, p, true), expected[0]);
    QCOMPARE(byIndex(7, s, p), expected[0]);
    QCOMPARE(byIndex(-1, s, p), expected[0]);

    QCOMPARE(formulaLabel(5, false), QStringLiteral("△E*cmc(1.4:1)"));
    QCOMPARE(formulaLabel(5, true), QStringLiteral("△E*00"));
    QCOMPARE(formulaLabel(6, false), QStringLiteral("△E*00"));
    QCOMPARE(formulaLabel(0, true), QStringLiteral("△E*ab"));
    QVERIFY(formulaLabel(6, true).isNull());
    QVERIFY(formulaLabel(7, false).isNull());
    QVERIFY(formulaLabel(-1, false).isNull());
}

void TestColour::deviationWords_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<double>("delta");
    QTest::addColumn<QString>("word");
    const int l = int(DeviationAxis::Lightness);
    const int a = int(DeviationAxis::RedGreen);
    const int b = int(DeviationAxis::YellowBlue);
    QTest::newRow("L -4.01") << l << -4.01 << "More black";
    QTest::newRow("L -4") << l << -4.0 << "Slight black";
    QTest::newRow("L -0.21") << l << -0.21 << "Slight black";
    QTest::newRow("L -0.2") << l << -0.2 << "Normal";
    QTest::newRow("L 4") << l << 4.0 << "Slight white";
    QTest::newRow("L 4.01") << l << 4.01 << "More white";
    QTest::newRow("a 0.2") << a << 0.2 << "Normal";
    QTest::newRow("a 0.21") << a << 0.21 << "Slight red";
    QTest::newRow("a -5") << a << -5.0 << "More green";
    QTest::newRow("a -1") << a << -1.0 << "Slight green";
    QTest::newRow("a 5") << a << 5.0 << "More red";
    QTest::newRow("b -5") << b << -5.0 << "More Blue";
    QTest::newRow("b -1") << b << -1.0 << "Slight blue";
    QTest::newRow("b 0") << b << 0.0 << "Normal";
    QTest::newRow("b 1") << b << 1.0 << "Slight yellow";
    QTest::newRow("b 5") << b << 5.0 << "More yellow";
}

void TestColour::deviationWords()
{
    QFETCH(int, axis);
    QFETCH(double, delta);
    QFETCH(QString, word);
    QCOMPARE(deviationWord(static_cast<DeviationAxis>(axis), delta), word);
}

void TestColour::verdictNewLayout_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("dHaze");
    QTest::addColumn<double>("dT");
    QTest::addColumn<double>("dE");
    QTest::addColumn<bool>("pass");
    // Tolerances in the rows below: haze 1, T 2, dE 1.5.
    QTest::newRow("HazeT haze -1.00 at tolerance") << 0 << -1.0 << 0.0 << 99.0 << true;
    QTest::newRow("HazeT haze 1.01 fails") << 0 << 1.01 << 0.0 << 0.0 << false;
    QTest::newRow("HazeT T -2.01 fails") << 0 << 0.0 << -2.01 << 0.0 << false;
    QTest::newRow("Haze ignores T") << 1 << 0.5 << 9.0 << 9.0 << true;
    QTest::newRow("T ignores haze") << 2 << 9.0 << 2.0 << 9.0 << true;
    QTest::newRow("T fails") << 2 << 0.0 << 2.5 << 0.0 << false;
    QTest::newRow("Lab dE at threshold") << 3 << 9.0 << 9.0 << 1.5 << true;
    QTest::newRow("LCh dE above") << 4 << 0.0 << 0.0 << 1.5000001 << false;
    QTest::newRow("Yxy dE below") << 5 << 0.0 << 0.0 << 0.2 << true;
    QTest::newRow("HazeTLab all within") << 6 << 1.0 << -2.0 << 1.5 << true;
    QTest::newRow("HazeTLab dE fails") << 6 << 0.0 << 0.0 << 1.6 << false;
    QTest::newRow("HazeTLab T fails") << 6 << 0.0 << 2.1 << 0.0 << false;
    QTest::newRow("NaN difference fails") << 1 << qQNaN() << 0.0 << 0.0 << false;
    QTest::newRow("unknown mode fails") << 7 << 0.0 << 0.0 << 0.0 << false;
    QTest::newRow("no mode fails") << -1 << 0.0 << 0.0 << 0.0 << false;
}

void TestColour::verdictNewLayout()
{
    QFETCH(int, mode);
    QFETCH(double, dHaze);
    QFETCH(double, dT);
    QFETCH(double, dE);
    QFETCH(bool, pass);
    QCOMPARE(passesNewLayout(mode, dHaze, dT, dE, Tolerances{1, 2, 1.5}), pass);

    // Until read, a tolerance fails every comparison that uses it, and only those.
    QVERIFY(!passesNewLayout(1, 0, 0, 0, Tolerances{}));
    QVERIFY(!passesNewLayout(3, 0, 0, 0, Tolerances{}));
    QVERIFY(!passesNewLayout(0, 0, 0, 0, Tolerances{1, -1, 1}));
    QVERIFY(passesNewLayout(3, 0, 0, 0, Tolerances{-1, -1, 1}));
    QVERIFY(passesNewLayout(1, 0, 0, 0, Tolerances{1, -1, -1}));
}

void TestColour::verdictOldLayout()
{
    QVERIFY(passesOldLayout(2.0, 2.0));
    QVERIFY(!passesOldLayout(2.0001, 2.0));
    QVERIFY(!passesOldLayout(0.0, -1));
    // -1 marks a colour difference that could not be computed; it must not pass.
    QVERIFY(!passesOldLayout(-1, 2.0));
    QVERIFY(!passesOldLayout(-1, -1));
}

void TestColour::verdictRetranslation()
{
    QCOMPARE(verdictText(true), QStringLiteral("PASS"));
    QCOMPARE(verdictText(false), QStringLiteral("NG"));
    QCOMPARE(retranslateVerdict(QStringLiteral("合格")), verdictText(true));
    QCOMPARE(retranslateVerdict(QStringLiteral("不合格")), verdictText(false));
    QCOMPARE(retranslateVerdict(QStringLiteral("NG")), verdictText(false));
    QCOMPARE(retranslateVerdict(QStringLiteral("-----")), QStringLiteral("-----"));
}

QTEST_GUILESS_MAIN(TestColour)
#include "tst_colour.moc"
