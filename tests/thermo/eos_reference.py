#!/usr/bin/env python3
"""Independent reference for the cubic-equation-of-state tests.

A separate, plain implementation of the textbook Peng-Robinson and
Soave-Redlich-Kwong equations (Peng & Robinson 1976; Soave 1972) with the
engine's constants, a Cardano root finder in complex arithmetic and a
tightly converged two-phase flash (Wilson start, successive substitution,
bisection Rachford-Rice), bubble/dew temperatures and the thermodynamic
speed of sound of a Peng-Robinson vapour. kij = 0. Prints the reference
values of tests/data/flash_reference.csv, bubble_dew_reference.csv,
pure_vapours.csv, mixture_departures.csv and pr_sound_speeds.csv. Run: python3 eos_reference.py path/to/components.csv
"""
import cmath
import csv
import math
import sys

R = 8.31432
PR = dict(oa=0.457235, ob=0.077796, d1=2.41421, d2=-0.41421)
SRK = dict(oa=0.42747, ob=0.08664, d1=1.0, d2=0.0)


def load(path):
    with open(path) as f:
        return {r["name"]: r for r in csv.DictReader(l for l in f if not l.startswith("#"))}


def params(lib, names, method, T):
    out = []
    for nm in names:
        r = lib[nm]
        tc, pc, w = float(r["tc"]), float(r["pc"]), float(r["omega"])
        code, wsrk = int(r["code"]), float(r["omegasrk"])
        if method == 1:
            e = PR
            m = (0.37464 + 1.54226 * w - 0.26992 * w * w if w < 0.49 else
                 0.379642 + 1.48503 * w - 0.164423 * w * w + 0.016666 * w ** 3)
        else:
            e = SRK
            if wsrk != -32767.0 and code <= 6:
                w = wsrk
            m = 0.48 + 1.57 * w - 0.17 * w * w
        alpha = (1 + m * (1 - math.sqrt(T / tc))) ** 2
        a = e["oa"] * (R * tc) ** 2 / pc * alpha
        b = e["ob"] * R * tc / pc
        out.append((a, b))
    return out, (PR if method == 1 else SRK)


def roots(c2, c1, c0):
    # Cardano in complex numbers; real parts of roots with negligible imaginary part.
    p = c1 - c2 * c2 / 3
    q = 2 * c2 ** 3 / 27 - c2 * c1 / 3 + c0
    disc = cmath.sqrt(q * q / 4 + p ** 3 / 27)
    u = (-q / 2 + disc) ** (1 / 3)
    res = []
    for k in range(3):
        uk = u * cmath.exp(2j * math.pi * k / 3)
        t = uk - p / (3 * uk) if abs(uk) > 1e-300 else 0
        z = t - c2 / 3
        if abs(z.imag) < 1e-9:
            res.append(z.real)
    return sorted(res)


def lnphi(x, ab, e, T, P, liquid, kij=None):
    n = len(x)
    aij = [[math.sqrt(ab[i][0] * ab[j][0]) * (1 - (kij[i][j] if kij else 0)) for j in range(n)]
           for i in range(n)]
    am = sum(x[i] * x[j] * aij[i][j] for i in range(n) for j in range(n))
    bm = sum(x[i] * ab[i][1] for i in range(n))
    A, B = am * P / (R * T) ** 2, bm * P / (R * T)
    d1, d2 = e["d1"], e["d2"]
    u, w = d1 + d2, d1 * d2
    c2 = (u - 1) * B - 1
    c1 = A - ((u - w) * B + u) * B
    c0 = -((B * B + B) * w + A) * B
    rs = [r for r in roots(c2, c1, c0) if r > B]
    Z = rs[0] if liquid else rs[-1]
    out = []
    for i in range(n):
        si = sum(aij[i][j] * x[j] for j in range(n))
        bi = ab[i][1] / bm
        out.append(bi * (Z - 1) - math.log(Z - B) -
                   A / (B * (d1 - d2)) * (2 * si / am - bi) *
                   math.log((Z + d1 * B) / (Z + d2 * B)))
    return out, Z


