#!/usr/bin/env python3
"""Writes the hand-made seed corpus of the fuzz targets into fuzz/corpus/<target>/.

Each seed is a typical call sequence in the input encoding of fuzz/fuzz_common.h,
read in the order each target reads it. Run it after changing a target's input
layout:  python3 fuzz/seeds.py
"""
import hashlib
import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Component library rows (data/components.csv order).
LIB = ["methane", "ethane", "propane", "i-butane", "n-butane", "i-pentane", "n-pentane",
       "n-hexane", "n-heptane", "n-octane", "n-decane", "ethylene", "propylene", "benzene",
       "toluene", "nitrogen", "oxygen", "carbon dioxide", "hydrogen sulfide", "hydrogen",
       "helium", "water", "methanol", "ethanol", "ethylene glycol", "diethylene glycol",
       "triethylene glycol"]

MISSING = -32767.0
SPECIAL = {"0": 0, "-0": 1, "1": 2, "-1": 3, "inf": 4, "-inf": 5, "nan": 6, "snan": 7,
           "denormal": 8, "max": 9, "-max": 10, "missing": 11, "tiny": 12, "huge": 13}


def byte(b):
    return bytes([b & 0xFF])


def integer(v, lo):
    """Int(lo, hi) reading v."""
    return byte(v - lo)


def d(x):
    """Double(): the exact value, as raw bits."""
    if isinstance(x, str):
        return byte(SPECIAL[x])
    if x == MISSING:
        return byte(SPECIAL["missing"])
    return byte(16) + struct.pack("<d", float(x))


def mode(m=0):
    """PickMode: 0 masked, 1 unmasked (feenableexcept), 2 MXCSR only."""
    return byte(m)


def lib(name):
    return byte(LIB.index(name))


# --- fuzz_scalar -------------------------------------------------------------

def tee(k13, a, q, typ, pattern, md, floor, m=0):
    return (byte(0 if k13 else 1) + d(a) + d(q) + integer(typ, -1) + integer(pattern, -1) +
            integer(md, -1) + integer(floor, 0) + mode(m))


def scalar_seeds():
    s = {}
    s["tees"] = (tee(True, 0.5, 0.4, 3, 1, 1, 1) + tee(False, 0.5, 0.25, 3, 0, 1, 1) +
                 tee(False, 0.5, 1000, 0, 1, 0, 0) + tee(True, "-inf", 0.5, 0, 1, 1, 1, 1))
    s["contraction"] = (byte(2) + d(0.5) + d(30) + mode() + byte(2) + d("nan") + d(30) + mode(1))
    s["friction"] = (byte(3) + integer(0, -1) + d(6) + d(0.0018) + mode() +
                     byte(3) + integer(1, -1) + d(6) + d("snan") + mode(2))
    s["regime"] = byte(4) + d(22.75) + d(1.5) + mode() + byte(4) + d(22.75) + d("snan") + mode(1)
    s["groups"] = (byte(5) + mode(2) + integer(0, 0) + d(2) + d(0.1) + d(1000) + d(0) +
                   byte(5) + mode(2) + integer(1, 0) + d(4.18) + d(1) + d(0) +
                   byte(5) + mode(1) + integer(2, 0) + d(300) + d(350) + d(1) + d(0) + d(1.16) + d(0.99))
    s["film"] = (byte(6) + mode() + byte(1) + b"".join(d(v) for v in (2, 1, 0.6, 4.18, 1000, 300, 350, 0.1, 0)) +
                 byte(6) + mode(1) + byte(0) + d(5) + d(290) + d(350) + d(0.2) + integer(0, -1) + integer(0, -1))
    s["superheat"] = byte(7) + d(700) + d(500) + mode() + byte(7) + d("nan") + d(700) + mode(2)
    s["vchar"] = (byte(8) + b"".join(d(v) for v in (506.69, 0.1532, 44.09562, 369.89, 4251.2, 288.7, 0.1521)) + mode() +
                  byte(8) + b"".join(d(v) for v in (1e-300, 8.3142, 1000, 2, 8.3142, 8.3142, 8.3142)) + mode())
    s["viscparam"] = (byte(9) + byte(1) + integer(0, 0) +
                      b"".join(d(v) for v in (44.09562, 369.89, 42.512, 0.2, 0.2001, 0.1521, 0.1532, 231.04, 506.69)) +
                      mode() + byte(9) + byte(1) + integer(1, 0) +
                      b"".join(d(v) for v in (142.3, 617.7, 21.1, 0.6, 0.6, 0.49, 0.49, 447.3, 730.0)) + mode())
    s["version"] = byte(11) + integer(0, 0) + mode() + byte(11) + integer(5, 0) + mode(2)
    s["kij"] = (byte(10) + integer(1, -1) + mode() + byte(1) + byte(1) + integer(0, -1) + byte(61) + integer(11, -1) +
                byte(10) + integer(2, -1) + mode() + byte(0) + integer(0, -2) + integer(1, -2))
    return s


