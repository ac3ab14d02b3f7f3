"""Component data and the engine's process-wide workspace."""
import ctypes
import dataclasses
import sys
from pathlib import Path

from . import _native as nt
from ._native import MISSING
from .errors import VantaroError

_CSV_HEADER = ("code,family,name,mw,liqden,tb,classnum,pc,tc,vc,vstar,omega,omegasrk,"
               "iga,igb,igc,igd,ige,igf,igg,visca,viscb")
_DOUBLE_FIELDS = _CSV_HEADER.split(",")[3:]


@dataclasses.dataclass(frozen=True)
class Component:
    """One pure component: the fields of the engine's component record.

    Units: mw kg/kmol; liqden standard liquid density kg/m3; tb normal
    boiling point K; pc kPa; tc K; vc and vstar m3/kmol; iga..igf the
    ideal-gas enthalpy polynomial H = A + B T + ... + F T^5 (kJ/kg, T in K);
    igg the ideal-gas entropy constant kJ/(kg K); visca, viscb the
    liquid-viscosity coefficients (None when not fitted). Values the library
    does not give are None.
    """
    name: str
    code: int
    family: int
    mw: float
    liqden: float
    tb: float
    classnum: float
    pc: float
    tc: float
    vc: float
    vstar: float
    omega: float
    omegasrk: float
    iga: float
    igb: float
    igc: float
    igd: float
    ige: float
    igf: float
    igg: float
    visca: float = None
    viscb: float = None

    def record(self):
        """The component as the engine's 160-byte CompRecord."""
        rec = nt.CompRecord(code=self.code, family=self.family)
        for field in _DOUBLE_FIELDS:
            setattr(rec, field, nt.arg(getattr(self, field)))
        return rec

    def with_fitted_viscosity(self, kind=0):
        """A copy whose visca and viscb are fitted by the engine (ViscParam);
        kind 1 treats the component as a petroleum pseudo-component."""
        a, b = visc_param(kind, self.mw, self.tc, self.pc / 100.0, self.vc, self.vstar,
                          self.omega, self.omegasrk, self.tb, self.liqden)
        return dataclasses.replace(self, visca=a, viscb=b)


class Components:
    """A component library: the built-in one (``Components()``), or a CSV
    file with the same columns (``Components(path)``; lines starting with
    '#' are comments). Look components up by name: ``lib["methane"]``."""

    def __init__(self, path=None):
        if path is None:
            path = Path(__file__).with_name("components.csv")
            origin = "built-in library"
        else:
            origin = str(path)
        try:
            text = Path(path).read_text()
        except OSError as e:
            raise VantaroError(f"cannot read the component library {path}: {e}") from None
        self._by_name = {}
        for c in _parse_csv(text, origin):
            self._by_name[c.name] = c

    def __getitem__(self, name):
        try:
            return self._by_name[name]
        except KeyError:
            raise VantaroError(f"unknown component '{name}'") from None

    def __contains__(self, name):
        return name in self._by_name

    def __iter__(self):
        return iter(self._by_name.values())

    def __len__(self):
        return len(self._by_name)

    @property
    def names(self):
        return list(self._by_name)


def _parse_csv(text, origin):
    lines = [(n, line.strip()) for n, line in enumerate(text.splitlines(), 1)]
    lines = [(n, line) for n, line in lines if line and not line.startswith("#")]
    if not lines or lines[0][1] != _CSV_HEADER:
        raise VantaroError(f"{origin}: the first line must be the header '{_CSV_HEADER}'")
    out = []
    for n, line in lines[1:]:
        cells = [c.strip() for c in line.split(",")]
        if len(cells) != 22:
            raise VantaroError(f"{origin}:{n}: expected 22 columns")
        try:
            values = [nt.out(float(c)) for c in cells[3:]]
            out.append(Component(cells[2], int(cells[0]), int(cells[1]), *values))
        except ValueError:
            raise VantaroError(f"{origin}:{n}: not a number") from None
    return out


