// Stream properties through Prop3, as a host calls it: TP, PH, PS and
// vapour-fraction specifications (bubble and dew points).
#include <cmath>
#include <string>

#include "cli.h"

namespace vantaro_cli {
namespace {

int g_method = 1, g_hmethod = -1;
double g_t = VANTARO_MISSING, g_p = VANTARO_MISSING, g_vf = VANTARO_MISSING,
       g_h = VANTARO_MISSING, g_s = VANTARO_MISSING, g_tguess = VANTARO_MISSING;
double g_tol[4] = {0.01, 0.1, 0.001, 1e-4};

const char* const kStatusText[] = {"success", "temperature not found", "pressure not found",
                                   "no solution at these conditions", "invalid specification"};

std::string StatusText(int32_t st) {
    if (st >= 0 && st <= 4) return kStatusText[st];
    if (st == -32767) return "lever-rule fraction rejected";
    return "?";
}

struct Evaluation {
    std::string label;
    int32_t status = 4;
    double t, p;
    int32_t phases[3] = {0, 0, 0};
    double frac[5], h[5], s[5], cp[5], v[5], mw[5];
    std::vector<double> y, x, xw, xl;
};

Evaluation Evaluate(const Session& s, const std::string& label, double t, double p, double vf,
                    double h, double sp, int hmethod) {
    const size_t n = s.kase.comps.size();
    Evaluation e;
    e.label = label;
    e.t = t;
    e.p = p;
    e.y.assign(n, 0.0), e.x.assign(n, 0.0), e.xw.assign(n, 0.0), e.xl.assign(n, 0.0);
    for (int k = 0; k < 5; ++k) e.frac[k] = e.h[k] = e.s[k] = e.cp[k] = e.v[k] = e.mw[k] = 0.0;
    e.frac[0] = vf;
    e.h[3] = h;
    e.s[3] = sp;
    std::vector<double> z = s.kase.z;
    e.status = Prop3(g_method, hmethod, &e.t, &e.p, z.data(), e.y.data(), e.x.data(), e.xw.data(),
                     e.xl.data(), e.phases, e.frac, e.h, e.s, e.cp, e.v, e.mw, g_tguess, g_tol);
    return e;
}

void AddTables(Report& r, const Session& s, const Evaluation& e, const std::string& key) {
    const char* slots[5] = {"vapour", "liquid", "aqueous", "overall", "combined liquid"};
    Table ph{key + "_phases", e.label + ": phases",
             {"phase", "fraction", "enthalpy_kJ_kmol", "entropy_kJ_kmolK", "cp_kJ_kmolK",
              "molar_volume_m3_kmol", "density_kg_m3", "mw"},
             {}};
    for (int k = 0; k < 5; ++k) {
        if (k < 3 && e.frac[k] == 0.0 && e.h[k] == VANTARO_MISSING) continue;
        if (k == 4 && e.frac[4] == 0.0) continue;
        const bool dens = e.v[k] != VANTARO_MISSING && e.v[k] > 0.0 && e.mw[k] != VANTARO_MISSING;
        ph.rows.push_back({std::string(slots[k]), e.frac[k], e.h[k], e.s[k], e.cp[k], e.v[k],
                           dens ? e.mw[k] / e.v[k] : VANTARO_MISSING, e.mw[k]});
    }
    Table comp{key + "_compositions", e.label + ": compositions (mole fractions)",
               {"component", "feed", "vapour", "liquid", "aqueous", "combined_liquid"}, {}};
    for (size_t i = 0; i < s.kase.comps.size(); ++i)
        comp.rows.push_back({s.kase.comps[i].name, s.kase.z[i], e.y[i], e.x[i], e.xw[i], e.xl[i]});
    r.tables.push_back(ph);
    r.tables.push_back(comp);
}

Report Flash(Session& s) {
    const int hmethod = g_hmethod >= 0 ? g_hmethod : (g_method == 2 ? 2 : (g_method == 0 ? 0 : 1));
    const double caseT = s.kase.T, caseP = s.kase.P;
    const int nspec = (g_vf != VANTARO_MISSING) + (g_h != VANTARO_MISSING) + (g_s != VANTARO_MISSING);
    std::vector<Evaluation> evals;
    if (nspec == 0 && g_t == VANTARO_MISSING && g_p == VANTARO_MISSING) {
        // The default view: the case's state, its bubble and dew points at
        // the case pressure, and an isenthalpic expansion to half of it.
        evals.push_back(Evaluate(s, "TP", caseT, caseP, VANTARO_MISSING, VANTARO_MISSING,
                                 VANTARO_MISSING, hmethod));
        if (g_method != 0) {
            evals.push_back(Evaluate(s, "bubble point (P given)", VANTARO_MISSING, caseP, 0.0,
                                     VANTARO_MISSING, VANTARO_MISSING, hmethod));
            evals.push_back(Evaluate(s, "dew point (P given)", VANTARO_MISSING, caseP, 1.0,
                                     VANTARO_MISSING, VANTARO_MISSING, hmethod));
        }
        const double h0 = evals.front().h[3];
        if (evals.front().status == 0)
            evals.push_back(Evaluate(s, "isenthalpic to P/2", VANTARO_MISSING, 0.5 * caseP,
                                     VANTARO_MISSING, h0, VANTARO_MISSING, hmethod));
    } else {
        double t = g_t, p = g_p;
        if (nspec == 0) {
            if (t == VANTARO_MISSING) t = caseT;
            if (p == VANTARO_MISSING) p = caseP;
        } else if (t == VANTARO_MISSING && p == VANTARO_MISSING) {
            p = caseP;  // the temperature is sought at the case pressure
        }
        std::string label = nspec == 0 ? "TP" : (t == VANTARO_MISSING ? "T sought" : "P sought");
        evals.push_back(Evaluate(s, label, t, p, g_vf, g_h, g_s, hmethod));
    }
    Report r;
    Table sum{"evaluations", "Prop3 evaluations",
              {"evaluation", "status", "meaning", "T_K", "P_kPa", "vapour_fraction", "enthalpy",
               "entropy"},
              {}};
    for (const Evaluation& e : evals)
        sum.rows.push_back({e.label, static_cast<long long>(e.status), StatusText(e.status), e.t,
                            e.p, e.frac[0], e.h[3], e.s[3]});
    r.tables.push_back(sum);
    int k = 0;
    for (const Evaluation& e : evals)
        if (e.status != 4) AddTables(r, s, e, "evaluation" + std::to_string(k++));
    return r;
}

const bool r1 = RegisterCommand(
    {"flash", "stream properties by Prop3: TP, PH, PS, vapour fraction (bubble and dew points)", 50,
     [](CLI::App& sub) {
         sub.add_option("--method", g_method, "0 none, 1 Peng-Robinson (default), 2 SRK, 3 vapour pressure")
             ->check(CLI::Range(0, 3));
         sub.add_option("--hmethod", g_hmethod,
                        "0 ideal gas, 1 PR, 2 SRK departures, 3 Lee-Kesler (default: as --method)")
             ->check(CLI::Range(0, 3));
         sub.add_option("--t", g_t, "temperature, K");
         sub.add_option("--p", g_p, "pressure, kPa");
         sub.add_option("--vf", g_vf,
                        "vapour-fraction specification (0 bubble, 1 dew; negative: retrograde)");
         sub.add_option("--h", g_h, "enthalpy specification, kJ/kmol");
         sub.add_option("--s", g_s, "entropy specification, kJ/(kmol K)");
         sub.add_option("--tguess", g_tguess, "temperature estimate for a temperature search, K");
     },
     Flash, true});

}  // namespace
}  // namespace vantaro_cli
