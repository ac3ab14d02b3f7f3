// Commands of the transport family: transport (viscosities, thermal
// conductivities and surface tension of the case composition) and viscparam
// (the fitted liquid-viscosity coefficients of its components).
#include <cmath>
#include <vector>

#include "cli.h"
#include "platform/constants.h"
#include "correlations/liquid_density.h"
#include "steam/ifc67.h"
#include "transport/transport.h"

namespace vantaro_cli {
namespace {

double g_T = VANTARO_MISSING, g_P = VANTARO_MISSING;
int g_kind = 0, g_kindFit = 0;

// Fills visca/viscb of every component with ViscParam and reopens the
// workspace with them, as a host does before it asks for liquid viscosities.
std::vector<std::pair<double, double>> FitAndReopen(Case& c, int kind) {
    std::vector<std::pair<double, double>> ab;
    for (auto& comp : c.comps) {
        CompRecord& r = comp.rec;
        ViscParam(kind, r.mw, r.tc, r.pc / 100.0, r.vc, r.vstar, r.omega, r.omegasrk, r.tb, r.liqden,
                  &r.visca, &r.viscb);
        ab.emplace_back(r.visca, r.viscb);
    }
    CloseProps();
    OpenCase(c);
    return ab;
}

Report Transport(Session& s) {
    const double T = g_T != VANTARO_MISSING ? g_T : s.kase.T;
    const double P = g_P != VANTARO_MISSING ? g_P : s.kase.P;
    Case c = s.kase;
    FitAndReopen(c, g_kind);
    const std::vector<double>& z = c.z;
    const size_t n = c.comps.size();

    double mw = 0;
    MolWeight(z.data(), &mw);
    const double rhoV = P * mw / (vt::kRgasEos * T);  // ideal-gas density, kg/m3
    const double rhoLm =
        vt::LiquidDensity(vt::g_ws, 2, T, P, z.data());  // kmol/m3, 0 above pseudo-Tc
    const double rhoL = rhoLm > 0 ? rhoLm * mw : VANTARO_MISSING;

    // The stream as a host sees it: a Peng-Robinson TP evaluation by Prop3,
    // then each phase present at its own composition and density.
    Table phases{"phases",
                 "Phases of the stream (Prop3, Peng-Robinson, at T, P) and their transport properties",
                 {"phase", "fraction", "density_kg_m3", "viscosity_cP", "conductivity_W_mK",
                  "surface_tension_dyn_cm"},
                 {}};
    {
        std::vector<double> y(n), x(n), xw(n), xl(n);
        double t = T, p = P, frac[5], h[5], sv[5], cp[5], v[5], molwt[5];
        int32_t ph[3] = {0, 0, 0};
        for (int k = 0; k < 5; ++k) frac[k] = h[k] = sv[k] = cp[k] = v[k] = molwt[k] = VANTARO_MISSING;
        const double tol[4] = {0.01, 0.1, 0.001, 1e-4};
        const int32_t st = Prop3(1, 1, &t, &p, z.data(), y.data(), x.data(), xw.data(), xl.data(), ph, frac,
                                 h, sv, cp, v, molwt, VANTARO_MISSING, tol);
        const char* names[3] = {"vapour", "liquid", "aqueous"};
        const double* comps[3] = {y.data(), x.data(), xw.data()};
        for (int k = 0; st == 0 && k < 3; ++k) {
            if (ph[k] == 0 || !(frac[k] > 0) || !(v[k] > 0)) continue;
            const double rho = molwt[k] / v[k];
            double mu = VANTARO_MISSING, cond = VANTARO_MISSING, sig = VANTARO_MISSING;
            if (k == 0) {
                ViscVapour(comps[k], T, &mu);
                ThermCondVapour(comps[k], T, rho, &cond);
                phases.rows.push_back({std::string(names[k]), frac[k], rho, mu, cond, std::string("")});
            } else {
                ViscLiquid(comps[k], P, T, rho, &mu);
                ThermCondLiquid(comps[k], T, &cond);
                SurfTenLiquid(comps[k], T, &sig);
                phases.rows.push_back({std::string(names[k]), frac[k], rho, mu, cond, sig});
            }
        }
    }

    Table mix{"mixture",
              "Case composition as vapour (ideal-gas density) and as liquid (COSTALD density), "
              "visca/viscb from ViscParam",
              {"phase", "density_kg_m3", "viscosity_cP", "conductivity_W_mK", "surface_tension_dyn_cm"},
              {}};
    double muV = 0, kV = 0;
    ViscVapour(z.data(), T, &muV);
    ThermCondVapour(z.data(), T, rhoV, &kV);
    mix.rows.push_back({std::string("vapour"), rhoV, muV, kV, std::string("")});
    double muL = VANTARO_MISSING, kL = 0, sigma = 0;
    if (rhoL != VANTARO_MISSING) ViscLiquid(z.data(), P, T, rhoL, &muL);
    ThermCondLiquid(z.data(), T, &kL);
    SurfTenLiquid(z.data(), T, &sigma);
    mix.rows.push_back({std::string("liquid"), rhoL, muL, kL, sigma});

    Table pure{"pure",
               "Each component alone at T, P (liquid only below its critical temperature; water's "
               "liquid density from IFC-67)",
               {"name", "vapour_visc_cP", "vapour_cond_W_mK", "liquid_density_kg_m3", "liquid_visc_cP",
                "liquid_cond_W_mK", "surface_tension_dyn_cm"},
               {}};
    for (size_t i = 0; i < n; ++i) {
        std::vector<double> x(n, 0.0);
        x[i] = 1.0;
        const CompRecord& r = c.comps[i].rec;
        double mv = 0, kv = 0;
        ViscVapour(x.data(), T, &mv);
        ThermCondVapour(x.data(), T, P * r.mw / (vt::kRgasEos * T), &kv);
        double rho = VANTARO_MISSING, ml = VANTARO_MISSING, kl = VANTARO_MISSING, st = VANTARO_MISSING;
        if (T < r.tc) {
            if (r.code == vt::kCodeWater) {
                const double v = vt::SteamMolarVolume(T, P, 1);
                rho = v == VANTARO_MISSING ? VANTARO_MISSING : r.mw / v;
            } else {
                double rm = 0;
                vt::CompressedLiquidDensity(T, P, r.tc, r.pc, r.vstar, r.omegasrk, r.omega, &rm);
                rho = rm * r.mw;
            }
            if (rho != VANTARO_MISSING) ViscLiquid(x.data(), P, T, rho, &ml);
            ThermCondLiquid(x.data(), T, &kl);
            SurfTenLiquid(x.data(), T, &st);
        }
        pure.rows.push_back({c.comps[i].name, mv, kv, rho, ml, kl, st});
    }
    Table cond{"conditions", "Transport properties", {"quantity", "value", "unit"}, {}};
    cond.rows.push_back({std::string("temperature"), T, std::string("K")});
    cond.rows.push_back({std::string("pressure"), P, std::string("kPa")});
    cond.rows.push_back({std::string("ViscParam kind"), static_cast<double>(g_kind), std::string("")});
    return {{cond, phases, mix, pure}};
}

Report ViscParams(Session& s) {
    Case c = s.kase;
    const auto ab = FitAndReopen(c, g_kindFit);
    Table t{"viscparam",
            "Liquid-viscosity coefficients: s(Tr) = exp(visca + viscb ln Tr) (ViscParam, kind " +
                std::to_string(g_kindFit) + ")",
            {"name", "visca", "viscb"},
            {}};
    for (size_t i = 0; i < c.comps.size(); ++i) t.rows.push_back({c.comps[i].name, ab[i].first, ab[i].second});
    return {{t}};
}

const bool r1 = RegisterCommand(
    {"transport", "viscosity, thermal conductivity and surface tension of the case at T, P", 100,
     [](CLI::App& sub) {
         sub.add_option("--t", g_T, "temperature, K (default: the case's)");
         sub.add_option("--p", g_P, "pressure, kPa (default: the case's)");
         sub.add_option("--kind", g_kind, "ViscParam kind: 1 = petroleum pseudo-components (default 0)");
     },
     Transport, true});
const bool r2 = RegisterCommand({"viscparam", "fitted liquid-viscosity coefficients of the case's components", 110,
                                 [](CLI::App& sub) {
                                     sub.add_option("--kind", g_kindFit,
                                                    "1 = petroleum pseudo-components (default 0)");
                                 },
                                 ViscParams, true});

}  // namespace
}  // namespace vantaro_cli
