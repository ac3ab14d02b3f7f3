"""The shared library: finding it, the C records, and one ctypes signature
per export of the public header (``include/vantaro/vantaro.h``).

Everything else in the package calls the engine through ``lib()``; nothing
outside this module declares a C type.
"""
import ctypes
import ctypes.util
import os
import sys
import threading
from pathlib import Path

from .errors import VantaroError

#: The engine's missing-value sentinel: an absent input or an unavailable result.
MISSING = -32767.0

c_int16, c_int32, c_uint32 = ctypes.c_int16, ctypes.c_int32, ctypes.c_uint32
c_double, c_char_p, c_void_p = ctypes.c_double, ctypes.c_char_p, ctypes.c_void_p
P = ctypes.POINTER


# --- records ------------------------------------------------------------------

class CompRecord(ctypes.Structure):
    """One pure component, 160 bytes: two int32 and nineteen doubles."""
    _fields_ = [("code", c_int32), ("family", c_int32)] + [
        (name, c_double) for name in (
            "mw", "liqden", "tb", "classnum", "pc", "tc", "vc", "vstar", "omega", "omegasrk",
            "iga", "igb", "igc", "igd", "ige", "igf", "igg", "visca", "viscb")]


class PipeSegment(ctypes.Structure):
    _fields_ = [(name, c_double) for name in
                ("len", "dia", "rise", "kfit", "ldfit", "rough", "roughft", "lenmult")]


class StreamState(ctypes.Structure):
    _fields_ = [(name, c_double) for name in (
        "pref", "vfrac", "mixmw", "mixden", "mixvisc", "mixcp", "mixspare",
        "vapmw", "vapden", "vapvisc", "vapcp", "vapspare",
        "liqmw", "liqden", "liqvisc", "liqcp", "liqspare")]


class FlowResult(ctypes.Structure):
    _fields_ = [(name, c_double) for name in (
        "p", "dpacc", "dpfric", "dpelev", "holdup", "leq", "re", "fric", "vin", "vout")] + [
        ("regime", c_int32)]


class SparseEntry(ctypes.Structure):
    _fields_ = [("row", c_int32), ("column", c_int32), ("value", c_double)]


# The same layout checks as the header's static assertions.
for _record, _size in ((CompRecord, 160), (PipeSegment, 64), (StreamState, 136),
                       (FlowResult, 88), (SparseEntry, 16)):
    assert ctypes.sizeof(_record) == _size, _record.__name__

MessageFn = ctypes.CFUNCTYPE(None, c_char_p, c_char_p, c_void_p)

_D, _I = c_double, c_int32
_PD, _PI = P(c_double), P(c_int32)

#: Every export of the public header: name -> (result type, argument types).
SIGNATURES = {
    "VantaroVersion": (None, [_PI, _PI, _PI]),
    "SetMessageCallback": (None, [MessageFn, c_void_p]),
    "OpenProps": (None, [_I, P(CompRecord), _PD, _PD]),
    "CloseProps": (None, []),
    "EstimateKij": (_I, [_I, _I, _I, _PD]),
    "GetKijHardWired": (None, [_I, _I, _I, _I, _I, _PD]),
    "MolWeight": (_I, [_PD, _PD]),
    "PseudoPc": (_I, [_PD, _PD]),
    "PseudoTc": (_I, [_PD, _PD]),
    "Prop3": (_I, [_I, _I, _PD, _PD, _PD, _PD, _PD, _PD, _PD, _PI,
                   _PD, _PD, _PD, _PD, _PD, _PD, _D, _PD]),
    "PureVchar": (_I, [_D, _D, _D, _D, _D, _D, _D, _PD]),
    "ViscVapour": (_I, [_PD, _D, _PD]),
    "ViscLiquid": (_I, [_PD, _D, _D, _D, _PD]),
    "SurfTenLiquid": (_I, [_PD, _D, _PD]),
    "ThermCondLiquid": (_I, [_PD, _D, _PD]),
    "ThermCondVapour": (_I, [_PD, _D, _D, _PD]),
    "ViscParam": (_I, [_I] + [_D] * 9 + [_PD, _PD]),
    "TurbulentFrictionFactor": (_I, [_I, _D, _D, _PD]),
    "IsoVapDp": (_I, [_I, _D, _D, P(StreamState), P(StreamState), P(PipeSegment),
                      P(FlowResult), _I, _D, _D]),
    "AdiaVapDp": (_I, [_I, _D, _D, P(StreamState), P(StreamState), P(PipeSegment),
                       P(FlowResult), _I, _D, _D]),
    "NewTwoPhaseDp": (_I, [_I, _I, _I, _I, _I, _I, P(PipeSegment), P(FlowResult), _D,
                           _PD, _PD, _PD, _PD, _PD, _PD, _PD, _I, _I, _I, _I]),
    "Mandhane": (_I, [_D, _D, _PD]),
    "getK13": (_I, [_D, _D, _I, _I, _PD, _I, _I, _PI, _PD, _PD]),
    "getK23": (_I, [_D, _D, _I, _I, _PD, _I, _I, _PI, _PD, _PD]),
    "ContractionLossCoefficientBenedict": (_I, [_D, _D, _PD]),
    "SonicVelocity": (_I, [_I, _I, _D, _D, _D, _PD, _D, _D, _D, _PD, _PD]),
    "FastSonicVelocity": (_I, [_I, _I, _D, _D, _D, _D, _PD, _D, _D, _D, _PD, _PD]),
    "PressureChoke": (_I, [_I, _I, _D, _D, _D, _PD, _PD, _PD, _PD, _PD, _PD, _PD, _I, _I]),
    "Reynolds": (_I, [_D, _D, _D, _D, _PD]),
    "Prandtl": (_I, [_D, _D, _D, _PD]),
    "Grashof": (_I, [_D, _D, _D, _D, _D, _D, _PD]),
    "HtcInternal": (_I, [_D] * 9 + [_PD]),
    "HtcExternal": (_I, [_D, _D, _D, _D, c_int16, _PD, c_int16]),
    "SuperheatCoefficient": (_D, [_D, _D]),
    "SolveLinearEquations": (_I, [_I, _I, P(SparseEntry), _PD, _PD, _I]),
    "FreeHostString": (None, [c_void_p]),
    "HostStringByteLen": (c_uint32, [c_void_p]),
    "ExtFormat": (c_void_p, [_D, _D, _D, c_char_p]),
    "FormatSigFigs": (_I, [P(c_void_p), _D, _I]),
}


