// Commands of the pipe-hydraulics family: pipe (a vapour line, isothermal and
// adiabatic, and a two-phase relief line), friction (Moody values), regime
// (the Mandhane map).
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "cli.h"
#include "hydraulics/friction.h"
#include "pipe_twophase.h"

namespace vantaro_cli {
namespace {

constexpr double kRgasEos = 8314.2;  // J/(kmol K), ideal-gas densities of the line's states

// ---- pipe -----------------------------------------------------------------

struct PipeOptions {
    std::string vapour = "both";
    std::string lineFile;
    PipeSegment pipe{100.0, 7.981, 0.0, 1.5, 60.0, 0.0018, 0.0018, 1.0};
    double flow = 20000.0;  // kg/h
    double p2 = 1.01325;    // bar
    double visc = 0.0115;   // cP, vapour viscosity of the line's states
    double estimate = VANTARO_MISSING;
    double tol = 1e-6;
    int method = 1;
    int rescale = 1;
    TwoPhaseOptions twoPhase;
} g_pipe;

// A line: everything IsoVapDp and AdiaVapDp take.
struct LineCase {
    int method;
    double p2, flow;
    StreamState up{}, down{};
    PipeSegment pipe{};
    int rescale;
    double estimate, tol;
    std::string source;
};

// Ideal-gas molar heat capacity of the case at temperature t, from the
// components' ideal-gas enthalpy polynomials (kJ/kmol): dH/dT.
double CaseIdealGasCp(const Case& c, double t) {
    double cp = 0, sum = 0;
    for (size_t i = 0; i < c.comps.size(); ++i) {
        const CompRecord& r = c.comps[i].rec;
        const double cpi =
            r.igb + t * (2 * r.igc + t * (3 * r.igd + t * (4 * r.ige + t * 5 * r.igf)));
        cp += c.z[i] * cpi;
        sum += c.z[i];
    }
    return sum > 0 ? cp / sum : VANTARO_MISSING;
}

StreamState IdealGasState(double p, double mw, double t, double visc, double cp) {
    StreamState s{};
    s.pref = p;
    s.vfrac = 1.0;
    s.mixmw = s.vapmw = s.liqmw = mw;
    s.mixden = s.vapden = p * 1e5 * mw / (kRgasEos * t);
    s.liqden = 1000.0;
    s.mixvisc = s.vapvisc = visc;
    s.mixcp = s.vapcp = cp;
    return s;
}

// The line from the options: the case's gas (molecular weight, temperature,
// ideal-gas heat capacity) at both ends.
LineCase LineFromOptions(const Session& s) {
    double mw = 0;
    MolWeight(s.kase.z.data(), &mw);
    double zsum = 0;
    for (double x : s.kase.z) zsum += x;
    if (zsum > 0) mw /= zsum;
    const double t = s.kase.T;
    const double cp = CaseIdealGasCp(s.kase, t);
    LineCase l;
    l.method = g_pipe.method;
    l.p2 = g_pipe.p2;
    l.flow = g_pipe.flow;
    l.up = IdealGasState(2.0 * g_pipe.p2, mw, t, g_pipe.visc, cp);
    l.down = IdealGasState(g_pipe.p2, mw, t, g_pipe.visc, cp);
    l.pipe = g_pipe.pipe;
    l.rescale = g_pipe.rescale;
    l.estimate = g_pipe.estimate;
    l.tol = g_pipe.tol;
    l.source = "case gas, ideal at " + Fmt(t) + " K";
    return l;
}

StreamState StateFromJson(const nlohmann::json& j) {
    StreamState s{};
    s.pref = j.at("pref").get<double>();
    s.vfrac = j.value("vfrac", 1.0);
    s.mixmw = j.at("mixmw").get<double>();
    s.mixden = j.at("mixden").get<double>();
    s.mixvisc = j.at("mixvisc").get<double>();
    s.mixcp = j.value("mixcp", VANTARO_MISSING);
    s.vapmw = j.value("vapmw", s.mixmw);
    s.vapden = j.value("vapden", s.mixden);
    s.vapvisc = j.value("vapvisc", s.mixvisc);
    s.liqmw = j.value("liqmw", s.mixmw);
    s.liqden = j.value("liqden", 1000.0);
    return s;
}

LineCase LineFromFile(const std::string& path) {
    std::ifstream f(path);
    if (!f) throw std::runtime_error("cannot read " + path);
    LineCase l;
    try {
        nlohmann::json j;
        f >> j;
        l.method = j.value("method", 1);
        l.p2 = j.at("p2").get<double>();
        l.flow = j.at("flow").get<double>();
        const auto& p = j.at("pipe");
        l.pipe.len = p.at("len").get<double>();
        l.pipe.dia = p.at("dia").get<double>();
        l.pipe.rise = p.value("rise", 0.0);
        l.pipe.kfit = p.value("kfit", 0.0);
        l.pipe.ldfit = p.value("ldfit", 0.0);
        l.pipe.rough = p.value("rough", 0.0018);
        l.pipe.roughft = p.value("roughft", l.pipe.rough);
        l.pipe.lenmult = p.value("lenmult", 1.0);
        l.up = StateFromJson(j.at("upstream"));
        l.down = StateFromJson(j.at("downstream"));
        l.rescale = j.value("rescale", 1);
        l.estimate = j.contains("estimate") && !j["estimate"].is_null()
                         ? j["estimate"].get<double>()
                         : VANTARO_MISSING;
        l.tol = j.value("tolerance", 1e-6);
    } catch (const nlohmann::json::exception& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
    l.source = path;
    return l;
}

Report Pipe(Session& s) {
    // --two-phase: the two-phase line alone; without it the vapour line and
    // the two-phase line with every method.
    const bool twoPhaseOnly = !g_pipe.twoPhase.method.empty();
    std::vector<Table> twoPhase;
    if (twoPhaseOnly || g_pipe.lineFile.empty())
        twoPhase = TwoPhaseTables(s, g_pipe.pipe, g_pipe.flow, g_pipe.p2, g_pipe.method,
                                  g_pipe.twoPhase, !twoPhaseOnly);
    if (twoPhaseOnly) return {twoPhase};
    const LineCase l = g_pipe.lineFile.empty() ? LineFromOptions(s) : LineFromFile(g_pipe.lineFile);
    Table in{"line", "Vapour line (" + l.source + ")", {"quantity", "value", "unit"}, {}};
    auto row = [&](const char* q, double v, const char* u) {
        in.rows.push_back({std::string(q), v, std::string(u)});
    };
    row("length", l.pipe.len * l.pipe.lenmult, "m");
    row("internal diameter", l.pipe.dia, "in");
    row("roughness", l.pipe.rough, "in");
    row("fittings K", l.pipe.kfit, "-");
    row("fittings L/D", l.pipe.ldfit, "-");
    row("mass flow", l.flow, "kg/h");
    row("downstream pressure", l.p2, "bar");
    row("molecular weight", l.down.mixmw, "kg/kmol");
    row("downstream density", l.down.mixden, "kg/m3");
    row("viscosity", l.down.mixvisc, "cP");
    row("molar heat capacity", l.down.mixcp, "kJ/(kmol K)");

    Table out{"results",
              "Upstream pressure (IsoVapDp, AdiaVapDp; friction method " +
                  std::string(l.method == 0   ? "Round"
                              : l.method == 1 ? "Chen"
                                              : "?") +
                  ")",
              {"model", "status", "p_up_bar", "dp_bar", "v_in_m_s", "v_out_m_s", "reynolds",
               "darcy_f", "leq_m", "regime"},
              {}};
    auto run = [&](const char* name, auto routine) {
        FlowResult r{};
        const int32_t st = routine(l.method, l.p2, l.flow, &l.up, &l.down, &l.pipe, &r, l.rescale,
                                   l.estimate, l.tol);
        const double dp = r.p == VANTARO_MISSING ? VANTARO_MISSING : r.p - l.p2;
        out.rows.push_back({std::string(name), static_cast<long long>(st), r.p, dp, r.vin, r.vout,
                            r.re, r.fric, r.leq, static_cast<long long>(r.regime)});
    };
    if (g_pipe.vapour == "isothermal" || g_pipe.vapour == "both") run("isothermal", IsoVapDp);
    if (g_pipe.vapour == "adiabatic" || g_pipe.vapour == "both") run("adiabatic", AdiaVapDp);
    Report r{{in, out}};
    r.tables.insert(r.tables.end(), twoPhase.begin(), twoPhase.end());
    return r;
}

void ConfigurePipe(CLI::App& sub) {
    sub.add_option("--vapour", g_pipe.vapour, "isothermal, adiabatic or both")
        ->check(CLI::IsMember({"isothermal", "adiabatic", "both"}));
    sub.add_option("--line", g_pipe.lineFile,
                   "line file (JSON: pipe, flow, p2, upstream, downstream)");
    sub.add_option("--length", g_pipe.pipe.len, "pipe length, m");
    sub.add_option("--dia", g_pipe.pipe.dia, "internal diameter, in");
    sub.add_option("--rough", g_pipe.pipe.rough, "wall roughness, in");
    sub.add_option("--kfit", g_pipe.pipe.kfit, "fittings loss coefficient K");
    sub.add_option("--ldfit", g_pipe.pipe.ldfit, "fittings L/D");
    sub.add_option("--flow", g_pipe.flow, "mass flow, kg/h");
    sub.add_option("--p2", g_pipe.p2, "downstream pressure, bar");
    sub.add_option("--visc", g_pipe.visc, "gas viscosity, cP");
    sub.add_option("--method", g_pipe.method, "friction factor: 0 Round, 1 Chen");
    sub.add_option("--estimate", g_pipe.estimate, "estimate of the upstream pressure, bar");
    sub.add_option("--tol", g_pipe.tol, "relative tolerance");
    ConfigureTwoPhase(sub, g_pipe.twoPhase);
}

// ---- friction -------------------------------------------------------------

struct FrictionOptions {
    std::vector<double> re;
    double dia = 4.026;
    double rough = 0.0018;
} g_fric;

Report Friction(Session&) {
    std::vector<double> res = g_fric.re;
    if (res.empty()) res = {1000, 2100, 3000, 4000, 1e4, 1e5, 1e6, 1e7, 1e8};
    Table t{"friction",
            "Darcy friction factor, D = " + Fmt(g_fric.dia) + ", roughness " + Fmt(g_fric.rough) +
                " (e/D " + Fmt(g_fric.rough / g_fric.dia) + ")",
            {"reynolds", "zone", "round", "chen"},
            {}};
    for (double re : res) {
        double f0 = 0, f1 = 0;
        vt::FrictionFactor(0, re, g_fric.dia, g_fric.rough, &f0);
        vt::FrictionFactor(1, re, g_fric.dia, g_fric.rough, &f1);
        const char* zone = re < 2100 ? "laminar" : re < 4000 ? "transition" : "turbulent";
        t.rows.push_back({re, std::string(zone), f0, f1});
    }
    double ft0 = 0, ft1 = 0;
    const int32_t a = TurbulentFrictionFactor(0, g_fric.dia, g_fric.rough, &ft0);
    const int32_t b = TurbulentFrictionFactor(1, g_fric.dia, g_fric.rough, &ft1);
    Table turb{"turbulent",
               "Complete turbulence (TurbulentFrictionFactor)",
               {"method", "darcy_f", "status"},
               {}};
    turb.rows.push_back({std::string("Round"), ft0, static_cast<long long>(a)});
    turb.rows.push_back({std::string("Chen"), ft1, static_cast<long long>(b)});
    return {{t, turb}};
}

void ConfigureFriction(CLI::App& sub) {
    sub.add_option("--re", g_fric.re, "Reynolds number(s)");
    sub.add_option("--dia", g_fric.dia, "diameter (same unit as the roughness)");
    sub.add_option("--rough", g_fric.rough, "absolute roughness");
}

// ---- regime ---------------------------------------------------------------

struct RegimeOptions {
    double gas = VANTARO_MISSING, liquid = VANTARO_MISSING;
    bool si = false;
} g_regime;

const char* const kRegimes[6] = {
    "dispersed bubble", "elongated bubble", "slug", "stratified", "wave", "annular"};

Report Regime(Session&) {
    std::vector<std::pair<double, double>> points;
    if (g_regime.gas != VANTARO_MISSING || g_regime.liquid != VANTARO_MISSING) {
        const double k = g_regime.si ? 1.0 / 0.3048 : 1.0;
        points.push_back({g_regime.gas * k, g_regime.liquid * k});
    } else {
        points = {{1, 0.01}, {30, 0.01}, {300, 0.1}, {0.1, 1}, {10, 3}, {1, 30}};
    }
    Table t{"regime",
            "Horizontal flow regime (Mandhane map), velocities in ft/s",
            {"gas_ft_s", "liquid_ft_s", "regime", "dispersed_bubble", "elongated_bubble", "slug",
             "stratified", "wave", "annular"},
            {}};
    for (auto [g, l] : points) {
        double sc[6];
        Mandhane(g, l, sc);
        int best = 0;
        for (int j = 1; j < 6; ++j)
            if (sc[j] > sc[best]) best = j;
        const std::string name = sc[0] == VANTARO_MISSING ? "invalid velocities" : kRegimes[best];
        t.rows.push_back({g, l, name, sc[0], sc[1], sc[2], sc[3], sc[4], sc[5]});
    }
    return {{t}};
}

void ConfigureRegime(CLI::App& sub) {
    sub.alias("mandhane");
    sub.add_option("--gas", g_regime.gas, "superficial gas velocity (ft/s; m/s with --si)");
    sub.add_option("--liquid", g_regime.liquid,
                   "superficial liquid velocity (ft/s; m/s with --si)");
    sub.add_flag("--si", g_regime.si, "velocities in m/s");
}

const bool r1 =
    RegisterCommand({"pipe", "upstream pressure of a vapour line (isothermal, adiabatic) and of a two-phase line", 500,
                     ConfigurePipe, Pipe, true});
const bool r2 =
    RegisterCommand({"friction", "Darcy friction factors (Round, Chen) over Reynolds numbers", 510,
                     ConfigureFriction, Friction, false});
const bool r3 = RegisterCommand({"regime", "horizontal gas-liquid flow regime on the Mandhane map",
                                 520, ConfigureRegime, Regime, false});

}  // namespace
}  // namespace vantaro_cli
