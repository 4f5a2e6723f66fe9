#include "clisettings.h"

#include <QCoreApplication>

#include <cmath>
#include <cstdio>

namespace {

// As the page converts typed values: truncated, with a nudge for products such as 0.29 * 100.
int units(double value, int scale) {
    return static_cast<int>(std::trunc(value * scale + (value >= 0 ? 1e-7 : -1e-7)));
}

QString pageText(const char* text) {
    return QCoreApplication::translate("FirstPageFor510", text);
}

} // namespace

int commandFailed(const char* command, const QString& text) {
    std::fprintf(stderr, "velorin-cli %s: %s\n", command, qPrintable(text));
    return 1;
}

bool takeSettingOption(const QString& option, double value, SettingOptions& o) {
    if (option == QLatin1String("--haze-tol"))
        o.hazeTolerance = value;
    else if (option == QLatin1String("--t-tol"))
        o.tTolerance = value;
    else if (option == QLatin1String("--threshold"))
        o.threshold = value;
    else if (option == QLatin1String("--formula") && value == std::floor(value) &&
             std::fabs(value) < 1000)
        o.formula = int(value);
    else
        return false;
    return true;
}

SessionResult readSettings(ComparisonSession& session) {
    const InstrumentProfile& profile = session.profile();
    return profile.oldLayout || profile.parameterPage ? session.readParameter()
                                                      : session.readTolerance();
}

int writeSettings(ComparisonSession& session, const SettingOptions& o, const char* command) {
    const auto fail = [command](const QString& text) { return commandFailed(command, text); };
    const InstrumentProfile& profile = session.profile();
    const bool toleranceBlock = !profile.oldLayout && !profile.parameterPage;
    if (toleranceBlock) {
        if (o.formula)
            return fail(QStringLiteral("--formula: this instrument has no formula setting"));
        if (!o.hazeTolerance && !o.tTolerance && !o.threshold)
            return 0;
        const double haze = o.hazeTolerance.value_or(session.hazeTolerance() / 100.0);
        const double t = o.tTolerance.value_or(session.tTolerance() / 100.0);
        const double threshold = o.threshold.value_or(session.toleranceThreshold() / 10.0);
        if (!(haze >= 0 && haze <= 100))
            return fail(pageText("Haze Tolerance must between 0-100!"));
        if (!(t >= 0 && t <= 100))
            return fail(pageText("Transmittance  Tolerance must between 0-100!"));
        if (!(threshold >= 0.1 && threshold <= 50))
            return fail(pageText("Thresholds must between 0.1-50!"));
        if (const SessionResult r =
                session.setTolerance(units(haze, 100), units(t, 100), units(threshold, 10)))
            return fail(r->text);
        return 0;
    }
    if (o.hazeTolerance || o.tTolerance)
        return fail(QStringLiteral("--haze-tol/--t-tol: this instrument has no haze or T"));
    if (!o.formula && !o.threshold)
        return 0;
    // A fixed-formula colorimeter takes the threshold alone, with formula 0, as its page sends it.
    const int stored =
        !profile.formulaShown || session.formulaIndex() < 0 ? 0 : session.formulaIndex();
    const int formula = o.formula.value_or(stored);
    const int formulas = profile.oldLayout ? 6 : (profile.formulaShown ? 7 : 1);
    if (formula < 0 || formula >= formulas)
        return fail(
            QStringLiteral("--formula must be 0..%1 for this instrument").arg(formulas - 1));
    const float threshold = float(o.threshold.value_or(session.parameterThreshold() / 10.0));
    if (!(threshold >= 0.1f && threshold <= 50.0f))
        return fail(QStringLiteral("Thresholds must between 0.1—50!"));
    if (session.setParameter(formula, static_cast<int>(threshold * 10.0f)))
        return fail(QStringLiteral("Failed to write △E parameter information!"));
    if (const SessionResult r = session.readParameter())
        return fail(r->text);
    session.rejudge();
    return 0;
}
