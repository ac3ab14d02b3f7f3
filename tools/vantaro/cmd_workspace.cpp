// Commands of the workspace family: components, mix, kij.
#include "cli.h"
#include "platform/constants.h"

namespace vantaro_cli {
namespace {

bool g_allComponents = false;

Report Components(Session& s) {
    Table t{"components",
            g_allComponents ? "Component library" : "Components of the case",
            {"name", "code", "family", "mw", "tb_K", "pc_kPa", "tc_K", "vc_m3_kmol", "omega", "vstar",
             "vstar_from_liqden"},
            {}};
    auto add = [&](const Component& c) {
        const CompRecord& r = c.rec;
        // PureVchar back-calculates V* from the standard (60 F) liquid
        // density; that density means nothing for a component whose critical
        // temperature lies below 60 F, so none is shown there.
        double vstar = VANTARO_MISSING;
        if (r.tc >= vt::kStdTempLimit) PureVchar(r.liqden, r.omegasrk, r.mw, r.tc, r.pc, vt::kStdTemp, r.omega, &vstar);
        t.rows.push_back({c.name, static_cast<long long>(r.code), static_cast<long long>(r.family), r.mw,
                          r.tb, r.pc, r.tc, r.vc, r.omega, r.vstar, vstar});
    };
    if (g_allComponents)
        for (const auto& c : s.lib) add(c);
    else
        for (const auto& c : s.kase.comps) add(c);
    return {{t}};
}

Report Mix(Session& s) {
    Table comp{"composition", "Composition", {"name", "mole_fraction"}, {}};
    for (size_t i = 0; i < s.kase.comps.size(); ++i) comp.rows.push_back({s.kase.comps[i].name, s.kase.z[i]});
    double mw = 0, pc = 0, tc = 0;
    const int32_t a = MolWeight(s.kase.z.data(), &mw);
    const int32_t b = PseudoPc(s.kase.z.data(), &pc);
    const int32_t c = PseudoTc(s.kase.z.data(), &tc);
    Table avg{"averages", "Mixture averages (mole-fraction sums, not normalised)",
              {"quantity", "value", "unit", "status"}, {}};
    avg.rows.push_back({std::string("molecular weight"), mw, std::string("kg/kmol"), static_cast<long long>(a)});
    avg.rows.push_back({std::string("pseudo-critical pressure"), pc, std::string("kPa"), static_cast<long long>(b)});
    avg.rows.push_back({std::string("pseudo-critical temperature"), tc, std::string("K"), static_cast<long long>(c)});
    return {{comp, avg}};
}

Report Kij(Session& s) {
    const Matrices m = BuildKij(s.kase);
    const size_t n = s.kase.comps.size();
    Table t{"kij", "Binary interaction parameters (built-in rules, case overrides applied)",
            {"i", "j", "kij_pr", "kij_srk", "estimate_pr", "estimate_srk"}, {}};
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j) {
            if (i == j) continue;
            double epr = 0, esrk = 0;
            EstimateKij(1, static_cast<int32_t>(i), static_cast<int32_t>(j), &epr);
            EstimateKij(2, static_cast<int32_t>(i), static_cast<int32_t>(j), &esrk);
            const double pr = m.pr[i * n + j], srk = m.srk[i * n + j];
            if (pr == 0 && srk == 0 && (epr == VANTARO_MISSING || epr == 0) &&
                (esrk == VANTARO_MISSING || esrk == 0))
                continue;  // only pairs with something to say
            t.rows.push_back({s.kase.comps[i].name, s.kase.comps[j].name, pr, srk, epr, esrk});
        }
    return {{t}};
}

const bool r1 = RegisterCommand({"components", "list the components of the case (or --all: the library)", 10,
                                 [](CLI::App& sub) {
                                     sub.add_flag("--all", g_allComponents, "the whole component library");
                                 },
                                 Components, true});
const bool r2 = RegisterCommand({"mix", "molecular weight and pseudo-critical constants of the composition",
                                 20, nullptr, Mix, true});
const bool r3 = RegisterCommand({"kij", "interaction parameters the host fills the matrices with", 30, nullptr,
                                 Kij, true});

}  // namespace
}  // namespace vantaro_cli
