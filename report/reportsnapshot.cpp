#include "reportsnapshot.h"

namespace report {

ReportValues valuesFromListOrder(const std::array<double, 11>& v) {
    return {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]};
}

ReportValues valuesFromOldListOrder(const std::array<double, 5>& v) {
    ReportValues r;
    r.L = v[0];
    r.a = v[1];
    r.b = v[2];
    r.C = v[3];
    r.h = v[4];
    return r;
}

void computeColourDifferencesFor510(ReportSnapshot& s) {
    ReportValues& d = s.difference;
    d.L = s.sample.L - s.standard.L;
    d.a = s.sample.a - s.standard.a;
    d.b = s.sample.b - s.standard.b;
    d.lchL = s.sample.lchL - s.standard.lchL;
    d.C = s.sample.C - s.standard.C;
    d.h = s.sample.h - s.standard.h;
    d.Y = s.sample.Y - s.standard.Y;
    d.x = s.sample.x - s.standard.x;
    d.y = s.sample.y - s.standard.y;
}

void computeColourDifferencesFor620(ReportSnapshot& s) {
    ReportValues& d = s.difference;
    d.L = s.sample.L - s.standard.L;
    d.a = s.sample.a - s.standard.a;
    d.b = s.sample.b - s.standard.b;
    d.C = s.sample.C - s.standard.C;
    d.h = s.sample.h - s.standard.h;
}

} // namespace report
