// Commands of the heat-transfer family: htc (groups and film coefficients),
// superheat (the KSH factor of steam relief valves).
#include "cli.h"

namespace vantaro_cli {
namespace {

struct HtcOptions {
    // inside: gas in a tail pipe
    double velocity = 20.0, visc = 0.0115, k = 0.035, cp = 2.2, rho = 1.2, tFluid = 320.0,
           tWall = 295.0, dia = 0.2027;
    // outside: bare pipe in a breeze
    double wind = 5.0, tAmbient = 290.0, tSurface = 310.0, odia = 0.2191;
    int orientation = 0;
    std::string medium = "air";
} g_htc;

Report Htc(Session&) {
    const HtcOptions& o = g_htc;
    double re = 0, pr = 0, hin = 0, hout = 0;
    Reynolds(o.velocity, o.dia, o.rho, o.visc, &re);
    Prandtl(o.cp, o.visc, o.k, &pr);
    const int32_t a =
        HtcInternal(o.velocity, o.visc, o.k, o.cp, o.rho, o.tFluid, o.tWall, o.dia, 0.0, &hin);
    const int16_t medium = o.medium == "water" ? 1 : 0;
    const int32_t b = HtcExternal(o.wind, o.tAmbient, o.tSurface, o.odia,
                                  static_cast<int16_t>(o.orientation), &hout, medium);
    Table t{"htc",
            "Film heat-transfer coefficients",
            {"side", "quantity", "value", "unit", "status"},
            {}};
    t.rows.push_back({std::string("inside"), std::string("Reynolds"), re, std::string("-"), -1LL});
    t.rows.push_back({std::string("inside"), std::string("Prandtl"), pr, std::string("-"), -1LL});
    t.rows.push_back({std::string("inside"),
                      std::string(o.tWall > o.tFluid ? "h (fluid heated)" : "h (fluid cooled)"),
                      hin, std::string("W/(m2 K)"), static_cast<long long>(a)});
    t.rows.push_back({std::string("outside"),
                      std::string("h in " + o.medium + (o.wind > 0 ? ", forced" : ", still")), hout,
                      std::string("W/(m2 K)"), static_cast<long long>(b)});
    return {{t}};
}

void ConfigureHtc(CLI::App& sub) {
    sub.add_option("--velocity", g_htc.velocity, "inside velocity, m/s");
    sub.add_option("--visc", g_htc.visc, "inside fluid viscosity, cP");
    sub.add_option("--k", g_htc.k, "inside fluid conductivity, W/(m K)");
    sub.add_option("--cp", g_htc.cp, "inside fluid heat capacity, kJ/(kg K)");
    sub.add_option("--rho", g_htc.rho, "inside fluid density, kg/m3");
    sub.add_option("--tfluid", g_htc.tFluid, "fluid temperature, K");
    sub.add_option("--twall", g_htc.tWall, "wall temperature, K");
    sub.add_option("--dia", g_htc.dia, "inside diameter, m");
    sub.add_option("--wind", g_htc.wind, "velocity of the surrounding medium, m/s");
    sub.add_option("--tamb", g_htc.tAmbient, "ambient temperature, K");
    sub.add_option("--tsurf", g_htc.tSurface, "outer surface temperature, K");
    sub.add_option("--odia", g_htc.odia, "outside diameter, m");
    sub.add_option("--orientation", g_htc.orientation, "0 or other: the natural-convection fit");
    sub.add_option("--medium", g_htc.medium, "air or water")
        ->check(CLI::IsMember({"air", "water"}));
}

struct SuperheatOptions {
    double tempF = VANTARO_MISSING, psig = VANTARO_MISSING;
} g_sh;

Report Superheat(Session&) {
    Table t{"superheat",
            "Superheat correction factor KSH (steam relief valves)",
            {"temperature_F", "set_pressure_psig", "ksh"},
            {}};
    if (g_sh.tempF != VANTARO_MISSING || g_sh.psig != VANTARO_MISSING) {
        t.rows.push_back({g_sh.tempF, g_sh.psig, SuperheatCoefficient(g_sh.tempF, g_sh.psig)});
    } else {
        for (double p : {15.0, 150.0, 600.0, 1500.0, 3000.0})
            for (double tf : {400.0, 650.0, 900.0, 1200.0})
                t.rows.push_back({tf, p, SuperheatCoefficient(tf, p)});
    }
    return {{t}};
}

void ConfigureSuperheat(CLI::App& sub) {
    sub.alias("ksh");
    sub.add_option("--temperature,-T", g_sh.tempF, "relieving temperature, degF");
    sub.add_option("--pressure,-P", g_sh.psig, "set pressure, psig");
}

const bool r1 =
    RegisterCommand({"htc", "Reynolds and Prandtl numbers, inside and outside film coefficients",
                     540, ConfigureHtc, Htc, false});
const bool r2 =
    RegisterCommand({"superheat", "superheat correction factor KSH of steam relief valves", 550,
                     ConfigureSuperheat, Superheat, false});

}  // namespace
}  // namespace vantaro_cli
