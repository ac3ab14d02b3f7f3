// Command of the numerics family: solve, a sparse linear system from a JSON
// file (or the built-in example) through SolveLinearEquations.
//
// File format (indices 0-based, repeated row-column pairs add up):
//   { "n": 3,
//     "entries": [[0, 0, 4.0], [0, 1, -2.0], ...],   // [row, column, value]
//     "rhs": [3.0, 3.0, 28.0],
//     "transpose": false }                            // optional: solve A^T x = b
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <stdexcept>

#include "cli.h"

namespace vantaro_cli {
namespace {

std::string g_file;
bool g_transpose = false;

struct System {
    int32_t n = 0;
    std::vector<SparseEntry> entries;
    std::vector<double> rhs;
    bool transpose = false;
    std::string origin;
};

// Burden and Faires' Jacobi example: the solution is (1, 2, -1, 1).
System BuiltinSystem() {
    System s;
    s.n = 4;
    s.entries = {{0, 0, 10}, {0, 1, -1}, {0, 2, 2},  {1, 0, -1}, {1, 1, 11}, {1, 2, -1},
                 {1, 3, 3},  {2, 0, 2},  {2, 1, -1}, {2, 2, 10}, {2, 3, -1}, {3, 1, 3},
                 {3, 2, -1}, {3, 3, 8}};
    s.rhs = {6, 25, -11, 15};
    s.origin = "built-in example";
    return s;
}

int32_t Int32(const nlohmann::json& v, const std::string& what) {
    if (!v.is_number_integer() || v.get<long long>() < INT32_MIN || v.get<long long>() > INT32_MAX)
        throw std::runtime_error(what + " must be a 32-bit integer");
    return static_cast<int32_t>(v.get<long long>());
}

double Number(const nlohmann::json& v, const std::string& what) {
    if (!v.is_number()) throw std::runtime_error(what + " must be a number");
    return v.get<double>();
}

System ReadSystem(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    nlohmann::json j;
    try {
        in >> j;
    } catch (const nlohmann::json::exception& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
    if (!j.is_object() || !j.contains("n") || !j.contains("entries") || !j.contains("rhs"))
        throw std::runtime_error(path + ": expected an object with \"n\", \"entries\" and \"rhs\"");
    System s;
    s.origin = path;
    s.n = Int32(j["n"], "\"n\"");
    if (s.n <= 0) throw std::runtime_error("\"n\" must be positive");
    if (!j["entries"].is_array()) throw std::runtime_error("\"entries\" must be an array");
    for (const auto& e : j["entries"]) {
        if (!e.is_array() || e.size() != 3)
            throw std::runtime_error("each entry must be [row, column, value]");
        s.entries.push_back({Int32(e[0], "an entry's row"), Int32(e[1], "an entry's column"),
                             Number(e[2], "an entry's value")});
    }
    if (!j["rhs"].is_array() || j["rhs"].size() != static_cast<size_t>(s.n))
        throw std::runtime_error("\"rhs\" must be an array of n numbers");
    for (const auto& v : j["rhs"]) s.rhs.push_back(Number(v, "a right-hand side value"));
    if (j.contains("transpose")) {
        if (!j["transpose"].is_boolean()) throw std::runtime_error("\"transpose\" must be true or false");
        s.transpose = j["transpose"].get<bool>();
    }
    return s;
}

// Why the engine refused: the first bad entry, else a singular matrix.
std::string Diagnosis(const System& s) {
    for (size_t k = 0; k < s.entries.size(); ++k) {
        const SparseEntry& e = s.entries[k];
        if (e.row < 0 || e.row >= s.n || e.column < 0 || e.column >= s.n)
            return "entry " + std::to_string(k) + " lies outside the matrix";
        if (!std::isfinite(e.value)) return "entry " + std::to_string(k) + " is not finite";
    }
    for (double v : s.rhs)
        if (!std::isfinite(v)) return "the right-hand side is not finite";
    return "the matrix is singular";
}

Report Solve(Session&) {
    System s = g_file.empty() ? BuiltinSystem() : ReadSystem(g_file);
    if (g_transpose) s.transpose = true;
    std::vector<double> b = s.rhs, x(static_cast<size_t>(s.n), 0.0);
    const int32_t status = SolveLinearEquations(static_cast<int32_t>(s.entries.size()), s.n, s.entries.data(),
                                                b.data(), x.data(), s.transpose ? 1 : 0);

    Table sys{"system", "Sparse linear system (" + s.origin + ")",
              {"order", "entries", "transpose", "status"}, {}};
    sys.rows.push_back({static_cast<long long>(s.n), static_cast<long long>(s.entries.size()),
                        std::string(s.transpose ? "yes" : "no"), static_cast<long long>(status)});
    if (status != 1) {
        Table fail{"result", "Result", {"message"}, {}};
        fail.rows.push_back({"not solved: " + Diagnosis(s)});
        return {{sys, fail}};
    }

    // The host's own check: residual b - A x (or b - A^T x) from the entries.
    std::vector<long double> r(s.rhs.begin(), s.rhs.end());
    for (const auto& e : s.entries) {
        const int32_t i = s.transpose ? e.column : e.row, k = s.transpose ? e.row : e.column;
        r[static_cast<size_t>(i)] -= static_cast<long double>(e.value) * x[static_cast<size_t>(k)];
    }
    Table sol{"solution", "Solution", {"i", "x", "residual"}, {}};
    double rmax = 0, bmax = 0;
    for (int32_t i = 0; i < s.n; ++i) {
        const double ri = static_cast<double>(r[static_cast<size_t>(i)]);
        sol.rows.push_back({static_cast<long long>(i), x[static_cast<size_t>(i)], ri});
        rmax = std::max(rmax, std::abs(ri));
        bmax = std::max(bmax, std::abs(s.rhs[static_cast<size_t>(i)]));
    }
    Table check{"check", "Residual", {"max_abs_residual", "relative_residual"}, {}};
    check.rows.push_back({rmax, bmax > 0 ? rmax / bmax : rmax});
    return {{sys, sol, check}};
}

const bool r1 = RegisterCommand(
    {"solve", "solve a sparse linear system given as (row, column, value) entries and a right-hand side", 900,
     [](CLI::App& sub) {
         sub.add_option("file", g_file, "JSON system: n, entries [[row, column, value], ...], rhs, transpose")
             ->check(CLI::ExistingFile);
         sub.add_flag("--transpose", g_transpose, "solve with the transposed matrix");
     },
     Solve, true});

}  // namespace
}  // namespace vantaro_cli
