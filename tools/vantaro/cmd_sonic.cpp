// Commands of the sonic-flow family: sonic (the sonic velocity of the relief
// stream and at the valve outlet, with the outlet's Mach number) and choke
// (the choke pressure of the tail pipe).
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "cli.h"

namespace vantaro_cli {
namespace {

constexpr double kInch = 0.0254;

// The relief line both commands share: flow and pipe.
struct Line {
    double flow = 50000.0;  // kg/h
    double dia = 6.065;     // in, internal diameter (6 in schedule 40)
    double Area() const { return std::numbers::pi / 4.0 * (dia * kInch) * (dia * kInch); }
};

struct SonicOptions {
    int method = 1, hmethod = -1;
    double t = VANTARO_MISSING, p = VANTARO_MISSING;
    double pout = 300.0;  // kPa, valve outlet (built-up back pressure)
    Line line;
} g_sonic;

struct ChokeOptions {
    int method = 1, hmethod = -1;
    double t = VANTARO_MISSING, p = VANTARO_MISSING;
    double pstart = 101.325;  // kPa, the tail pipe's outlet
    int dir = 1;
    bool precise = false;
    Line line;
} g_choke;

const double* TolBlock() {
    static const double tol[4] = {0.01, 0.1, 0.001, 1e-4};
    return tol;
}

int HMethod(int method, int hmethod) {
    return hmethod >= 0 ? hmethod : (method == 2 ? 2 : (method == 0 ? 0 : 1));
}

// One Prop3 state: TP, or PH with T unknown.
struct State {
    int32_t status = 4;
    double t, p, frac[5], h[5], s[5], cp[5], v[5], mw[5];
    double Density() const {
        return v[3] != VANTARO_MISSING && v[3] > 0 ? mw[3] / v[3] : VANTARO_MISSING;
    }
};

State Evaluate(const Session& s, int method, int hmethod, double t, double p, double hin) {
    const size_t n = s.kase.comps.size();
    std::vector<double> y(n), x(n), xw(n), xl(n), z = s.kase.z;
    State st;
    int32_t ph[3] = {0, 0, 0};
    for (int k = 0; k < 5; ++k)
        st.frac[k] = st.h[k] = st.s[k] = st.cp[k] = st.v[k] = st.mw[k] = VANTARO_MISSING;
    st.h[3] = t == VANTARO_MISSING ? hin : VANTARO_MISSING;
    st.t = t;
    st.p = p;
    st.status = Prop3(method, hmethod, &st.t, &st.p, z.data(), y.data(), x.data(), xw.data(),
                      xl.data(), ph, st.frac, st.h, st.s, st.cp, st.v, st.mw, VANTARO_MISSING,
                      TolBlock());
    return st;
}

std::vector<Cell> SonicRow(const Session& s, const std::string& label, int method, int hmethod,
                           double t, double p, double hin, const Line* line) {
    const State st = Evaluate(s, method, hmethod, t, p, hin);
    std::vector<double> z = s.kase.z;
    double c = VANTARO_MISSING, cig = VANTARO_MISSING;
    const int32_t status = SonicVelocity(method, hmethod, p, t, hin, z.data(), st.mw[3],
                                         st.Density(), st.cp[3], &c, TolBlock());
    SonicVelocity(0, 0, p, t, hin, z.data(), st.mw[3], st.Density(), st.cp[3], &cig, nullptr);
    double vel = VANTARO_MISSING, mach = VANTARO_MISSING;
    if (line && st.Density() != VANTARO_MISSING) {
        vel = line->flow / 3600.0 / line->Area() / st.Density();
        if (status == 1) mach = vel / c;
    }
    return {label, static_cast<long long>(status), p, st.t, st.frac[0], st.Density(), c, cig,
            vel, mach};
}

Report Sonic(Session& s) {
    const SonicOptions& o = g_sonic;
    const int hm = HMethod(o.method, o.hmethod);
    const double t = o.t != VANTARO_MISSING ? o.t : s.kase.T;
    const double p = o.p != VANTARO_MISSING ? o.p : s.kase.P;
    const State relief = Evaluate(s, o.method, hm, t, p, VANTARO_MISSING);
    Table tab{"sonic",
              "Sonic velocity (SonicVelocity; ideal-gas formula for comparison); velocity and Mach "
              "number of " + Fmt(o.line.flow) + " kg/h in " + Fmt(o.line.dia) + " in at the outlet",
              {"state", "status", "P_kPa", "T_K", "vapour_fraction", "density_kg_m3",
               "sonic_m_s", "ideal_gas_m_s", "velocity_m_s", "mach"},
              {}};
    tab.rows.push_back(SonicRow(s, "relief (T, P)", o.method, hm, t, p, VANTARO_MISSING, nullptr));
    if (relief.status == 0)
        tab.rows.push_back(SonicRow(s, "valve outlet (isenthalpic)", o.method, hm,
                                    VANTARO_MISSING, o.pout, relief.h[3], &o.line));
    return {{tab}};
}

Report Choke(Session& s) {
    const ChokeOptions& o = g_choke;
    const int hm = HMethod(o.method, o.hmethod);
    const double t = o.t != VANTARO_MISSING ? o.t : s.kase.T;
    const double p = o.p != VANTARO_MISSING ? o.p : s.kase.P;
    const State relief = Evaluate(s, o.method, hm, t, p, VANTARO_MISSING);
    const double area = o.line.Area();
    std::vector<double> z = s.kase.z;
    double pchoke = o.pstart, rho = VANTARO_MISSING, vel = VANTARO_MISSING,
           mach = VANTARO_MISSING;
    int32_t status = 0;
    if (relief.status == 0)
        status = PressureChoke(o.method, hm, area, o.line.flow, relief.h[3], &pchoke, &t, z.data(),
                               TolBlock(), &rho, &vel, &mach, o.precise ? 1 : 0, o.dir);
    Table tab{"choke", "Choke pressure of the tail pipe (PressureChoke)", {"quantity", "value", "unit"},
              {}};
    auto row = [&](const char* q, Cell v, const char* u) { tab.rows.push_back({std::string(q), v, std::string(u)}); };
    row("relief temperature", t, "K");
    row("relief pressure", p, "kPa");
    row("relief enthalpy", relief.h[3], "kJ/kmol");
    row("mass flow", o.line.flow, "kg/h");
    row("internal diameter", o.line.dia, "in");
    row("mass flux", o.line.flow / 3600.0 / area, "kg/(m2 s)");
    row("search start (the outlet)", o.pstart, "kPa");
    row("status", static_cast<long long>(status), status == 1 ? "found" : "not found");
    row("choke pressure", status == 1 ? pchoke : VANTARO_MISSING, "kPa");
    row("density", rho, "kg/m3");
    row("velocity", vel, "m/s");
    row("Mach number", mach, "-");
    // Choked at the start pressure when Mach 1 lies above it.
    row("choked at the start", std::string(status != 1 ? "unknown" : pchoke > o.pstart ? "yes" : "no"), "");
    return {{tab}};
}

void AddStream(CLI::App& sub, int& method, int& hmethod, double& t, double& p, Line& line) {
    sub.add_option("--method", method,
                   "0 ideal-gas formula, 1 Peng-Robinson (default), 2 SRK, 3 vapour pressure with "
                   "free water")
        ->check(CLI::Range(0, 3));
    sub.add_option("--hmethod", hmethod,
                   "0 ideal gas, 1 PR, 2 SRK departures, 3 Lee-Kesler (default: as --method, PR "
                   "for 3)")
        ->check(CLI::Range(0, 3));
    sub.add_option("--t", t, "relief temperature, K (default: the case's)");
    sub.add_option("--p", p, "relief pressure, kPa (default: the case's)");
    sub.add_option("--flow", line.flow, "mass flow, kg/h (default 50000)");
    sub.add_option("--dia", line.dia, "internal diameter of the outlet or tail pipe, in (default 6.065)");
}

const bool r1 = RegisterCommand(
    {"sonic", "sonic velocity of the relief stream and at the valve outlet", 505,
     [](CLI::App& sub) {
         AddStream(sub, g_sonic.method, g_sonic.hmethod, g_sonic.t, g_sonic.p, g_sonic.line);
         sub.add_option("--pout", g_sonic.pout, "valve outlet pressure, kPa (default 300)");
     },
     Sonic, true});
const bool r2 = RegisterCommand(
    {"choke", "choke pressure of the relief stream in the tail pipe", 506,
     [](CLI::App& sub) {
         AddStream(sub, g_choke.method, g_choke.hmethod, g_choke.t, g_choke.p, g_choke.line);
         sub.add_option("--start", g_choke.pstart,
                        "starting pressure of the search, kPa (default 101.325, the outlet)");
         sub.add_option("--dir", g_choke.dir, "1 seek above the start (default), 0 below");
         sub.add_flag("--precise", g_choke.precise, "Mach tolerance 1e-6 instead of 1e-4");
     },
     Choke, true});

}  // namespace
}  // namespace vantaro_cli
