// Command of the tee family: tee (getK13, getK23).
#include "cli.h"

namespace vantaro_cli {
namespace {

struct TeeOptions {
    int type = 3;
    int pattern = 1;
    double a = 0.5;
    double q = 0.5;
    int mode = 1;
    int areaFloor = 1;
} g_tee;

Report Tee(Session&) {
    Table in{"input", "Tee junction", {"quantity", "value"}, {}};
    in.rows.push_back({std::string("type"), static_cast<long long>(g_tee.type)});
    in.rows.push_back({std::string("pattern"),
                       std::string(g_tee.pattern == 0 ? "0 (dividing)" : "non-zero (combining)")});
    in.rows.push_back({std::string("area ratio a"), g_tee.a});
    in.rows.push_back({std::string("flow ratio q"), g_tee.q});
    in.rows.push_back({std::string("mode"), std::string(g_tee.mode == 1 ? "1 (single chart)" : "blend")});
    in.rows.push_back({std::string("area floor"), static_cast<long long>(g_tee.areaFloor)});

    Table out{"coefficients", "Loss coefficients (common-leg velocity head)",
              {"path", "K", "lo", "hi", "status", "range"}, {}};
    auto add = [&](const char* path, auto fn) {
        double k = 0, hi = VANTARO_MISSING, lo = VANTARO_MISSING;
        int32_t status = 0;
        fn(g_tee.a, g_tee.q, g_tee.type, g_tee.pattern, &k, g_tee.mode, g_tee.areaFloor, &status, &hi, &lo);
        out.rows.push_back({std::string(path), k, lo, hi, static_cast<long long>(status),
                            std::string(k == 9e99       ? "no chart for this type"
                                        : status == 1 ? "inside"
                                                      : "at or beyond a bound")});
    };
    add("K13 (branch - common)", getK13);
    add("K23 (run - common)", getK23);
    return {{in, out}};
}

const bool r = RegisterCommand({"tee", "tee loss coefficients K13 and K23 from the fitted charts", 600,
                                [](CLI::App& sub) {
                                    sub.add_option("--type", g_tee.type, "junction type 0..6 (default 3, 90 deg)");
                                    sub.add_option("--pattern", g_tee.pattern,
                                                   "flow pattern: 0 dividing, non-zero combining (default 1)");
                                    sub.add_option("--a", g_tee.a, "area ratio A_branch/A_common (default 0.5)");
                                    sub.add_option("--q", g_tee.q, "flow ratio Q_branch/Q_common (default 0.5)");
                                    sub.add_option("--mode", g_tee.mode, "1 single chart, other blend (default 1)");
                                    sub.add_option("--floor", g_tee.areaFloor, "1 raises a below 0.1 to 0.1 (default 1)");
                                },
                                Tee, true});

}  // namespace
}  // namespace vantaro_cli
