// vantaro: the command-line host of the engine.
//
//   vantaro                      the built-in default case, everything the engine can do
//   vantaro <command> [options]  one capability (see --help)
//   --json                       JSON for scripts instead of tables
//   --version                    the engine library's version
#include <algorithm>
#include <iostream>

#include "cli.h"

namespace vantaro_cli {

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> r;
    return r;
}
}  // namespace

bool RegisterCommand(const Command& c) {
    Registry().push_back(c);
    std::sort(Registry().begin(), Registry().end(),
              [](const Command& a, const Command& b) { return a.order < b.order; });
    return true;
}

const std::vector<Command>& Commands() { return Registry(); }

namespace {
// Collects the engine's messages so they reach the user (and tests) in order.
void OnMessage(const char* caption, const char* text, void*) {
    std::cerr << caption << ": " << text << "\n";
}

// The version as the engine reports it through VantaroVersion, the export a
// host checks after loading the library.
void PrintVersion(bool json) {
    int32_t major = 0, minor = 0, patch = 0;
    VantaroVersion(&major, &minor, &patch);
    const std::string text =
        std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
    if (json)
        std::cout << nlohmann::json{{"version", text}, {"major", major}, {"minor", minor},
                                    {"patch", patch}}.dump(2)
                  << "\n";
    else
        std::cout << "vantaro " << text << "\n";
}

int Run(int argc, char** argv) {
    CLI::App app{"vantaro: relief and flare header calculation engine, command-line host"};
    app.require_subcommand(0, 1);
    std::string componentsFile, caseFile, mix;
    bool json = false, version = false;
    app.add_option("--components", componentsFile, "component library CSV (default: built-in)");
    app.add_option("--case", caseFile, "case file (JSON: composition, T, P, kij overrides)");
    app.add_option("--mix", mix, "composition as name=fraction,name=fraction,...");
    app.add_flag("--json", json, "print JSON instead of tables");
    app.add_flag("--version", version, "print the engine library's version and exit");
    app.fallthrough();

    std::vector<std::pair<CLI::App*, const Command*>> subs;
    for (const Command& c : Commands()) {
        CLI::App* sub = app.add_subcommand(c.name, c.description);
        if (c.configure) c.configure(*sub);
        subs.emplace_back(sub, &c);
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }

    if (version) {
        PrintVersion(json);
        return 0;
    }
    SetMessageCallback(OnMessage, nullptr);
    Session s;
    s.lib = LoadLibrary(componentsFile);
    if (!caseFile.empty() && !mix.empty()) throw std::runtime_error("give --case or --mix, not both");
    s.kase = !caseFile.empty() ? CaseFromFile(s.lib, caseFile)
             : !mix.empty()    ? CaseFromMix(s.lib, mix)
                               : DefaultCase(s.lib);

    nlohmann::json all = nlohmann::json::object();
    auto emit = [&](const Command& c) {
        OpenCase(s.kase);
        const Report r = c.run(s);
        CloseProps();
        if (json)
            all[c.name] = ToJson(r);
        else
            PrintText(r);
    };

    const Command* chosen = nullptr;
    for (const auto& [sub, c] : subs)
        if (sub->parsed()) chosen = c;
    if (chosen) {
        emit(*chosen);
        if (json) std::cout << all[chosen->name].dump(2) << "\n";
        return 0;
    }
    if (!json) std::cout << "Vantaro default case: natural-gas relief stream with water\n\n";
    for (const Command& c : Commands())
        if (c.inDefaultRun) emit(c);
    if (json) std::cout << all.dump(2) << "\n";
    return 0;
}
}  // namespace
}  // namespace vantaro_cli

int main(int argc, char** argv) {
    try {
        return vantaro_cli::Run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "vantaro: " << e.what() << "\n";
        return 2;
    }
}
