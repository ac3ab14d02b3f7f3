// Test support: the project's component library (data/components.csv) and a
// helper that opens the engine's workspace on a subset of it.
#pragma once
#include <string>
#include <vector>

#include "csv.h"
#include "vantaro/vantaro.h"
#include "workspace/kij.h"
#include "workspace/workspace.h"

namespace vt::test {

inline const std::vector<CsvRow>& Library() {
    static const std::vector<CsvRow> lib = ReadCsv("data/components.csv");
    return lib;
}

// The library's component names, in its order.
inline std::vector<std::string> ComponentNames() {
    std::vector<std::string> names;
    for (const CsvRow& row : Library()) names.push_back(row.Str("name"));
    return names;
}

inline CompRecord Component(const std::string& name) {
    const std::vector<CsvRow>& lib = Library();
    for (const CsvRow& row : lib) {
        if (row.Str("name") != name) continue;
        CompRecord c{};
        c.code = std::stoi(row.Str("code"));
        c.family = std::stoi(row.Str("family"));
        double* d = &c.mw;  // the 19 doubles are contiguous, in column order from mw
        for (int k = 0; k < 19; ++k) d[k] = std::stod(row.cells.at(3 + k));
        return c;
    }
    throw std::runtime_error("unknown component " + name);
}

// Opens the workspace on the named components. kij from the built-in rules
// (both orders, as a host would fill the matrices) unless zeroKij is set.
inline void OpenTable(const std::vector<std::string>& names, bool zeroKij = false) {
    const int n = static_cast<int>(names.size());
    std::vector<CompRecord> recs;
    for (const auto& nm : names) recs.push_back(Component(nm));
    std::vector<double> pr(n * n, 0.0), srk(n * n, 0.0);
    for (int i = 0; i < n && !zeroKij; ++i)
        for (int j = 0; j < n; ++j) {
            if (i == j) continue;
            GetKijHardWired(1, recs[i].code, recs[i].family, recs[j].code, recs[j].family, &pr[i * n + j]);
            GetKijHardWired(2, recs[i].code, recs[i].family, recs[j].code, recs[j].family, &srk[i * n + j]);
        }
    vt::OpenProps(n, recs.data(), pr.data(), srk.data());
}

// Fits visca/viscb of every open component with ViscParam (kind 0: defined
// compounds, 1: petroleum fractions), as a host does before it asks for
// liquid viscosities.
inline void FitViscosity(int kind) {
    for (int i = 0; i < g_ws.ncomp; ++i) {
        CompRecord& c = g_ws.cd[i];
        ViscParam(kind, c.mw, c.tc, c.pc / 100.0, c.vc, c.vstar, c.omega, c.omegasrk, c.tb, c.liqden, &c.visca,
                  &c.viscb);
    }
}

}  // namespace vt::test
