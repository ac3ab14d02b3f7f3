"""Vantaro from Python: the engine's flat C exports through ctypes, with a
small Pythonic layer on top.

    import vantaro
    with vantaro.Workspace(["methane", "ethane", "propane"]) as ws:
        gas = vantaro.Stream(ws, [0.9, 0.07, 0.03])
        state = gas.flash(T=300.0, P=5000.0)           # K, kPa
        print(state.phases, state.H, state.density)    # kJ/kmol, kg/m3

Units are the engine's: K, kPa, kJ/kmol, kJ/(kmol K), m3/kmol, kg/kmol,
kg/m3, cP; the hydraulics work in bar, kg/h, m and inches. A failed call
raises VantaroError with the engine's status and its meaning; a value the
engine marks missing is None.

The library is found through the environment variable VANTARO_LIBRARY (its
path), else in the package folder, else in the build tree of the repository
the package sits in (build/bin), else on the system's library path.
"""
import ctypes

from . import _native
from ._native import MISSING
from .errors import VantaroError
from .fittings import TeeK, contraction_k, tee_k
from .heat import (grashof, htc_external, htc_internal, prandtl, reynolds,
                   superheat_coefficient)
from .hydraulics import (REGIMES, TWO_PHASE_METHODS, Pipe, PipeEnd, PipeResult, flow_regime,
                         friction_factor, pipe_upstream_pressure)
from .numerics import ext_format, format_sig_figs, solve_sparse
from .stream import (DEFAULT_TOL, IDEAL_GAS, LEE_KESLER, NO_EOS, PENG_ROBINSON, PHASES,
                     PR_DEPARTURES, SOAVE_REDLICH_KWONG, SRK_DEPARTURES, VAPOUR_PRESSURE,
                     ChokeResult, FlashResult, Phase, Stream, Transport,
                     sonic_velocity_ideal_gas)
from .workspace import (Component, Components, Workspace, builtin_kij, pure_vchar,
                        set_message_handler, visc_param)

__version__ = "0.2.0"


def version_info():
    """The loaded engine's version as (major, minor, patch) (VantaroVersion)."""
    parts = [ctypes.c_int32(-1) for _ in range(3)]
    _native.export("VantaroVersion")(*(ctypes.byref(p) for p in parts))
    return tuple(p.value for p in parts)


def version():
    """The loaded engine's version, "major.minor.patch"."""
    return "%d.%d.%d" % version_info()


def library():
    """The loaded engine as a ctypes.CDLL, every export's signature declared,
    for calling the flat exports directly; its `vantaro_path` attribute is the
    file it was loaded from."""
    return _native.lib()