def gres_rt(x, ab, e, T, P, liquid, kij):
    """Residual Gibbs energy / RT of the phase: the closed form in Z, A, B."""
    n = len(x)
    am = sum(x[i] * x[j] * math.sqrt(ab[i][0] * ab[j][0]) * (1 - kij[i][j]) for i in range(n) for j in range(n))
    bm = sum(x[i] * ab[i][1] for i in range(n))
    A, B = am * P / (R * T) ** 2, bm * P / (R * T)
    _, Z = lnphi(x, ab, e, T, P, liquid, kij)
    d1, d2 = e["d1"], e["d2"]
    return Z - 1 - math.log(Z - B) - A / (B * (d1 - d2)) * math.log((Z + d1 * B) / (Z + d2 * B))


def departures(lib, names, x, method, T, P, liquid, kij):
    """ln phi of every component, and the enthalpy, entropy and heat-capacity
    departures: H = -R T^2 d(G/RT)/dT, S = (H - G)/T - R ln P (P in kPa),
    Cp = dH/dT at constant P and x (five-point differences)."""
    def g(t):
        ab, e = params(lib, names, method, t)
        return gres_rt(x, ab, e, t, P, liquid, kij)
    def d(f, t, h=0.05):
        return (f(t - 2 * h) - 8 * f(t - h) + 8 * f(t + h) - f(t + 2 * h)) / (12 * h)
    H = lambda t: -R * t * t * d(g, t)
    ab, e = params(lib, names, method, T)
    lp, _ = lnphi(x, ab, e, T, P, liquid, kij)
    h = H(T)
    return lp, h, (h - R * T * g(T)) / T - R * math.log(P), d(H, T)


def rr(z, K):
    lo, hi = 1 / (1 - max(K)) + 1e-15, 1 / (1 - min(K)) - 1e-15
    for _ in range(300):
        mid = 0.5 * (lo + hi)
        f = sum(zi * (k - 1) / (1 + mid * (k - 1)) for zi, k in zip(z, K))
        if f > 0:
            lo = mid
        else:
            hi = mid
    return 0.5 * (lo + hi)


def flash(lib, names, z, method, T, P):
    ab, e = params(lib, names, method, T)
    K = []
    for nm in names:
        r = lib[nm]
        tc, pc, w = float(r["tc"]), float(r["pc"]), float(r["omega"])
        K.append(pc / P * math.exp(5.3727 * (1 + w) * (1 - tc / T)))
    for _ in range(5000):
        beta = rr(z, K)
        x = [zi / (1 + beta * (k - 1)) for zi, k in zip(z, K)]
        y = [k * xi for k, xi in zip(K, x)]
        sx, sy = sum(x), sum(y)
        x = [v / sx for v in x]
        y = [v / sy for v in y]
        pl, zl = lnphi(x, ab, e, T, P, True)
        pv, zv = lnphi(y, ab, e, T, P, False)
        newK = [math.exp(a - b) for a, b in zip(pl, pv)]
        err = max(abs(math.log(a / b)) for a, b in zip(newK, K))
        K = newK
        if err < 1e-13:
            break
    return beta, y, x, zv, zl


CASES = [
    (["propane", "n-butane"], [0.5, 0.5], 1, 300.0, 500.0),
    (["propane", "n-butane"], [0.5, 0.5], 2, 300.0, 500.0),
    (["methane", "n-decane"], [0.5, 0.5], 1, 400.0, 5000.0),
    (["methane", "n-decane"], [0.5, 0.5], 2, 400.0, 5000.0),
    (["nitrogen", "carbon dioxide", "methane", "ethane", "propane", "n-butane", "n-pentane"],
     [0.01, 0.02, 0.80, 0.08, 0.05, 0.03, 0.01], 1, 220.0, 3000.0),
]

