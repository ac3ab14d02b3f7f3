#include "hydraulics/vapour.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "heat/groups.h"
#include "hydraulics/friction.h"
#include "platform/constants.h"

namespace vt {

namespace {

constexpr double kInch = 0.0254;              // m per inch
constexpr double kAreaPerIn2 = 0.0005067075;  // m2 of flow area per in2 of diameter squared
constexpr double kMaxPa = 1e8;                // 1000 bar, the top of the engine's range
constexpr double kDampPa = 6e7;               // above this the isothermal iterate is damped
constexpr int kMaxIter = 50;

bool Finite(double x) { return std::isfinite(x); }
bool Positive(double x) { return std::isfinite(x) && x > 0.0; }
bool NonNegative(double x) { return std::isfinite(x) && x >= 0.0; }

bool ZeroPipe(const PipeSegment& pipe) {
    return pipe.len == 0.0 && pipe.kfit == 0.0 && pipe.ldfit == 0.0;
}

// The arguments every vapour-line call needs. A negative fittings coefficient
// is allowed (a reducer can contribute one), negative lengths are not.
bool ValidCall(int32_t method, double p2, double w, const StreamState& up, const StreamState& down,
               const PipeSegment& pipe, double tol) {
    if (method != kFrictionRound && method != kFrictionChen) return false;
    if (!Positive(p2) || !NonNegative(w) || !Positive(tol)) return false;
    if (!NonNegative(pipe.len) || !Positive(pipe.dia) || !Finite(pipe.kfit) ||
        !NonNegative(pipe.ldfit) || !NonNegative(pipe.rough) || !NonNegative(pipe.roughft) ||
        !NonNegative(pipe.lenmult))
        return false;
    return Positive(up.mixvisc) && Positive(down.mixvisc);
}

// Marks the result as not computed.
int32_t Refuse(FlowResult& res) {
    MarkFlowResultInvalid(res);
    return kVapourFailed;
}

// Density (rescaled with flag 1) and velocity at the downstream end; writes
// vout. False when the density cannot be used.
bool DownstreamEnd(const StreamState& down, double w, double p2, int32_t rescale,
                   const PipeSegment& pipe, FlowResult& res, double* rho2) {
    *rho2 = rescale == 1 ? StateDensityAt(down, w, p2) : down.mixden;
    if (!Positive(*rho2)) return false;
    PipeVelocity(w, *rho2, pipe.dia, &res.vout);
    return true;
}

// The zero-length exit shared by both routines.
int32_t ZeroPipeExit(double p2, FlowResult& res) {
    res.p = p2;
    res.dpacc = res.dpfric = res.dpelev = 0.0;
    res.holdup = 0.0;
    res.leq = 0.0;
    res.re = MISSING;
    res.fric = MISSING;
    res.regime = kMissingCode;
    return kVapourOk;
}

// Common end of both routines: upstream velocity at the final pressure (bar).
int32_t FinishBar(double p1, double w, const StreamState& up, const PipeSegment& pipe,
                  FlowResult& res) {
    res.p = p1;
    res.dpacc = res.dpfric = res.dpelev = MISSING;
    res.holdup = 0.0;
    const double rho1 = StateDensityAt(up, w, res.p);
    if (!Positive(rho1)) return Refuse(res);
    PipeVelocity(w, rho1, pipe.dia, &res.vin);
    res.regime = 0;
    return kVapourOk;
}

// The same from pascals, never below P2 (bar) by the rounding of the
// conversion.
int32_t Finish(double p1Pa, double p2, double w, const StreamState& up, const PipeSegment& pipe,
               FlowResult& res) {
    return FinishBar(std::max(p2, p1Pa / 1e5), w, up, pipe, res);
}

// Reynolds number, friction factor and fittings length at the mean of the
// two ends (ktot: the fittings' total loss coefficient); writes re, fric and
// leq. False when the mean state is unusable.
bool LineFriction(int32_t method, double ktot, double vin, double vout, double rho1, double rho2,
                  const StreamState& up, const StreamState& down, const PipeSegment& pipe,
                  FlowResult& res) {
    const double rho = 0.5 * (rho1 + rho2);
    const double mu = 0.5 * (up.mixvisc + down.mixvisc);
    const double v = 0.5 * (vin + vout);
    Reynolds(v, kInch * pipe.dia, rho, mu, &res.re);
    FrictionFactor(method, res.re, pipe.dia, pipe.rough, &res.fric);
    res.leq = EquivalentLength(ktot, pipe.dia, res.fric);
    return Finite(res.re) && Finite(res.leq);
}

double PipeFittingLoss(int32_t method, const PipeSegment& pipe) {
    return FittingLossCoefficient(method, pipe.kfit, pipe.ldfit, pipe.dia, pipe.roughft);
}

}  // namespace

void MarkFlowResultInvalid(FlowResult& res) {
    res.p = res.dpacc = res.dpfric = res.dpelev = MISSING;
    res.holdup = res.leq = res.re = res.fric = MISSING;
    res.vin = res.vout = MISSING;
    res.regime = kMissingCode;
}

int32_t PipeVelocity(double w, double rho, double dia, double* v) {
    const double d = kInch * dia;
    *v = w / (rho * 3600.0) / (std::numbers::pi / 4.0 * d * d);
    return -1;
}

int32_t DensityAtPressure(double w, double vfrac, const double mw[3], const double rho[3],
                          double pref, double p, double out[3]) {
    const double n = w / mw[0];                                           // kmol/h
    const double mv = n * vfrac * mw[1];                                  // vapour kg/h
    const double ql = std::max(0.0, (1.0 - vfrac) * n * mw[2] / rho[2]);  // liquid m3/h
    const double qv = mv / rho[1] * (pref / p);                           // vapour m3/h at p
    if (!(qv > 0.0)) {
        out[0] = rho[0];
        out[1] = rho[1];
        out[2] = rho[2];
        return 1;
    }
    out[1] = mv / qv;
    out[2] = rho[2];
    out[0] = (std::max(0.0, w - mv) + mv) / (qv + ql);
    return 1;
}

double StateDensityAt(const StreamState& s, double w, double p) {
    const double mw[3] = {s.mixmw, s.vapmw, s.liqmw};
    const double rho[3] = {s.mixden, s.vapden, s.liqden};
    double out[3];
    DensityAtPressure(w, s.vfrac, mw, rho, s.pref, p, out);
    return out[0];
}

int32_t IsoVapDp(int32_t method, double p2, double w, const StreamState& up,
                 const StreamState& down, const PipeSegment& pipe, FlowResult& res, int32_t rescale,
                 double p1guess, double tol) {
    if (!ValidCall(method, p2, w, up, down, pipe, tol)) return Refuse(res);
    // At or above the top of the range nothing is computed (P2 itself is
    // written: in pascals the largest doubles would overflow).
    if (p2 >= 1000.0) return FinishBar(p2, w, up, pipe, res);

    double rho2 = 0.0;
    if (!DownstreamEnd(down, w, p2, rescale, pipe, res, &rho2)) return Refuse(res);
    if (ZeroPipe(pipe)) return ZeroPipeExit(p2, res);

    const double d = kInch * pipe.dia;
    const double area = kAreaPerIn2 * pipe.dia * pipe.dia;
    const double g = w / 3600.0 / area;
    const double g2 = g * g;
    const double p2Pa = 1e5 * p2;
    // A missing or unusable estimate falls back to 1.5 P2.
    double p1 = (p1guess != MISSING && Positive(p1guess)) ? 1e5 * p1guess : 1.5 * p2Pa;
    const double length = pipe.len * pipe.lenmult;
    const double ktot = PipeFittingLoss(method, pipe);

    double p1new = p1;
    for (int it = 0; it < kMaxIter; ++it) {
        const double rho1 = rescale == 1 ? StateDensityAt(up, w, p1 / 1e5) : up.mixden;
        if (!Positive(rho1)) return Refuse(res);
        PipeVelocity(w, rho1, pipe.dia, &res.vin);
        if (!LineFriction(method, ktot, res.vin, res.vout, rho1, rho2, up, down, pipe, res))
            return Refuse(res);
        const double rho = 0.5 * (rho1 + rho2);
        const double fanning = res.fric / 4.0;
        const double head = 2.0 * fanning * (length + res.leq) / d + GuardedLn(p1 / p2Pa);
        // No flow, no drop, however long the line (zero times an overflowing
        // line term has no value).
        p1new = p2Pa + (g2 > 0.0 ? (g2 / rho) * head : 0.0);
        if (std::fabs((p1new - p1) / p1new) <= tol) break;
        if (p1new > kDampPa)
            p1 = 0.5 * (p1 + kDampPa);
        else if (p1new < p2Pa)
            p1 = 0.5 * (p1 + p2Pa);
        else
            p1 = p1new;
    }
    // Never below the downstream pressure, never above the range. Without
    // convergence the last iterate stands: on long lines the iteration
    // oscillates slowly about the answer and its last value is close to it.
    const double p1Pa = std::min(kMaxPa, std::max(p2Pa, p1new));
    const int32_t st = Finish(p1Pa, p2, w, up, pipe, res);
    // A pressure cut at 1000 bar is written but it is not the answer.
    if (st == kVapourOk && !(p1new <= kMaxPa)) return kVapourFailed;
    return st;
}

namespace {

// Everything the adiabatic residual needs besides the trial pressure.
struct AdiabaticLine {
    int32_t method;
    double w;
    const StreamState* up;
    const StreamState* down;
    const PipeSegment* pipe;
    double rho2;
    double g2;
    double kappa;
    double d;
    double length;
    double ktot;
};

// Residual of the adiabatic flow equation of an ideal gas written with the
// densities of the two ends (specific volumes 1/rho1, 1/rho2); zero at the
// upstream pressure p1 (Pa). Writes vin, re, fric, leq. False when the
// upstream density at p1 cannot be used.
bool AdiabaticResidual(const AdiabaticLine& a, double p1, FlowResult& res, double* f) {
    const double rho1 = StateDensityAt(*a.up, a.w, p1 / 1e5);
    if (!Positive(rho1)) return false;
    PipeVelocity(a.w, rho1, a.pipe->dia, &res.vin);
    if (!LineFriction(a.method, a.ktot, res.vin, res.vout, rho1, a.rho2, *a.up, *a.down, *a.pipe,
                      res))
        return false;
    const double k = a.kappa;
    const double ratio = a.rho2 / rho1;
    *f = res.fric * (a.length + res.leq) / a.d -
         (p1 * rho1 / a.g2 + (k - 1.0) / (2.0 * k)) * (1.0 - ratio * ratio) +
         ((k + 1.0) / k) * GuardedLn(rho1 / a.rho2);
    return true;
}

}  // namespace

int32_t AdiaVapDp(int32_t method, double p2, double w, const StreamState& up,
                  const StreamState& down, const PipeSegment& pipe, FlowResult& res,
                  int32_t rescale, double p1guess, double tol) {
    if (!ValidCall(method, p2, w, up, down, pipe, tol) || !(up.mixcp > kRgasCpRatio) ||
        !(down.mixcp > kRgasCpRatio) || !Finite(up.mixcp) || !Finite(down.mixcp))
        return Refuse(res);
    double rho2 = 0.0;
    if (!DownstreamEnd(down, w, p2, rescale, pipe, res, &rho2)) return Refuse(res);
    if (ZeroPipe(pipe)) return ZeroPipeExit(p2, res);

    // The isothermal answer brackets the adiabatic one.
    if (IsoVapDp(method, p2, w, up, down, pipe, res, rescale, p1guess, tol) == kVapourFailed &&
        res.regime != 0)
        return kVapourFailed;  // not computed at all
    const double p2Pa = 1e5 * p2;
    const double dpIso = 1e5 * res.p - p2Pa;
    double plow = p2Pa + 0.2 * dpIso;
    double phigh = p2Pa + 2.0 * dpIso;

    const double kup = up.mixcp / (up.mixcp - kRgasCpRatio);
    const double kdown = down.mixcp / (down.mixcp - kRgasCpRatio);
    const double area = kAreaPerIn2 * pipe.dia * pipe.dia;
    const double g = w / 3600.0 / area;
    const AdiabaticLine line{method,
                             w,
                             &up,
                             &down,
                             &pipe,
                             rho2,
                             g * g,
                             0.5 * (kup + kdown),
                             kInch * pipe.dia,
                             pipe.len * pipe.lenmult,
                             PipeFittingLoss(method, pipe)};

    double flow = 0.0, fhigh = 0.0;
    if (!AdiabaticResidual(line, plow, res, &flow) || !AdiabaticResidual(line, phigh, res, &fhigh))
        return Refuse(res);
    double result = p2Pa;
    bool found = false;
    if (flow * fhigh < 0.0) {
        double pmid = plow;
        for (int it = 0; it < kMaxIter; ++it) {
            pmid = 0.5 * (plow + phigh);
            double fmid = 0.0;
            if (!AdiabaticResidual(line, pmid, res, &fmid)) return Refuse(res);
            if (fmid * flow < 0.0) {
                phigh = pmid;
            } else if (fmid * flow > 0.0) {
                plow = pmid;
                flow = fmid;
            }
            if (std::fabs((phigh - plow) / pmid) < tol || fmid == 0.0) break;
        }
        // After the last halving the root lies within a bracket far narrower
        // than any usable tolerance: the midpoint is the answer.
        result = pmid;
        found = true;
    }
    const int32_t st = found ? Finish(result, p2, w, up, pipe, res) : FinishBar(p2, w, up, pipe, res);
    // No root between the bracket ends although the line has a pressure
    // drop: P2 is written, but it is not an answer.
    if (st == kVapourOk && !found && dpIso > 0.0) return kVapourFailed;
    return st;
}

}  // namespace vt
