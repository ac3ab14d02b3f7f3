// Test support: reads the comma-separated reference tables of the
// repository. Lines starting with '#' are comments (the first names the
// published source); the first other line names the columns.
#pragma once
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vt::test {

struct CsvRow {
    std::shared_ptr<const std::vector<std::string>> head;
    std::vector<std::string> cells;
    // The cell of the named column; empty when the row leaves it blank.
    std::string Str(const std::string& col) const {
        for (size_t k = 0; k < head->size(); ++k)
            if ((*head)[k] == col) return k < cells.size() ? cells[k] : std::string();
        throw std::runtime_error("no column " + col);
    }
    bool Has(const std::string& col) const { return !Str(col).empty(); }
    double operator[](const std::string& col) const { return std::stod(Str(col)); }
};

// path is relative to the source tree, e.g. "tests/data/kij_rules.csv".
inline std::vector<CsvRow> ReadCsv(const std::string& path) {
    std::ifstream in(std::string(VANTARO_SOURCE_DIR) + "/" + path);
    if (!in) throw std::runtime_error(path + " not found");
    std::shared_ptr<std::vector<std::string>> head;
    std::vector<CsvRow> rows;
    for (std::string line, cell; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line[0] == '\r') continue;
        if (line.back() == '\r') line.pop_back();
        std::vector<std::string> f;
        std::stringstream ss(line);
        while (std::getline(ss, cell, ',')) f.push_back(cell);
        if (!head) head = std::make_shared<std::vector<std::string>>(f);
        else rows.push_back({head, f});
    }
    return rows;
}

// Splits a ';'-separated list cell ("propane;n-butane", "0.5;0.5").
inline std::vector<std::string> Split(const std::string& s) {
    std::vector<std::string> out;
    std::stringstream ss(s);
    for (std::string item; std::getline(ss, item, ';');) out.push_back(item);
    return out;
}
inline std::vector<double> Numbers(const std::string& s) {
    std::vector<double> out;
    for (const auto& item : Split(s)) out.push_back(std::stod(item));
    return out;
}

}  // namespace vt::test