# --- fuzz_vapour ---------------------------------------------------------------

GAS = [5, 1, 20, 5, 0.011, 40, 0, 20, 5, 0.011, 40, 0, 20, 500, 0.2, 100, 0]
PIPE = [100, 6, 0, 0, 0, 0.0018, 0.0018, 1]


def line(adiabatic, method, rescale, p2, w, p1, tol, up, down, pipe, m=0):
    return (byte(1 if adiabatic else 0) + integer(method, -1) + integer(rescale, -1) + d(p2) + d(w) +
            d(p1) + d(tol) + b"".join(d(v) for v in up + down + pipe) + mode(m))


def vapour_seeds():
    wet = [5, 0.9, 22, 8, 0.05, 60, 0, 20, 5, 0.011, 40, 0, 60, 600, 0.3, 150, 0]
    return {
        "isothermal": line(False, 1, 0, 5, 10000, MISSING, 1e-8, GAS, GAS, PIPE),
        "adiabatic": line(True, 1, 1, 5, 10000, 6, 1e-8, GAS, GAS, PIPE, 1),
        "rescaled-wet": line(False, 0, 1, 2, 50000, MISSING, 1e-6, wet, wet, [500, 12, 10, 2, 30, 0.0018, 0.0018, 1.1]),
        "zero-length": line(False, 1, 0, 5, 10000, MISSING, 1e-8, GAS, GAS, [0, 6, 0, 0, 0, 0.0018, 0.0018, 1]),
        "huge-p2": line(False, 0, 0, 1e304, 20000, MISSING, 1e-6, GAS, GAS, PIPE, 2),
        "no-flow": line(True, 1, 1, 50, 0, MISSING, 1e-6, GAS, GAS, [1, 6, 0, 0, 0, 0.0018, 0.0018, "max"]),
    }


# --- the flashing exports (fuzz/fuzz_flow.h), in fuzz_workspace and fuzz_prop3 ---

def near(x=None):
    """Near(): the hint (None) or the value x."""
    return byte(1) if x is None else byte(0) + d(x)


def meth(m):
    return byte(1) + integer(m, 0)


def sonic(fast, m, hm, p=None, t=None, hin=None, mw=None, rho=None, cp=None, from_h=False, md=0):
    out = byte(1 if fast else 0) + meth(m) + meth(hm) + byte(1)
    out += near(p) + near(mw) + near(rho) + near(cp) + near(t) + near(hin) + near(None) + near(None)
    if not fast:
        out += byte(0 if from_h else 1)
    return out + byte(1) + mode(md)


def choke(m, hm, area, w, hin=None, t=None, scale=1.0, p=None, precise=0, direction=1, md=0):
    return (meth(m) + meth(hm) + byte(1) + d(area) + d(w) + near(hin) + near(t) + d(scale) + near(p) +
            integer(precise, -1) + integer(direction, -1) + mode(md))


