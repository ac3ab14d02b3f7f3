"""The sparse linear solve and number formatting."""
import ctypes

from . import _native as nt
from .errors import VantaroError


def solve_sparse(entries, b, transpose=False):
    """Solves the sparse system A x = b (A^T x = b with transpose) by LU
    factorisation with partial pivoting (SolveLinearEquations). entries:
    (row, column, value) triples with 0-based indices (repeated pairs add
    up); b: the right-hand side, whose length is the order of A. Returns x as
    a list; raises VantaroError for an entry outside the matrix, a non-finite
    value, or a singular matrix."""
    entries = list(entries)
    n = len(b)
    if n == 0:
        raise VantaroError("the right-hand side is empty")
    table = (nt.SparseEntry * max(len(entries), 1))()
    for k, (row, column, value) in enumerate(entries):
        table[k] = nt.SparseEntry(int(row), int(column), float(value))
    rhs, x = nt.doubles(n, b), nt.doubles(n)
    if nt.export("SolveLinearEquations")(len(entries), n, table, rhs, x,
                                         1 if transpose else 0) != 1:
        raise VantaroError("no solution: an entry outside the matrix or not finite, a "
                           "non-finite right-hand side, or a singular matrix", 0,
                           "SolveLinearEquations")
    return list(x)


def _host_text(handle, encoding):
    """The text of an engine string, which is then freed."""
    if not handle:
        raise VantaroError("the engine could not allocate a string")
    try:
        size = nt.export("HostStringByteLen")(handle)
        return ctypes.string_at(handle, size).decode(encoding)
    finally:
        nt.export("FreeHostString")(handle)


def ext_format(value, fmt, scale=1.0, offset=0.0):
    """value * scale + offset formatted with a printf format holding exactly
    one floating-point conversion, exponents with at least three digits
    (ExtFormat). MISSING gives "", -32768 gives "1"; a format the engine does
    not accept gives ""."""
    return _host_text(nt.export("ExtFormat")(float(value), float(scale), float(offset),
                                             str(fmt).encode()), "latin-1")


def format_sig_figs(value, digits):
    """value with exactly `digits` (1-9) significant digits, trailing zeros
    kept (FormatSigFigs)."""
    handle = ctypes.c_void_p(None)
    if nt.export("FormatSigFigs")(ctypes.byref(handle), float(value), int(digits)) != 1:
        raise VantaroError("digits must be 1 to 9", 0, "FormatSigFigs")
    return _host_text(handle.value, "utf-16-le")
