// Benchmarks of the transport family on a five-component hydrocarbon liquid
// (n-pentane to n-decane with toluene) and a natural-gas vapour.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "correlations/liquid_density.h"
#include "transport/transport.h"
#include "workspace/workspace.h"

namespace {

// Component records (code, family, then the nineteen doubles in record order).
const char* const kRows[] = {
    "7,0,72.14878,630.0893773,309.2093458,1,3367.5,469.7,0.3115264798,0.3113,0.251,0.2522,0,"
    "62.80637328,-0.00152983488,0.0003283047824,-3.105190662e-07,9.566456592e-11,-0.5742457102,0,0",
    "8,0,86.17536,663.390553,341.8656166,1,3044.1,507.82,0.36954915,0.3682,0.3,0.3007,0,73.42375992,"
    "-0.00069008856,0.0003963713488,-3.806711412e-07,1.184624314e-10,-0.8094843652,0,0",
    "9,0,100.20194,687.5241477,371.5503605,1,2735.73,540.2,0.4291845494,0.4304,0.349,0.3507,0,"
    "80.10015888,0.01727715696,0.0004294069136,-4.170878628e-07,1.292045328e-10,-0.8207932747,0,0",
    "25,0,142.28168,734.8714172,447.2702294,1,2103,617.7,0.6097560976,0.6192,0.4884,0.4916,0,"
    "111.9689474,0.01720648524,0.0006409509288,-6.334888266e-07,1.990448208e-10,-1.173013993,0,0",
    "41,4,92.13842,872.4948783,383.7457531,1,4126.3,591.75,0.315556958,0.3137,0.2657,0.2651,0,"
    "32.14316112,0.01479117528,0.0003701535264,-3.878422422e-07,1.278742416e-10,1.000749257,0,0",
    "1,0,16.04246,299.5649197,111.6672055,1,4599.2,190.564,0.09862781099,0.09939,0.01142,0.0074,0,"
    "37.97981376,-0.037310511,0.0001006309864,-7.08172206e-08,1.814184624e-11,-1.161929324,0,0",
    "59,10,28.0134,806.06476,77.35499502,1,3395.8,126.192,0.08941424727,0.09012,0.0372,0.0358,0,"
    "29.42437848,-0.00108501876,1.940008e-07,3.2633706e-09,-1.64623536e-12,0.8740040791,0,0",
};
constexpr int kN = 7;

CompRecord Parse(const char* row) {
    CompRecord r{};
    std::stringstream ss(row);
    std::string cell;
    std::getline(ss, cell, ',');
    r.code = std::stoi(cell);
    std::getline(ss, cell, ',');
    r.family = std::stoi(cell);
    double* d = &r.mw;
    for (int k = 0; k < 19 && std::getline(ss, cell, ','); ++k) d[k] = std::stod(cell);
    return r;
}

// Opens the table with fitted liquid-viscosity coefficients.
void Open() {
    std::vector<CompRecord> recs;
    for (const char* row : kRows) {
        CompRecord r = Parse(row);
        vt::ViscParam(0, r.mw, r.tc, r.pc / 100.0, r.vc, r.vstar, r.omega, r.omegasrk, r.tb, r.liqden,
                      &r.visca, &r.viscb);
        recs.push_back(r);
    }
    std::vector<double> kij(kN * kN, 0.0);
    vt::OpenProps(kN, recs.data(), kij.data(), kij.data());
}

const double kLiquid[kN] = {0.2, 0.25, 0.2, 0.15, 0.2, 0.0, 0.0};
const double kGas[kN] = {0.03, 0.01, 0.005, 0.0, 0.005, 0.9, 0.05};

void BM_ViscLiquid5(benchmark::State& state) {
    Open();
    const double rho = vt::LiquidDensity(vt::g_ws, 2, 320.0, 500.0, kLiquid);
    double M = 0;
    for (int i = 0; i < kN; ++i) M += kLiquid[i] * vt::g_ws.cd[i].mw;
    double out = 0;
    for (auto _ : state) {
        vt::ViscLiquid(vt::g_ws, kLiquid, 500.0, 320.0, rho * M, &out);
        benchmark::DoNotOptimize(out);
    }
    vt::CloseProps();
}
BENCHMARK(BM_ViscLiquid5);

void BM_ViscVapour(benchmark::State& state) {
    Open();
    double out = 0;
    for (auto _ : state) {
        vt::ViscVapour(vt::g_ws, kGas, 320.0, &out);
        benchmark::DoNotOptimize(out);
    }
    vt::CloseProps();
}
BENCHMARK(BM_ViscVapour);

void BM_SurfTenLiquid(benchmark::State& state) {
    Open();
    double out = 0;
    for (auto _ : state) {
        vt::SurfTenLiquid(vt::g_ws, kLiquid, 320.0, &out);
        benchmark::DoNotOptimize(out);
    }
    vt::CloseProps();
}
BENCHMARK(BM_SurfTenLiquid);

void BM_ThermCondVapour(benchmark::State& state) {
    Open();
    double out = 0;
    for (auto _ : state) {
        vt::ThermCondVapour(vt::g_ws, kGas, 320.0, 40.0, &out);
        benchmark::DoNotOptimize(out);
    }
    vt::CloseProps();
}
BENCHMARK(BM_ThermCondVapour);

void BM_ViscParam(benchmark::State& state) {
    const CompRecord r = Parse(kRows[1]);
    double a = 0, b = 0;
    for (auto _ : state) {
        vt::ViscParam(static_cast<int32_t>(state.range(0)), r.mw, r.tc, r.pc / 100.0, r.vc, r.vstar,
                      r.omega, r.omegasrk, r.tb, r.liqden, &a, &b);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_ViscParam)->Arg(0)->Arg(1);

}  // namespace