def twophase(n, method2p, pipe, w, pdown=None, passes=2, h=None, friction=1, elevation=0, md=0):
    out = integer(n, -1) + integer(friction, -1) + integer(method2p, 1) + meth(1) + meth(1)
    out += integer(elevation, -1) + integer(0, 0)
    if passes <= 2:
        out += byte(1) + integer(passes, -2)
    elif n > 0:
        out += byte(0) + integer(passes, -2)
    else:
        out += byte(0)
    out += byte(1) + b"".join(d(v) for v in pipe) + d(w) + near(pdown)
    out += byte(1) * max(n, 0)  # estimates: start from the downstream node
    return out + near(h) + byte(1) * (max(n, 0) + 1) + mode(md)


LINE = [50, 4.026, 0, 0, 0, 0.0018, 0.0018, 1]


# --- fuzz_workspace ------------------------------------------------------------

def open_table(names, choice=0, corrupt=None, fail_at=0, m=0):
    out = byte(0) + integer(choice, 0) + integer(len(names), 0)
    if choice == 9:
        out += integer(1, 1)  # a negative count: refused
    for i, name in enumerate(names):
        out += lib(name)
        if corrupt and corrupt[0] == i:
            out += byte(0) + d(corrupt[2]) + integer(corrupt[1], 0)
        else:
            out += byte(1)
        out += byte(1)  # code and family kept
    out += byte(1) + byte(1)  # kij as built
    out += (byte(0) + integer(fail_at, 1)) if fail_at else byte(1)
    return out + mode(m)


def composition(z):
    return b"".join(d(v) for v in z)


def workspace_seeds():
    gas = ["methane", "ethane", "propane", "water"]
    z = [0.9, 0.07, 0.03, 0.0]
    liquid = [0.0, 0.2, 0.8, 0.0]
    transport = b""
    for op in range(5):
        comp = z if op in (0, 4) else liquid
        transport += byte(4) + composition(comp) + byte(1) + d(300) + d(1000) + d(40) + mode(op % 3) + integer(op, 0)
    return {
        "open-averages": (open_table(gas) + byte(3) + composition(z) + byte(1) + integer(0, 0) + mode() +
                          byte(3) + composition(z) + byte(1) + integer(2, 0) + mode(1) + byte(1) + mode()),
        "transport": open_table(gas) + transport + byte(1) + mode(),
        "kij": open_table(gas) + byte(2) + integer(1, -1) + integer(0, -1) + integer(2, -1) + mode(),
        "allocation-failure": open_table(gas, fail_at=7) + byte(3) + composition([0.9]) + byte(1) + integer(0, 0) + mode(),
        "corrupted-row": open_table(gas, corrupt=(1, 5, 0.0)) + transport,
        "refused-open": open_table(gas) + open_table([], choice=9) + byte(1) + mode() + byte(1) + mode(),
        "sonic-choke": (open_table(gas) + byte(7) + composition(z) + sonic(False, 1, 1, p=1000, t=300) +
                        byte(7) + composition(z) + sonic(False, 0, 0, p=101.325, t=300, rho=1.2, cp=29.1, md=2) +
                        open_table(["propane"]) + byte(8) + composition([1.0]) +
                        choke(1, 1, 0.01, 10000, t=300, scale=0.1, p=1000, md=1)),
        "twophase-no-table": (byte(9) + composition([0.9]) + twophase(2, 2, LINE, 3000, pdown=2) +
                              open_table(gas, corrupt=(2, 4, "nan")) + byte(9) + composition(z) +
                              twophase(1, 3, LINE, 3000, pdown=2, md=2)),
        "messages": byte(6) + integer(0, 0) + mode() + open_table(gas, corrupt=(0, 4, -5.0)) + byte(6) + integer(2, 0) + mode(),
    }


# --- fuzz_prop3 ------------------------------------------------------------------

