"""The package as a whole: the library it loads, its declared signatures
against the public header, its files, the wheel it builds, the example."""
import base64
import ctypes
import hashlib
import os
import re
import subprocess
import sys
import zipfile

import vantaro
from vantaro import _native
from conftest import REPO


def header_exports():
    """name -> number of parameters of every VANTARO_API declaration."""
    text = (REPO / "include" / "vantaro" / "vantaro.h").read_text()
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"#[ \t]*define[^\n]*", " ", text)
    exports = {}
    for m in re.finditer(r"VANTARO_API[^;(]*?(\w+)\s*\(([^;]*?)\)\s*;", text):
        params = m.group(2).strip()
        exports[m.group(1)] = 0 if params in ("", "void") else params.count(",") + 1
    return exports


def test_every_header_export_is_declared_with_its_arity():
    declared = {name: len(args) for name, (_, args) in _native.SIGNATURES.items()}
    assert declared == header_exports()


def test_versions_agree(raw):
    parts = [ctypes.c_int32(-1) for _ in range(3)]
    raw.VantaroVersion(*(ctypes.byref(p) for p in parts))
    from_export = "%d.%d.%d" % tuple(p.value for p in parts)
    cmake = re.search(r"project\(vantaro VERSION (\d+\.\d+\.\d+)",
                      (REPO / "CMakeLists.txt").read_text()).group(1)
    assert vantaro.version() == from_export == vantaro.__version__ == cmake
    assert vantaro.version_info() == tuple(int(x) for x in cmake.split("."))
    cli = REPO / "build" / "bin" / "vantaro"
    if cli.exists():
        out = subprocess.run([str(cli), "--version"], capture_output=True, text=True, check=True)
        assert out.stdout == f"vantaro {cmake}\n"


def test_builtin_components_are_the_repository_library():
    assert (REPO / "python" / "vantaro" / "components.csv").read_bytes() == \
        (REPO / "data" / "components.csv").read_bytes()


def run_python(code, **env):
    return subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                          env={**os.environ, "PYTHONPATH": str(REPO / "python"), **env})


def test_library_named_in_the_environment_is_the_one_loaded(tmp_path):
    missing = run_python("import vantaro; vantaro.version()",
                         VANTARO_LIBRARY=str(tmp_path / "nowhere.so"))
    assert missing.returncode != 0
    assert "VantaroError: cannot load the engine library" in missing.stderr
    assert "nowhere.so" in missing.stderr
    found = run_python("import vantaro; print(vantaro.library().vantaro_path)",
                       VANTARO_LIBRARY=vantaro.library().vantaro_path)
    assert found.stdout.strip() == vantaro.library().vantaro_path


def test_wheel_carries_the_package_and_the_library(tmp_path, monkeypatch):
    import _vantaro_build  # beside the package, on the path conftest sets
    monkeypatch.setenv("VANTARO_LIBRARY", vantaro.library().vantaro_path)
    name = _vantaro_build.build_wheel(str(tmp_path))
    assert name.startswith(f"vantaro-{vantaro.__version__}-py3-none-")
    assert not name.endswith("-any.whl")  # a bundled library makes it platform-specific
    with zipfile.ZipFile(tmp_path / name) as wheel:
        names = set(wheel.namelist())
        lib = "vantaro/" + _native.library_file_name()
        assert {"vantaro/__init__.py", "vantaro/components.csv", lib} <= names
        assert not any("__pycache__" in n for n in names)
        info = f"vantaro-{vantaro.__version__}.dist-info"
        assert f"Version: {vantaro.__version__}" in wheel.read(f"{info}/METADATA").decode()
        for line in wheel.read(f"{info}/RECORD").decode().splitlines():
            path, digest, size = line.split(",")
            if digest:
                data = wheel.read(path)
                expected = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=")
                assert (digest, int(size)) == ("sha256=" + expected.decode(), len(data))


def test_example_script_runs():
    out = subprocess.run([sys.executable, str(REPO / "examples" / "isenthalpic_expansion.py")],
                         capture_output=True, text=True, timeout=120,
                         env={**os.environ, "PYTHONPATH": str(REPO / "python")})
    assert out.returncode == 0, out.stderr
    rows = [line.split() for line in out.stdout.splitlines() if re.match(r"\s+[\d.]+\s", line)]
    assert len(rows) == 13
    temperatures = [float(r[1]) for r in rows]
    # A natural gas cools on throttling (Joule-Thomson coefficient > 0 here).
    assert temperatures == sorted(temperatures, reverse=True)
    assert 200 < temperatures[-1] < 280
