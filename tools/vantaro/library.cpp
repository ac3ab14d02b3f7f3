#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "cli.h"

namespace vantaro_cli {

namespace {
std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> out;
    std::string cur;
    std::istringstream in(line);
    while (std::getline(in, cur, ',')) out.push_back(cur);
    if (!line.empty() && line.back() == ',') out.emplace_back();
    return out;
}

std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(s.begin());
    return s;
}
}  // namespace

// Columns: code, family, name, then the nineteen doubles in record order.
// Lines starting with '#' are comments (the library's sources).
Library ParseLibrary(const std::string& text, const std::string& origin) {
    static const char* const kHeader =
        "code,family,name,mw,liqden,tb,classnum,pc,tc,vc,vstar,omega,omegasrk,iga,igb,igc,igd,"
        "ige,igf,igg,visca,viscb";
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    bool header = false;
    while (!header && std::getline(in, line)) {
        ++lineNo;
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        if (line != kHeader)
            throw std::runtime_error(origin + ": the first line must be the header '" + kHeader +
                                     "'");
        header = true;
    }
    if (!header)
        throw std::runtime_error(origin + ": the first line must be the header '" + kHeader + "'");
    Library lib;
    while (std::getline(in, line)) {
        ++lineNo;
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        const auto f = SplitCsv(line);
        if (f.size() != 22)
            throw std::runtime_error(origin + ":" + std::to_string(lineNo) + ": expected 22 columns");
        Component c;
        try {
            c.rec.code = std::stoi(f[0]);
            c.rec.family = std::stoi(f[1]);
            c.name = Trim(f[2]);
            double slots[19];
            for (int k = 0; k < 19; ++k) slots[k] = std::stod(f[3 + k]);
            // The nineteen doubles follow the two int32 in record order.
            std::memcpy(reinterpret_cast<char*>(&c.rec) + offsetof(CompRecord, mw), slots,
                        sizeof slots);
        } catch (const std::logic_error&) {
            throw std::runtime_error(origin + ":" + std::to_string(lineNo) + ": not a number");
        }
        lib.push_back(c);
    }
    return lib;
}

Library LoadLibrary(const std::string& path) {
    if (path.empty()) return ParseLibrary(kBuiltinComponents, "built-in library");
    std::ifstream f(path);
    if (!f) throw std::runtime_error("cannot read " + path);
    std::stringstream ss;
    ss << f.rdbuf();
    return ParseLibrary(ss.str(), path);
}

}  // namespace vantaro_cli
