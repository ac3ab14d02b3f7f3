// Shared helpers for the workspace tests: component records from the
// reference library and a message recorder.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vantaro/vantaro.h"

namespace vt_test {

// A few rows of the reference component library (code, family, mw, tb, pc, tc, vc, omega, omegasrk).
inline CompRecord Make(int code, int family, double mw, double tb, double pc, double tc, double vc,
                       double omega, double omegasrk, double liqden = 500.0) {
    CompRecord r{};
    r.code = code, r.family = family, r.mw = mw, r.liqden = liqden, r.tb = tb, r.classnum = 1.0;
    r.pc = pc, r.tc = tc, r.vc = vc, r.omega = omega, r.omegasrk = omegasrk;
    r.visca = r.viscb = VANTARO_MISSING;
    return r;
}
inline CompRecord Methane() {
    return Make(1, 0, 16.04246, 111.6672, 4599.2, 190.564, 0.09862781, 0.01142, 0.0074, 299.56);
}
inline CompRecord Propane() { return Make(3, 0, 44.09562, 231.0362, 4251.2, 369.89, 0.2, 0.1521, 0.1532, 506.69); }
inline CompRecord Nitrogen() { return Make(59, 10, 28.0134, 77.355, 3395.8, 126.192, 0.0894142, 0.0372, 0.0358); }
inline CompRecord Water() { return Make(61, 11, 18.01528, 373.124, 22064.0, 647.096, 0.055948, 0.3443, 0.3852, 999.0); }

// Records every message the engine shows.
struct Messages {
    std::vector<std::string> captions, texts;
    static void Record(const char* caption, const char* text, void* user) {
        static_cast<Messages*>(user)->captions.emplace_back(caption);
        static_cast<Messages*>(user)->texts.emplace_back(text);
    }
    Messages() { SetMessageCallback(&Messages::Record, this); }
    ~Messages() { SetMessageCallback(nullptr, nullptr); }
};

inline void Open(const std::vector<CompRecord>& recs) {
    std::vector<double> kij(recs.size() * recs.size(), 0.0);
    OpenProps(static_cast<int32_t>(recs.size()), recs.data(), kij.data(), kij.data());
}

}  // namespace vt_test
