#include "pipe_twophase.h"

#include <cctype>
#include <map>
#include <stdexcept>

namespace vantaro_cli {
namespace {

struct MethodName {
    const char* name;
    int code;
};
const MethodName kMethods[] = {
    {"beggs-brill", VANTARO_TWOPHASE_BEGGS_BRILL},
    {"dukler", VANTARO_TWOPHASE_DUKLER},
    {"orkiszewski", VANTARO_TWOPHASE_ORKISZEWSKI},
    {"lockhart-martinelli", VANTARO_TWOPHASE_LOCKHART_MARTINELLI},
    {"beggs-brill-no-acceleration", VANTARO_TWOPHASE_BEGGS_BRILL_NO_ACCEL},
    {"beggs-brill-density", VANTARO_TWOPHASE_BEGGS_BRILL_DENSITY},
    {"dukler-density", VANTARO_TWOPHASE_DUKLER_DENSITY},
};

int MethodCode(const std::string& s) {
    for (const MethodName& m : kMethods)
        if (s == m.name || s == std::to_string(m.code)) return m.code;
    std::string names;
    for (const MethodName& m : kMethods) names += std::string(names.empty() ? "" : ", ") + m.name;
    throw std::runtime_error("--two-phase: unknown method '" + s + "' (" + names + ", or 2-8)");
}

const char* MethodLabel(int code) {
    for (const MethodName& m : kMethods)
        if (m.code == code) return m.name;
    return "?";
}

std::string RegimeName(int32_t code) {
    static const std::map<int32_t, const char*> names = {
        {0, "undetermined"}, {1, "single phase"}, {3, "bubble"},        {4, "slug"},
        {8, "segregated"},   {9, "distributed"},  {10, "intermittent"}, {11, "transition"},
        {12, "mist"},        {-32767, "-"}};
    const auto it = names.find(code);
    return it != names.end() ? it->second : std::to_string(code);
}

const double kTol[4] = {0.01, 0.1, 0.001, 1e-4};

// Fits visca/viscb of every component with ViscParam and reopens the
// workspace with them: a host does so before it asks for liquid viscosities.
void OpenWithViscosityFit(const Case& kase) {
    Case c = kase;
    for (auto& comp : c.comps) {
        CompRecord& r = comp.rec;
        ViscParam(0, r.mw, r.tc, r.pc / 100.0, r.vc, r.vstar, r.omega, r.omegasrk, r.tb,
                  r.liqden, &r.visca, &r.viscb);
    }
    CloseProps();
    OpenCase(c);
}

// One march of the whole line.
struct March {
    int32_t status = 0;
    FlowResult r{};
    std::vector<double> p, t, v;
};

// A march of n segments; `estimate` seeds the upstream node pressures (0:
// none, each starts from its downstream neighbour).
March RunMarch(int code, int n, const PipeSegment& pipe, double flow, double p2, int friction,
               const TwoPhaseOptions& o, const std::vector<double>& z, double h,
               double estimate = 0.0) {
    March m;
    m.p.assign(n + 1, estimate);
    m.p[n] = p2;
    m.t.assign(n + 1, VANTARO_MISSING);
    m.v.assign(n + 1, VANTARO_MISSING);
    std::vector<double> hn(n + 1, h);
    m.r.regime = -32767;
    m.status = NewTwoPhaseDp(friction, code, n, 0, o.thermo, o.hmethod, &pipe, &m.r, flow,
                             m.p.data(), hn.data(), z.data(), m.t.data(), m.v.data(), nullptr,
                             kTol, 0, o.elevation, o.passes, o.correction ? 1 : 0);
    return m;
}

Table SummaryTable(const std::string& title) {
    return Table{"summary",
                 title,
                 {"method", "code", "status", "p_up_bar", "dp_bar", "dp_fric_bar", "dp_elev_bar",
                  "dp_acc_bar", "holdup", "reynolds", "darcy_f", "leq_m", "regime"},
                 {}};
}

void AddSummaryRow(Table& t, int code, const March& m, double p2) {
    const FlowResult& r = m.r;
    const double dp = r.p == VANTARO_MISSING ? VANTARO_MISSING : r.p - p2;
    t.rows.push_back({std::string(MethodLabel(code)), static_cast<long long>(code),
                      static_cast<long long>(m.status), r.p, dp, r.dpfric, r.dpelev, r.dpacc,
                      r.holdup, r.re, r.fric, r.leq, RegimeName(r.regime)});
}

}  // namespace

void ConfigureTwoPhase(CLI::App& sub, TwoPhaseOptions& o) {
    sub.add_option("--two-phase", o.method,
                   "two-phase line by method: beggs-brill, dukler, orkiszewski, "
                   "lockhart-martinelli, beggs-brill-no-acceleration, beggs-brill-density, "
                   "dukler-density (or the code 2-8)");
    sub.add_option("--segments", o.segments, "two-phase: number of segments")
        ->check(CLI::Range(1, 1000));
    sub.add_option("--passes", o.passes, "two-phase: extra passes per segment")
        ->check(CLI::Range(0, 100));
    sub.add_option("--rise", o.rise, "two-phase: outlet minus inlet elevation, m");
    sub.add_option("--elevation", o.elevation,
                   "two-phase static head: 0 both ways, 1 no downhill recovery, 2 none")
        ->check(CLI::Range(0, 2));
    sub.add_flag("--holdup-correction", o.correction,
                 "two-phase: Beggs-Brill uphill/downhill holdup factors");
    sub.add_option("--thermo", o.thermo, "two-phase flashes: 1 Peng-Robinson, 2 SRK")
        ->check(CLI::Range(1, 2));
}

std::vector<Table> TwoPhaseTables(const Session& s, PipeSegment pipe, double flow, double p2,
                                  int friction, const TwoPhaseOptions& o, bool allMethods) {
    const int code = MethodCode(o.method.empty() ? "beggs-brill" : o.method);
    OpenWithViscosityFit(s.kase);
    pipe.rise = o.rise;
    const std::vector<double>& z = s.kase.z;

    // The relieving state upstream of the valve; the valve and the line
    // keep the stream's enthalpy.
    const size_t nc = z.size();
    std::vector<double> y(nc), x(nc), xw(nc), xl(nc);
    int32_t ph[3];
    double frac[5], h[5], en[5], cp[5], v[5], mw[5];
    double t = s.kase.T, p = s.kase.P;
    frac[0] = h[3] = en[3] = VANTARO_MISSING;
    if (Prop3(o.thermo, o.hmethod, &t, &p, z.data(), y.data(), x.data(), xw.data(), xl.data(), ph,
              frac, h, en, cp, v, mw, VANTARO_MISSING, kTol) != 0)
        throw std::runtime_error("two-phase: the relieving state cannot be flashed");
    const double hRelief = h[3];

    Table line{"two_phase_line",
               "Two-phase relief line: the case's stream relieved at " + Fmt(s.kase.T) + " K, " +
                   Fmt(s.kase.P / 100.0) + " bar, to the header (NewTwoPhaseDp)",
               {"quantity", "value", "unit"},
               {}};
    auto row = [&](const char* q, double val, const char* u) {
        line.rows.push_back({std::string(q), val, std::string(u)});
    };
    row("length", pipe.len * pipe.lenmult, "m");
    row("rise", pipe.rise, "m");
    row("internal diameter", pipe.dia, "in");
    row("fittings K", pipe.kfit, "-");
    row("fittings L/D", pipe.ldfit, "-");
    row("mass flow", flow, "kg/h");
    row("header pressure", p2, "bar");
    row("stream enthalpy", hRelief, "kJ/kmol");
    row("vapour fraction at relief", frac[0], "mol/mol");
    row("segments", o.segments, "-");
    row("extra passes", o.passes, "-");

    const int n = o.segments;
    const March m = RunMarch(code, n, pipe, flow, p2, friction, o, z, hRelief);
    if (m.status != -1) throw std::runtime_error("two-phase: NewTwoPhaseDp could not compute the line");

    // Per segment: the method on that segment alone between the marched
    // node pressures, for its holdup and regime.
    PipeSegment part = pipe;
    part.len /= n;
    part.rise /= n;
    part.kfit /= n;
    part.ldfit /= n;
    TwoPhaseOptions once = o;
    once.passes = 0;
    Table profile{"profile",
                  "Node profile, " + std::string(MethodLabel(code)) +
                      " (holdup and regime of the segment from the node to the next one "
                      "downstream)",
                  {"node", "distance_m", "p_bar", "t_c", "velocity_m_s", "vapour_fraction",
                   "holdup", "regime"},
                  {}};
    for (int i = 0; i <= n; ++i) {
        double tk = VANTARO_MISSING, pk = 100.0 * m.p[i];
        frac[0] = en[3] = VANTARO_MISSING;
        h[3] = hRelief;
        Prop3(o.thermo, o.hmethod, &tk, &pk, z.data(), y.data(), x.data(), xw.data(), xl.data(),
              ph, frac, h, en, cp, v, mw, VANTARO_MISSING, kTol);
        Cell holdup = std::string("-"), regime = std::string("-");
        if (i < n) {
            // One pass from the marched upstream pressure: the method's view
            // of the segment between the two node states of the march.
            const March seg =
                RunMarch(code, 1, part, flow, m.p[i + 1], friction, once, z, hRelief, m.p[i]);
            holdup = seg.r.holdup;
            regime = RegimeName(seg.r.regime);
        }
        profile.rows.push_back({static_cast<long long>(i), pipe.len * pipe.lenmult * i / n,
                                m.p[i], m.t[i], m.v[i], frac[0], holdup, regime});
    }

    Table summary = SummaryTable("Two-phase summary (sums over the segments; holdup, Reynolds "
                                 "number and friction factor averaged)");
    if (allMethods) {
        for (const MethodName& mn : kMethods)
            AddSummaryRow(summary, mn.code,
                          mn.code == code ? m : RunMarch(mn.code, n, pipe, flow, p2, friction, o, z,
                                                         hRelief),
                          p2);
    } else {
        AddSummaryRow(summary, code, m, p2);
    }
    return {line, profile, summary};
}

}  // namespace vantaro_cli
