// Exports of the workspace family: open/close, interaction parameters,
// mixture averages and the message callback.
#include "api/guard.h"
#include "platform/message.h"
#include "vantaro/vantaro.h"
#include "workspace/kij.h"
#include "workspace/mixture.h"
#include "workspace/workspace.h"

using vt::api::FpExit;
using vt::api::Guarded;
using vt::api::GuardedVoid;

extern "C" {

VANTARO_API void SetMessageCallback(VantaroMessageFn fn, void* user) {
    GuardedVoid(__func__, FpExit::Keep, [&] { vt::platform::SetMessageHandler(fn, user); });
}

VANTARO_API void OpenProps(int32_t n, const CompRecord* records, const double* kijpr,
                           const double* kijsrk) {
    if (n < 0 || (n > 0 && (!records || !kijpr || !kijsrk))) return;
    GuardedVoid(__func__, FpExit::Keep, [&] { vt::OpenProps(n, records, kijpr, kijsrk); });
}

VANTARO_API void CloseProps(void) {
    GuardedVoid(__func__, FpExit::Keep, [] { vt::CloseProps(); });
}

VANTARO_API int32_t EstimateKij(int32_t method, int32_t i, int32_t j, double* kij) {
    if (!kij) return 0;
    return Guarded(__func__, FpExit::Keep, int32_t{0},
                   [&] { return vt::EstimateKij(method, i, j, kij); });
}

VANTARO_API void GetKijHardWired(int32_t method, int32_t code1, int32_t family1, int32_t code2,
                                 int32_t family2, double* kij) {
    if (!kij) return;
    GuardedVoid(__func__, FpExit::Keep,
                [&] { vt::GetKijHardWired(method, code1, family1, code2, family2, kij); });
}

}  // extern "C"

namespace {
template <class F>
int32_t MixtureExport(const char* name, const double* x, double* result, F sum) {
    if (!result) return 0;
    if (!x) {
        *result = VANTARO_MISSING;
        return 0;
    }
    return Guarded(name, FpExit::Keep, int32_t{0}, [&] { return sum(vt::g_ws, x, result); });
}
}  // namespace

extern "C" {

VANTARO_API int32_t MolWeight(const double* composition, double* result) {
    return MixtureExport(__func__, composition, result, vt::MolWeight);
}

VANTARO_API int32_t PseudoPc(const double* composition, double* result) {
    return MixtureExport(__func__, composition, result, vt::PseudoPc);
}

VANTARO_API int32_t PseudoTc(const double* composition, double* result) {
    return MixtureExport(__func__, composition, result, vt::PseudoTc);
}

}  // extern "C"
