// Command of the water-and-steam family: IFC-67 properties of water at T, P
// and its viscosity. These routines are internal to the engine (the
// property driver and the liquid-viscosity export use them); the host links
// the static engine to show them.
#include <cmath>

#include "cli.h"
#include "steam/ifc67.h"
#include "transport/water_viscosity.h"

namespace vantaro_cli {
namespace {

double g_T = VANTARO_MISSING, g_P = VANTARO_MISSING;

Report Steam(Session& s) {
    const double T = g_T != VANTARO_MISSING ? g_T : s.kase.T;
    const double P = g_P != VANTARO_MISSING ? g_P : s.kase.P;
    Table cond{"conditions", "Water and steam (IFC-67)", {"quantity", "value", "unit"}, {}};
    const double psat = vt::SaturationPressure(T) * 22120.0;
    cond.rows.push_back({std::string("temperature"), T, std::string("K")});
    cond.rows.push_back({std::string("pressure"), P, std::string("kPa")});
    cond.rows.push_back({std::string("saturation pressure"), psat, std::string("kPa")});
    Table ph{"phases",
             "Properties by phase (region: 1 compressed water, 2 steam, 3 near-critical vapour side, "
             "4 near-critical liquid, -1 none)",
             {"phase", "region", "h_kJ_kmol", "cp_kJ_kmol_K", "v_m3_kmol", "viscosity_cP"},
             {}};
    const char* names[2] = {"vapour", "liquid"};
    for (int phase = 0; phase < 2; ++phase) {
        const int region = vt::WaterRegion(T / 647.3, P / 22120.0, phase);
        const double v = vt::SteamMolarVolume(T, P, phase);
        const double mu = v == VANTARO_MISSING ? VANTARO_MISSING : vt::WaterViscosity(T, P, v);
        ph.rows.push_back({std::string(names[phase]), static_cast<long long>(region),
                           region < 0 ? VANTARO_MISSING : vt::WaterEnthalpy(T, P, phase),
                           vt::WaterHeatCapacity(T, P, phase), v, mu});
    }
    return {{cond, ph}};
}

const bool r = RegisterCommand({"steam", "IFC-67 water and steam properties and water viscosity at T, P", 120,
                                [](CLI::App& sub) {
                                    sub.add_option("--t", g_T, "temperature, K (default: the case's)");
                                    sub.add_option("--p", g_P, "pressure, kPa (default: the case's)");
                                },
                                Steam, true});

}  // namespace
}  // namespace vantaro_cli
