// The contraction command: loss coefficient of a reducer.
#include "cli.h"

namespace vantaro_cli {
namespace {

struct ContractionOptions {
    std::vector<double> ratio, angle;
} g_con;

Report Contraction(Session&) {
    std::vector<double> ratios = g_con.ratio, angles = g_con.angle;
    if (ratios.empty()) ratios = {0.0, 0.25, 0.5, 0.75, 1.0};
    if (angles.empty()) angles = {15.0, 30.0, 60.0, 90.0, 180.0};
    Table t{"contraction",
            "Contraction loss coefficient K (area ratio, included angle)",
            {"area_ratio", "angle_deg", "k", "status"},
            {}};
    for (double r : ratios)
        for (double a : angles) {
            double k = 0;
            const int32_t st = ContractionLossCoefficientBenedict(r, a, &k);
            t.rows.push_back({r, a, k, static_cast<long long>(st)});
        }
    return {{t}};
}

void Configure(CLI::App& sub) {
    sub.add_option("--ratio", g_con.ratio, "area ratio(s), 0 to 1");
    sub.add_option("--angle", g_con.angle, "included angle(s), degrees");
}

const bool r = RegisterCommand({"contraction", "loss coefficient of a contraction (reducer)", 530,
                                Configure, Contraction, false});

}  // namespace
}  // namespace vantaro_cli