def builtin_kij(first, second, method=1):
    """The engine's built-in interaction parameter for a pair of components
    (GetKijHardWired; method 1 Peng-Robinson, 2 Soave-Redlich-Kwong); 0 when
    no rule applies. Not symmetric in its two components."""
    kij = nt.c_double(0.0)
    nt.export("GetKijHardWired")(method, first.code, first.family, second.code, second.family,
                                 ctypes.byref(kij))
    return kij.value


def visc_param(kind, mw, tc, pc_bar, vc, vstar, omega, omegasrk, tb, liqden):
    """Liquid-viscosity coefficients (visca, viscb) of one component
    (ViscParam): mw kg/kmol, tc K, pc in bar, vc and vstar m3/kmol, tb K,
    liqden kg/m3; kind 1 = petroleum pseudo-component. None for a coefficient
    that cannot be fitted."""
    a, b = nt.c_double(MISSING), nt.c_double(MISSING)
    nt.export("ViscParam")(kind, *(nt.arg(v) for v in (mw, tc, pc_bar, vc, vstar, omega,
                                                       omegasrk, tb, liqden)),
                           ctypes.byref(a), ctypes.byref(b))
    return nt.out(a.value), nt.out(b.value)


def pure_vchar(liqden, omegasrk, mw, tc, pc, omega, tref=None):
    """COSTALD characteristic volume V*, m3/kmol, back-calculated from the
    standard liquid density liqden (kg/m3, at 288.70555 K, or at tref K for a
    component whose tc lies below that) (PureVchar). mw kg/kmol, tc K, pc kPa.
    Raises VantaroError when the inputs give no volume."""
    vstar = nt.c_double(MISSING)
    nt.export("PureVchar")(nt.arg(liqden), nt.arg(omegasrk), nt.arg(mw), nt.arg(tc), nt.arg(pc),
                           nt.arg(tref), nt.arg(omega), ctypes.byref(vstar))
    if vstar.value == MISSING:
        raise VantaroError("no characteristic volume: liqden, mw, tc and pc must be positive "
                           "numbers (and tref given when tc < 288.7055 K)", export="PureVchar")
    return vstar.value


# --- engine messages -----------------------------------------------------------

_handler = None
_captured = None


@nt.MessageFn
def _on_message(caption, text, user):
    caption = caption.decode(errors="replace") if caption else ""
    text = text.decode(errors="replace") if text else ""
    if _captured is not None:
        _captured.append(text)
    if _handler is not None:
        try:
            _handler(caption, text)
        except Exception:  # an exception must not unwind through the engine
            pass
    elif _captured is None:
        print(f"{caption}: {text}", file=sys.stderr)


_installed = False


def _install_dispatcher():
    global _installed
    if not _installed:
        nt.export("SetMessageCallback")(_on_message, None)
        _installed = True


def set_message_handler(fn):
    """Sends the engine's user-visible messages (the workspace failures) to
    fn(caption, text); None restores the default (standard error)."""
    global _handler
    _install_dispatcher()
    _handler = fn


# --- the workspace ----------------------------------------------------------------

_active = None