if __name__ == "__main__":
    lib = load(sys.argv[1])
    for names, z, method, T, P in CASES:
        beta, y, x, zv, zl = flash(lib, names, z, method, T, P)
        print(names, method, T, P)
        print("  beta %.8f Zv %.8f Zl %.8f" % (beta, zv, zl))
        print("  y", ", ".join("%.8f" % v for v in y))
        print("  x", ", ".join("%.8f" % v for v in x))


def bubble_t(lib, names, z, method, P, lo, hi):
    """Bubble temperature: sum K_i z_i = 1 with the incipient vapour converged."""
    def f(T):
        ab, e = params(lib, names, method, T)
        y = list(z)
        for _ in range(500):
            pl, _ = lnphi(z, ab, e, T, P, True)
            pv, _ = lnphi(y, ab, e, T, P, False)
            ky = [zi * math.exp(a - b) for zi, a, b in zip(z, pl, pv)]
            s = sum(ky)
            ny = [v / s for v in ky]
            if max(abs(a - b) for a, b in zip(ny, y)) < 1e-14:
                break
            y = ny
        return s - 1
    for _ in range(100):
        mid = 0.5 * (lo + hi)
        if f(mid) > 0:
            hi = mid
        else:
            lo = mid
    return 0.5 * (lo + hi)


def dew_t(lib, names, z, method, P, lo, hi):
    """Dew temperature: sum z_i/K_i = 1 with the incipient liquid converged."""
    def f(T):
        ab, e = params(lib, names, method, T)
        x = list(z)
        for _ in range(500):
            pl, _ = lnphi(x, ab, e, T, P, True)
            pv, _ = lnphi(z, ab, e, T, P, False)
            kx = [zi / math.exp(a - b) for zi, a, b in zip(z, pl, pv)]
            s = sum(kx)
            nx = [v / s for v in kx]
            if max(abs(a - b) for a, b in zip(nx, x)) < 1e-14:
                break
            x = nx
        return 1 - s
    for _ in range(100):
        mid = 0.5 * (lo + hi)
        if f(mid) > 0:
            hi = mid
        else:
            lo = mid
    return 0.5 * (lo + hi)


if __name__ == "__main__":
    lib = load(sys.argv[1])
    for method in (1, 2):
        names, z = ["propane", "n-butane"], [0.5, 0.5]
        print("bubble/dew T", names, method, "500 kPa: %.6f %.6f" % (
            bubble_t(lib, names, z, method, 500.0, 250.0, 320.0),
            dew_t(lib, names, z, method, 500.0, 280.0, 340.0)))
    # A five-component light-hydrocarbon mixture at 1000 kPa.
    names = ["ethane", "propane", "n-butane", "n-pentane", "n-hexane"]
    z = [0.10, 0.30, 0.30, 0.20, 0.10]
    for method in (1, 2):
        print("bubble/dew T", names, method, "1000 kPa: %.6f %.6f" % (
            bubble_t(lib, names, z, method, 1000.0, 250.0, 350.0),
            dew_t(lib, names, z, method, 1000.0, 300.0, 420.0)))


