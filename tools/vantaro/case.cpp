#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "cli.h"

namespace vantaro_cli {

namespace {
const Component& Find(const Library& lib, const std::string& name) {
    for (const auto& c : lib)
        if (c.name == name) return c;
    throw std::runtime_error("unknown component '" + name + "' (see 'vantaro components')");
}

int IndexIn(const Case& c, const std::string& name) {
    for (size_t i = 0; i < c.comps.size(); ++i)
        if (c.comps[i].name == name) return static_cast<int>(i);
    throw std::runtime_error("kij override names '" + name + "', which is not in the case");
}

void Add(Case& c, const Library& lib, const std::string& name, double x) {
    if (!std::isfinite(x) || x < 0) throw std::runtime_error("bad mole fraction for " + name);
    c.comps.push_back(Find(lib, name));
    c.z.push_back(x);
}
}  // namespace

Case DefaultCase(const Library& lib) {
    Case c;
    const std::pair<const char*, double> gas[] = {
        {"methane", 0.780},  {"ethane", 0.070},    {"propane", 0.040}, {"i-butane", 0.010},
        {"n-butane", 0.015}, {"n-pentane", 0.005}, {"n-hexane", 0.003}, {"nitrogen", 0.012},
        {"carbon dioxide", 0.020}, {"hydrogen sulfide", 0.005}, {"water", 0.040}};
    for (const auto& [name, x] : gas) Add(c, lib, name, x);
    c.T = 320.0;
    c.P = 1500.0;
    return c;
}

Case CaseFromMix(const Library& lib, const std::string& list) {
    Case c;
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        const auto eq = item.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error("--mix expects name=fraction,... ('" + item + "')");
        double x = 0;
        try {
            x = std::stod(item.substr(eq + 1));
        } catch (const std::logic_error&) {
            throw std::runtime_error("--mix: not a number in '" + item + "'");
        }
        Add(c, lib, item.substr(0, eq), x);
    }
    if (c.comps.empty()) throw std::runtime_error("--mix names no component");
    return c;
}

Case CaseFromFile(const Library& lib, const std::string& path) {
    std::ifstream f(path);
    if (!f) throw std::runtime_error("cannot read " + path);
    nlohmann::json j;
    try {
        f >> j;
    } catch (const nlohmann::json::exception& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
    Case c;
    try {
        for (const auto& [name, x] : j.at("composition").items()) Add(c, lib, name, x.get<double>());
        if (j.contains("T")) c.T = j["T"].get<double>();
        if (j.contains("P")) c.P = j["P"].get<double>();
        if (j.contains("kij"))
            for (const auto& o : j["kij"]) {
                KijOverride k;
                k.a = o.at("i").get<std::string>();
                k.b = o.at("j").get<std::string>();
                if (o.contains("pr")) k.pr = o["pr"].get<double>();
                if (o.contains("srk")) k.srk = o["srk"].get<double>();
                c.kij.push_back(k);
            }
    } catch (const nlohmann::json::exception& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
    if (c.comps.empty()) throw std::runtime_error(path + ": empty composition");
    return c;
}

Matrices BuildKij(const Case& c) {
    const size_t n = c.comps.size();
    Matrices m{std::vector<double>(n * n, 0.0), std::vector<double>(n * n, 0.0)};
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j) {
            if (i == j) continue;
            const CompRecord& a = c.comps[i].rec;
            const CompRecord& b = c.comps[j].rec;
            GetKijHardWired(1, a.code, a.family, b.code, b.family, &m.pr[i * n + j]);
            GetKijHardWired(2, a.code, a.family, b.code, b.family, &m.srk[i * n + j]);
        }
    // An override sets both (i, j) and (j, i).
    for (const auto& o : c.kij) {
        const size_t i = IndexIn(c, o.a), j = IndexIn(c, o.b);
        if (o.pr != VANTARO_MISSING) m.pr[i * n + j] = m.pr[j * n + i] = o.pr;
        if (o.srk != VANTARO_MISSING) m.srk[i * n + j] = m.srk[j * n + i] = o.srk;
    }
    return m;
}

void OpenCase(const Case& c) {
    std::vector<CompRecord> recs;
    for (const auto& comp : c.comps) recs.push_back(comp.rec);
    const Matrices m = BuildKij(c);
    OpenProps(static_cast<int32_t>(recs.size()), recs.data(), m.pr.data(), m.srk.data());
}

}  // namespace vantaro_cli