def table(names, zs, zero_kij=False):
    out = integer(len(names), 1) + b"".join(lib(n) for n in names) + byte(1)  # no corruption
    out += byte(0 if zero_kij else 1)
    for v in zs:
        out += byte(0) if v == 0 else byte(1) + d(v)
    return out


def call(method, hmethod, kind, t=300, p=1000, spec=None, tguess=MISSING, tol=None, m=0, m2=0, flow=None):
    out = byte(1) + integer(method, 0) + byte(1) + integer(hmethod, 0) + d(t) + d(p) + integer(kind, 0)
    if kind in (1, 2):
        out += byte(0) + d(spec)
    elif kind in (3, 4, 5, 6, 7):
        out += d(spec)
    elif kind == 8:
        out += d(spec)
    out += byte(1) if tguess == MISSING else byte(0) + d(tguess)
    if tol is None:
        out += byte(1)
    else:
        out += byte(0) + b"".join(d(v) for v in tol)
    # then one flashing export from the state found (3: none)
    return out + mode(m) + mode(m2) + (flow if flow is not None else byte(3))


def prop3_seeds():
    eight = ["methane", "ethane", "propane", "n-butane", "n-hexane", "n-decane", "nitrogen", "water"]
    z8 = [0.5, 0.1, 0.08, 0.07, 0.06, 0.05, 0.04, 0.1]
    everything = LIB[:24]
    z24 = [1.0 / 24] * 24
    return {
        "gas-tp": table(["methane", "ethane", "propane", "water"], [0.9, 0.07, 0.03, 0.0]) + call(1, 1, 0, 300, 5000),
        "bubble-dew": (table(["propane", "n-butane"], [0.5, 0.5]) + call(1, 1, 1, p=500, spec=0.0) +
                       call(2, 2, 1, p=500, spec=1.0, m=1) + call(1, 1, 2, t=300, spec=0.5, m=2)),
        "entropy-8": (table(eight, z8, zero_kij=True) +
                      call(1, 1, 4, p=2000, spec=-50, tol=[1e-9, 0.1, 1e-9, 1e-4])),
        "retrograde": (table(["methanol", "ethylene"], [0.5, 0.5], zero_kij=True) +
                       call(1, 0, 1, p=119.74043399516259, spec=-1.0, tol=[1e-9, 0.1, 0.001, 1e-4])),
        "enthalpy": (table(["methane", "propane", "n-hexane"], [0.5, 0.3, 0.2]) +
                     call(1, 1, 3, p=1000, spec=-5000) + call(1, 2, 5, t=350, spec=-8000, m=1)),
        "free-water": (table(["methane", "n-hexane", "water"], [0.3, 0.3, 0.4]) +
                       call(3, 1, 0, 320, 2000) + call(3, 0, 1, p=2000, spec=0.3, tguess=300)),
        "high-pressure-cold-estimate": (table(["methane", "ethane", "propane", "n-butane", "n-hexane"],
                                              [0.8, 0.08, 0.06, 0.04, 0.02]) +
                                        call(1, 1, 1, p=5000, spec=1.0, tguess=-19)),
        "twenty-four": table(everything, z24) + call(2, 2, 0, 400, 3000) + call(1, 1, 4, p=3000, spec=150),
        "sonic": (table(["methane", "ethane", "propane", "water"], [0.9, 0.07, 0.03, 0.0]) +
                  call(1, 1, 0, 300, 1000, flow=byte(0) + sonic(False, 1, 1)) +
                  call(1, 1, 1, p=500, spec=0.5, flow=byte(0) + sonic(True, 1, 1, md=2))),
        "choke": (table(["methane"], [1.0]) +
                  call(1, 1, 0, 300, 1000, flow=byte(1) + choke(1, 1, 0.01, 10000, scale=0.1, md=1))),
        "choke-no-mach-one": (table(["water"], [1.0]) +
                              call(1, 1, 0, 300, 3000, flow=byte(1) + choke(1, 1, 1.0, 1.0, precise=1))),
        "twophase": (table(["methane", "ethane", "propane", "water"], [0.82, 0.08, 0.05, 0.05]) +
                     call(1, 1, 0, 300, 1000, flow=byte(2) + twophase(4, 2, LINE, 3000, pdown=2)) +
                     call(1, 1, 0, 300, 1000, flow=byte(2) + twophase(1, 4, LINE, 3000, pdown=2, passes=150))),
        "twophase-twenty-four": table(everything, z24) + call(1, 1, 0, 400, 3000,
                                                              flow=byte(2) + twophase(6, 3, LINE, 20000, pdown=5, passes=7)),
    }