def sound_speed(lib, names, z, T, P):
    """Peng-Robinson vapour: c^2 = -(v^2/M) (dP/dv)_T Cp/Cv, with
    Cv = Cv_ig + T a'' ln((v + d1 b)/(v + d2 b))/((d1 - d2) b) and
    Cp = Cv - T (dP/dT)_v^2/(dP/dv)_T (Peng & Robinson 1976), in m/s."""
    d1, d2 = PR["d1"], PR["d2"]
    # sqrt(a) of the mixture is s0 - s1 sqrt(T) (van der Waals mixing, kij = 0).
    s0 = s1 = b = mw = cpig = 0.0
    for nm, zi in zip(names, z):
        r = lib[nm]
        tc, pc, w = float(r["tc"]), float(r["pc"]), float(r["omega"])
        m = 0.37464 + 1.54226 * w - 0.26992 * w * w
        sac = math.sqrt(PR["oa"] * (R * tc) ** 2 / pc)
        s0 += zi * sac * (1 + m)
        s1 += zi * sac * m / math.sqrt(tc)
        b += zi * PR["ob"] * R * tc / pc
        mw += zi * float(r["mw"])
        cpig += zi * sum(k * float(r["ig" + c]) * T ** (k - 1) for k, c in enumerate("bcdef", 1))
    sa = s0 - s1 * math.sqrt(T)
    a, da = sa * sa, -sa * s1 / math.sqrt(T)
    d2a = s1 * s1 / (2 * T) + sa * s1 / (2 * T ** 1.5)
    den = lambda v: (v + d1 * b) * (v + d2 * b)
    dPdv = lambda v: -R * T / (v - b) ** 2 + a * (2 * v + (d1 + d2) * b) / den(v) ** 2
    v = R * T / P
    for _ in range(200):
        v -= (R * T / (v - b) - a / den(v) - P) / dPdv(v)
    dPdT = R / (v - b) - da / den(v)
    cv = cpig - R + T * d2a * math.log((v + d1 * b) / (v + d2 * b)) / ((d1 - d2) * b)
    cp = cv - T * dPdT ** 2 / dPdv(v)
    return math.sqrt(-v * v / mw * dPdv(v) * cp / cv * 1000.0)


GAS = (["nitrogen", "carbon dioxide", "methane", "ethane", "propane", "n-butane"],
       [0.02, 0.03, 0.82, 0.07, 0.04, 0.02])

if __name__ == "__main__":
    lib = load(sys.argv[1])
    for names, z in ((["methane"], [1.0]), (["nitrogen"], [1.0]), GAS):
        for P in (101.325, 2000.0, 10000.0):
            print("%s,%s,300,%g,%.6f" % (";".join(names), ";".join("%g" % v for v in z), P,
                                         sound_speed(lib, names, z, 300.0, P)))

    # Pure vapours (the largest root): Z and ln phi by both equations.
    for name, T, P in (("methane", 250.0, 5000.0), ("methane", 400.0, 20000.0), ("propane", 400.0, 2000.0),
                       ("propane", 300.0, 500.0), ("nitrogen", 200.0, 8000.0), ("nitrogen", 120.0, 300.0)):
        for method in (1, 2):
            ab, e = params(lib, [name], method, T)
            lp, Z = lnphi([1.0], ab, e, T, P, False)
            print("%s,%d,%g,%g,%.12f,%.12f" % (name, method, T, P, Z, lp[0]))

    # Mixtures with interaction parameters (symmetric, the same for both
    # equations): ln phi and the departures of one phase.
    MIXTURES = [
        (["nitrogen", "carbon dioxide", "methane", "ethane", "propane"], [0.05, 0.05, 0.75, 0.1, 0.05],
         250.0, 4000.0, 0, {(0, 1): -0.02, (0, 2): 0.036, (0, 3): 0.05, (0, 4): 0.08, (1, 2): 0.1, (1, 3): 0.13,
                            (1, 4): 0.135}),
        (["propane", "n-hexane", "hydrogen sulfide"], [0.3, 0.6, 0.1], 300.0, 2000.0, 1, {(0, 2): 0.08, (1, 2): 0.06}),
        (["methane", "n-decane"], [0.2, 0.8], 400.0, 5000.0, 1, {(0, 1): 0.04}),
    ]
    for names, x, T, P, liquid, pairs in MIXTURES:
        n = len(names)
        kij = [[0.0] * n for _ in range(n)]
        for (i, j), k in pairs.items():
            kij[i][j] = kij[j][i] = k
        for method in (1, 2):
            lp, h, s_, cp = departures(lib, names, x, method, T, P, liquid, kij)
            print("%s,%s,%s,%d,%g,%g,%d,%s,%.10f,%.10f,%.10f" % (
                ";".join(names), ";".join("%g" % v for v in x), ";".join("%g" % v for r in kij for v in r),
                method, T, P, liquid, ";".join("%.12f" % v for v in lp), h, s_, cp))