# --- finding and loading the library ---------------------------------------------

def library_file_name():
    """The engine's file name on this platform."""
    if sys.platform.startswith("win"):
        return "vantaro.dll"
    if sys.platform == "darwin":
        return "libvantaro.dylib"
    return "libvantaro.so"


def candidate_paths():
    """Where the library is looked for, in order: the path in the environment
    variable VANTARO_LIBRARY; the package folder (a copy bundled at install);
    the build tree of the repository the package sits in (build/bin); the
    system's library search path."""
    env = os.environ.get("VANTARO_LIBRARY")
    if env:  # an explicit choice: no fallback behind it
        path = Path(env).expanduser()
        return [path.resolve() if path.exists() else path]
    name = library_file_name()
    here = Path(__file__).resolve().parent
    paths = [here / name]
    repository = here.parent.parent
    if (repository / "CMakeLists.txt").is_file():  # the package in its source tree
        paths.append(repository / "build" / "bin" / name)
    found = ctypes.util.find_library("vantaro")
    if found:
        paths.append(Path(found))
    return paths


_lock = threading.Lock()
_lib = None


def lib():
    """The loaded engine (a ctypes.CDLL) with every export's signature set.
    Loaded on first use; raises VantaroError when no library can be loaded."""
    global _lib
    with _lock:
        if _lib is None:
            _lib = _load()
        return _lib


def _load():
    tried = []
    for path in candidate_paths():
        # find_library returns a bare name for the loader to resolve.
        if path.parent != Path(".") and not path.exists():
            tried.append(f"{path} (not found)")
            continue
        try:
            handle = ctypes.CDLL(str(path))
        except OSError as e:
            tried.append(f"{path} ({e})")
            continue
        _declare(handle)
        handle.vantaro_path = str(path)
        return handle
    raise VantaroError("cannot load the engine library; tried: " + "; ".join(tried) +
                       ". Set VANTARO_LIBRARY to the path of " + library_file_name())


def _declare(handle):
    for name, (restype, argtypes) in SIGNATURES.items():
        try:
            fn = getattr(handle, name)
        except AttributeError:
            continue  # an older library: calling it raises a clear error later
        fn.restype = restype
        fn.argtypes = argtypes


# The engine is not thread-safe and ctypes releases the GIL while a foreign
# function runs: the package serialises its calls.
_call_lock = threading.RLock()


def export(name):
    """One export of the loaded library, by name, called under the package's
    lock."""
    handle = lib()
    try:
        fn = getattr(handle, name)
    except AttributeError:
        raise VantaroError(f"the engine library {handle.vantaro_path} has no export {name}",
                           export=name) from None

    def serialised(*args):
        with _call_lock:
            return fn(*args)
    return serialised


# --- small conversions used throughout ------------------------------------------

def arg(value):
    """A Python input as the engine's double: None becomes MISSING."""
    return MISSING if value is None else float(value)


def out(value):
    """An engine output as Python: MISSING becomes None."""
    return None if value == MISSING else value


def doubles(n, values=None, fill=0.0):
    """A C array of n doubles, from values or filled with `fill`."""
    array = (c_double * n)()
    if values is None:
        for i in range(n):
            array[i] = fill
    else:
        for i, v in enumerate(values):
            array[i] = arg(v)
    return array
