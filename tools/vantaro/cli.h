// The command-line host: a small program that uses the engine the way a host
// application does, through the public C header only.
#pragma once
#include <map>
#include <string>
#include <variant>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "vantaro/vantaro.h"

namespace vantaro_cli {

// ---- component library ----------------------------------------------------
struct Component {
    std::string name;
    CompRecord rec{};
};
using Library = std::vector<Component>;

Library ParseLibrary(const std::string& csvText, const std::string& origin);
Library LoadLibrary(const std::string& path);  // "" = the built-in copy
extern const char* const kBuiltinComponents;

// ---- case -----------------------------------------------------------------
// The components of a case, their mole fractions, kij overrides and the
// state conditions that commands may use.
struct KijOverride {
    std::string a, b;
    double pr = VANTARO_MISSING, srk = VANTARO_MISSING;
};
struct Case {
    std::vector<Component> comps;
    std::vector<double> z;
    std::vector<KijOverride> kij;
    double T = 300.0;   // K
    double P = 500.0;   // kPa
};

// The built-in default case: a natural gas relief stream with some water.
Case DefaultCase(const Library& lib);
// From "name=fraction,name=fraction,..."
Case CaseFromMix(const Library& lib, const std::string& list);
// From a JSON case file (see the README).
Case CaseFromFile(const Library& lib, const std::string& path);

// Fills the PR and SRK matrices (row-major) with GetKijHardWired and the
// case's overrides, then opens the engine's workspace for the case.
struct Matrices {
    std::vector<double> pr, srk;
};
Matrices BuildKij(const Case& c);
void OpenCase(const Case& c);

// ---- output ---------------------------------------------------------------
using Cell = std::variant<std::string, double, long long>;
struct Table {
    std::string name;   // JSON key
    std::string title;  // heading for people
    std::vector<std::string> columns;
    std::vector<std::vector<Cell>> rows;
};
struct Report {
    std::vector<Table> tables;
};
void PrintText(const Report& r);
nlohmann::json ToJson(const Report& r);
std::string Fmt(double v);  // 6 significant digits, "missing" for MISSING

// ---- commands -------------------------------------------------------------
struct Session {
    Library lib;
    Case kase;
};

struct Command {
    const char* name;
    const char* description;
    int order;                                // position in the default run
    void (*configure)(CLI::App& sub);         // the command's own options
    Report (*run)(Session& s);                // runs with the parsed options
    bool inDefaultRun;                        // part of the no-argument run
};
bool RegisterCommand(const Command& c);
const std::vector<Command>& Commands();

}  // namespace vantaro_cli