class Workspace:
    """The engine's process-wide component workspace (OpenProps/CloseProps),
    as a context manager::

        with Workspace(["methane", "ethane", "propane"]) as ws:
            ...

    components: names in the library (the built-in one unless `library` is
    given) or Component objects; the order is the order of every composition.
    kij_pr, kij_srk: n x n interaction matrices (nested lists); by default the
    engine's built-in rules (GetKijHardWired). fit_viscosity: fit visca/viscb
    of components that have none (ViscParam), as liquid viscosities and the
    two-phase pressure drop need them; viscosity_kind 1 fits them as
    petroleum fractions (from the boiling point), 0 as defined compounds.

    The engine holds one workspace per process: opening a second one while
    another is open raises VantaroError.
    """

    def __init__(self, components, library=None, kij_pr=None, kij_srk=None,
                 fit_viscosity=True, viscosity_kind=0):
        if isinstance(components, (str, Component)):
            components = [components]
        lib = library
        comps = []
        for c in components:
            if isinstance(c, str):
                lib = lib if lib is not None else Components()
                c = lib[c]
            elif not isinstance(c, Component):
                raise VantaroError(f"not a component or component name: {c!r}")
            if fit_viscosity and (c.visca is None or c.viscb is None):
                c = c.with_fitted_viscosity(viscosity_kind)
            comps.append(c)
        if not comps:
            raise VantaroError("a workspace needs at least one component")
        self.components = tuple(comps)
        self.names = [c.name for c in comps]
        self.kij_pr = self._matrix(kij_pr, 1, "kij_pr")
        self.kij_srk = self._matrix(kij_srk, 2, "kij_srk")
        self._open = False

    def _matrix(self, given, method, label):
        n = len(self.components)
        if given is None:
            return [[0.0 if i == j else builtin_kij(a, b, method)
                     for j, b in enumerate(self.components)]
                    for i, a in enumerate(self.components)]
        rows = [list(map(float, row)) for row in given]
        if len(rows) != n or any(len(row) != n for row in rows):
            raise VantaroError(f"{label} must be {n} x {n}")
        return rows

    def __len__(self):
        return len(self.components)

    @property
    def is_open(self):
        return self._open

    def index(self, name):
        """The position of a component (by name) in every composition."""
        try:
            return self.names.index(name)
        except ValueError:
            raise VantaroError(f"'{name}' is not a component of this workspace") from None

    def open(self):
        """Opens the workspace in the engine (the context manager does this)."""
        global _active, _captured
        if self._open:
            return self
        if _active is not None:
            raise VantaroError("another Workspace is open: the engine holds one workspace "
                               "per process, close that one first")
        n = len(self.components)
        records = (nt.CompRecord * n)(*(c.record() for c in self.components))
        pr = nt.doubles(n * n, [v for row in self.kij_pr for v in row])
        srk = nt.doubles(n * n, [v for row in self.kij_srk for v in row])
        _install_dispatcher()
        _captured = []
        try:
            nt.export("OpenProps")(n, records, pr, srk)
            failures = _captured
        finally:
            _captured = None
        if failures:
            nt.export("CloseProps")()
            raise VantaroError("; ".join(failures), export="OpenProps")
        self._open = True
        _active = self
        return self

    def close(self):
        """Releases the engine's workspace; harmless when already closed."""
        global _active
        if self._open:
            nt.export("CloseProps")()
            self._open = False
            _active = None

    def __enter__(self):
        return self.open()

    def __exit__(self, *exc):
        self.close()
        return False

    def require_open(self):
        if not self._open:
            raise VantaroError("the workspace is not open (use it inside its 'with' block)")

    def composition(self, z):
        """A composition as a C array in this workspace's order: a sequence of
        mole fractions, or a mapping name -> fraction (absent names are 0)."""
        n = len(self.components)
        if isinstance(z, dict):
            values = [0.0] * n
            for name, x in z.items():
                values[self.index(name)] = x
        else:
            values = list(z)
            if len(values) != n:
                raise VantaroError(f"a composition needs {n} mole fractions "
                                   f"({', '.join(self.names)}), got {len(values)}")
        return nt.doubles(n, values)

    def estimate_kij(self, i, j, method=1):
        """The engine's estimate of kij for components i and j (indices or
        names) of this workspace (EstimateKij; method 1 Peng-Robinson, 2 SRK)."""
        self.require_open()
        i = self.index(i) if isinstance(i, str) else i
        j = self.index(j) if isinstance(j, str) else j
        kij = nt.c_double(0.0)
        if nt.export("EstimateKij")(method, i, j, ctypes.byref(kij)) == 0:
            raise VantaroError(f"component index out of range ({i}, {j})", status=0,
                               export="EstimateKij")
        return kij.value

    def stream(self, z, **options):
        """A Stream of composition z in this workspace (see Stream)."""
        from .stream import Stream
        return Stream(self, z, **options)
