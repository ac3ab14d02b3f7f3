#include <algorithm>
#include <cstdio>
#include <iostream>

#include "cli.h"

namespace vantaro_cli {

std::string Fmt(double v) {
    if (v == VANTARO_MISSING) return "missing";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

namespace {
std::string Text(const Cell& c) {
    if (const auto* s = std::get_if<std::string>(&c)) return *s;
    if (const auto* d = std::get_if<double>(&c)) return Fmt(*d);
    return std::to_string(std::get<long long>(c));
}

nlohmann::json Json(const Cell& c) {
    if (const auto* s = std::get_if<std::string>(&c)) return *s;
    if (const auto* d = std::get_if<double>(&c)) {
        if (*d == VANTARO_MISSING) return nullptr;  // JSON readers get null, not the sentinel
        return *d;
    }
    return std::get<long long>(c);
}
}  // namespace

void PrintText(const Report& r) {
    for (const Table& t : r.tables) {
        std::vector<size_t> w(t.columns.size());
        for (size_t k = 0; k < t.columns.size(); ++k) w[k] = t.columns[k].size();
        for (const auto& row : t.rows)
            for (size_t k = 0; k < row.size() && k < w.size(); ++k) w[k] = std::max(w[k], Text(row[k]).size());
        std::cout << t.title << "\n";
        std::string rule;
        for (size_t k = 0; k < w.size(); ++k) {
            std::printf("%s%-*s", k ? "  " : "  ", static_cast<int>(w[k]), t.columns[k].c_str());
            rule += (k ? "  " : "  ") + std::string(w[k], '-');
        }
        std::printf("\n%s\n", rule.c_str());
        for (const auto& row : t.rows) {
            for (size_t k = 0; k < row.size() && k < w.size(); ++k) {
                const bool num = !std::holds_alternative<std::string>(row[k]);
                std::printf("  %*s", num ? static_cast<int>(w[k]) : -static_cast<int>(w[k]),
                            Text(row[k]).c_str());
            }
            std::printf("\n");
        }
        std::printf("\n");
        std::fflush(stdout);
    }
}

nlohmann::json ToJson(const Report& r) {
    nlohmann::json out = nlohmann::json::object();
    for (const Table& t : r.tables) {
        nlohmann::json rows = nlohmann::json::array();
        for (const auto& row : t.rows) {
            nlohmann::json o = nlohmann::json::object();
            for (size_t k = 0; k < row.size() && k < t.columns.size(); ++k) o[t.columns[k]] = Json(row[k]);
            rows.push_back(o);
        }
        out[t.name] = rows;
    }
    return out;
}

}  // namespace vantaro_cli
