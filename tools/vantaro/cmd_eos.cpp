// The equation-of-state view: the TP flash of the case's composition and the
// volume and enthalpy of each phase. A diagnostic command: it calls the
// engine's internal flash and phase-property routines directly.
#include <cmath>

#include "cli.h"
#include "thermo/eos.h"
#include "thermo/flash.h"
#include "thermo/phase_props.h"
#include "workspace/mixture.h"
#include "workspace/workspace.h"

namespace vantaro_cli {
namespace {

int g_method = 1;
double g_t = VANTARO_MISSING, g_p = VANTARO_MISSING;

const char* const kMethodNames[] = {"none (Berthelot)", "Peng-Robinson", "Soave-Redlich-Kwong",
                                    "vapour pressure, free water"};
const char* const kSlotNames[] = {"vapour slot", "liquid slot", "aqueous slot"};

std::string StateName(int32_t s) {
    switch (s) {
        case vt::kVapour: return "vapour";
        case vt::kLiquid: return "liquid";
        case vt::kAbsent: return "absent";
        default: return "?";
    }
}

Report Eos(Session& s) {
    const double t = g_t != VANTARO_MISSING ? g_t : s.kase.T;
    const double p = g_p != VANTARO_MISSING ? g_p : s.kase.P;
    if (!(t > 0.0) || !(p > 0.0) || !std::isfinite(t) || !std::isfinite(p))
        throw std::runtime_error("eos: --t and --p must be positive");
    const size_t n = s.kase.comps.size();
    std::vector<double> z = s.kase.z, x0(n), x1(n), x2(n);
    double* c[4] = {x0.data(), x1.data(), x2.data(), z.data()};
    int32_t st[3];
    double b[3];
    // The free-water component for the vapour-pressure model only, as the
    // property driver takes it.
    vt::Flash(vt::g_ws, g_method, vt::FreeWaterComponent(vt::g_ws, g_method), t, p, c, st, b);
    const int hmethod = g_method == 2 ? 2 : (g_method == 0 ? 0 : 1);
    double h[5], sm[5], cp[5], v[5];
    vt::PhaseProperties(vt::g_ws, g_method, hmethod, t, p, c, st, b, h, sm, cp, v);

    Table cond{"conditions", "Equation-of-state flash", {"quantity", "value"}, {}};
    cond.rows.push_back({std::string("method"), std::string(kMethodNames[g_method])});
    cond.rows.push_back({std::string("enthalpy method"), std::string(kMethodNames[hmethod])});
    cond.rows.push_back({std::string("T_K"), t});
    cond.rows.push_back({std::string("P_kPa"), p});

    Table ph{"phases",
             "Phase split (Z = P v / R T of the reported molar volume; liquids from COSTALD, water from its own correlation)",
             {"slot", "state", "fraction", "Z", "molar_volume_m3_kmol", "mw", "density_kg_m3",
              "enthalpy_kJ_kmol"},
             {}};
    const double rt = vt::kRgasEos * t;
    for (int k = 0; k < 3; ++k) {
        if (st[k] == vt::kAbsent) continue;
        double mw = 0.0;
        for (size_t i = 0; i < n; ++i) mw += c[k][i] * s.kase.comps[i].rec.mw;
        const double vol = v[k];
        const bool haveV = vol != VANTARO_MISSING && vol > 0.0;
        ph.rows.push_back({std::string(kSlotNames[k]), StateName(st[k]), b[k],
                           haveV ? p * vol / rt : VANTARO_MISSING, vol,
                           mw, haveV ? mw / vol : VANTARO_MISSING, h[k]});
    }
    ph.rows.push_back({std::string("overall"), std::string(""), 1.0,
                       v[3] > 0.0 ? p * v[3] / rt : VANTARO_MISSING, v[3],
                       vt::MixMw(vt::g_ws, z.data()), VANTARO_MISSING, h[3]});

    Table comp{"compositions", "Phase compositions (mole fractions)",
               {"component", "feed", "vapour_slot", "liquid_slot", "aqueous_slot"}, {}};
    for (size_t i = 0; i < n; ++i) {
        std::vector<Cell> row{s.kase.comps[i].name, s.kase.z[i]};
        for (int k = 0; k < 3; ++k) row.emplace_back(st[k] == vt::kAbsent ? VANTARO_MISSING : c[k][i]);
        comp.rows.push_back(std::move(row));
    }
    return {{cond, ph, comp}};
}

const bool r1 = RegisterCommand(
    {"eos", "TP flash by an equation of state: phase split, Z, molar volume, composition", 40,
     [](CLI::App& sub) {
         sub.add_option("--method", g_method,
                        "1 Peng-Robinson (default), 2 Soave-Redlich-Kwong, 3 vapour pressure with "
                        "free water, 0 none")
             ->check(CLI::Range(0, 3));
         sub.add_option("--t", g_t, "temperature, K (default: the case's)");
         sub.add_option("--p", g_p, "pressure, kPa (default: the case's)");
     },
     Eos, true});

}  // namespace
}  // namespace vantaro_cli