# --- fuzz_format and fuzz_sparse --------------------------------------------------

def text(s):
    b = s.encode()
    return byte(len(b)) + b


def format_seeds():
    def ext(v, scale, offset, pieces, m=0):
        out = mode(m) + integer(0, 0) + d(v) + d(scale) + d(offset)
        out += byte(1) + integer(len(pieces), 0) + b"".join(byte(p) for p in pieces) + byte(1)
        return out

    def sig(v, digits, m=0):
        return mode(m) + integer(1, 0) + d(v) + integer(digits, -2) + byte(1)

    # Pieces (fuzz_format.cpp): 0 "%", 1 "f", 2 "e", 4 "g", 7 ".", 8 "3", 15 "%%"
    return {
        "fahrenheit": integer(0, 0) + ext(300, 1.8, -459.67, [0, 7, 8, 1]),
        "exponent": integer(2, 0) + d(1.5) + ext(1.5e-10, 1, 0, [0, 7, 8, 2], 1),
        "percent": integer(1, 0) + text("old") + ext(0.25, 100, 0, [0, 4, 15]),
        "sigfigs": integer(1, 0) + text("old text") + sig(1.5, 4) + sig(0.00012, 3, 2) + sig(7, 0) + sig(1e300, 9),
        "free": integer(2, 0) + d(42) + mode() + integer(3, 0) + integer(0, 0) + mode() + integer(2, 0),
    }


def sparse_seeds():
    def system(n, entries, b, option=0, alias=False):
        out = byte(1) + byte(1) + integer(n, 1) + byte(1) + integer(len(entries), 0) + byte(0)
        for (i, j, v) in entries:
            out += integer(i, -1) + integer(j, -1) + d(v)
        out += b"".join(d(v) for v in b)
        return out + byte(0 if alias else 1) + integer(option, -1) + byte(0) + mode()

    a3 = [(0, 0, 4), (1, 1, 3), (2, 2, 2), (0, 2, 1), (2, 0, 1)]
    classes = (byte(0) + integer(3, -1) + byte(1) + integer(9, -1) + integer(len(a3), 0) +
               b"".join(integer(i, -1) + integer(j, -1) + d(v) for (i, j, v) in a3) +
               byte(0) + b"".join(d(v) for v in (1, 2, 3)) + byte(1))
    return {
        "three": system(3, a3, [1, 2, 3]),
        "transposed-aliased": system(3, a3, [1, 2, 3], option=1, alias=True),
        "repeated-entries": system(2, [(0, 0, 1), (0, 0, 1), (1, 1, 2), (0, 1, 0.5)], [1, 1]),
        "singular": system(2, [(0, 0, 1), (0, 1, 2), (1, 0, 2), (1, 1, 4)], [1, 2]),
        "classes": classes,
    }


def main():
    corpora = {"fuzz_scalar": scalar_seeds(), "fuzz_vapour": vapour_seeds(),
               "fuzz_workspace": workspace_seeds(), "fuzz_prop3": prop3_seeds(),
               "fuzz_format": format_seeds(), "fuzz_sparse": sparse_seeds()}
    for target, seeds in corpora.items():
        folder = os.path.join(HERE, "corpus", target)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
        print(f"{target}: {len(seeds)} seeds")


if __name__ == "__main__":
    main()
