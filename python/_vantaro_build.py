"""A minimal build backend (the build_wheel, build_sdist and build_editable
hooks pip calls) that needs only the standard library: the package is pure
Python, so a wheel is its files in a zip with three metadata files.

The wheel also carries a copy of the engine library when one is at hand: the
file VANTARO_LIBRARY names, else the build tree of this repository
(build/bin). Such a wheel is tagged for this platform.
"""
import base64
import hashlib
import io
import os
import re
import sys
import sysconfig
import tarfile
import zipfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
PACKAGE = HERE / "vantaro"


def _project_field(key):
    text = (HERE / "pyproject.toml").read_text()
    project = text.split("[project]", 1)[1].split("\n[", 1)[0]
    return re.search(rf'^{key}\s*=\s*"([^"]*)"', project, re.M).group(1)


def _version():
    text = (PACKAGE / "__init__.py").read_text()
    return re.search(r'^__version__\s*=\s*"([^"]+)"', text, re.M).group(1)


def _library_name():
    if sys.platform.startswith("win"):
        return "vantaro.dll"
    return "libvantaro.dylib" if sys.platform == "darwin" else "libvantaro.so"


def _engine_library():
    env = os.environ.get("VANTARO_LIBRARY")
    path = Path(env) if env else HERE.parent / "build" / "bin" / _library_name()
    return path if path.is_file() else None


def _metadata():
    name, version = _project_field("name"), _version()
    lines = [
        "Metadata-Version: 2.1",
        f"Name: {name}",
        f"Version: {version}",
        f"Summary: {_project_field('description')}",
        f"Requires-Python: {_project_field('requires-python')}",
        "Description-Content-Type: text/markdown",
        "",
        (HERE / _project_field("readme")).read_text(),
    ]
    return name, version, "\n".join(lines)


def _package_files():
    for path in sorted(PACKAGE.rglob("*")):
        if path.is_file() and "__pycache__" not in path.parts and path.suffix != ".pyc" \
                and path.name != _library_name():
            yield path.relative_to(HERE).as_posix(), path.read_bytes()


class _Wheel:
    def __init__(self, directory, name, version, tag, purelib):
        self.dist_info = f"{name}-{version}.dist-info"
        self.filename = f"{name}-{version}-{tag}.whl"
        self.zip = zipfile.ZipFile(Path(directory) / self.filename, "w", zipfile.ZIP_DEFLATED)
        self.records = []
        self.tag, self.purelib = tag, purelib

    def add(self, arcname, data):
        if isinstance(data, str):
            data = data.encode()
        self.zip.writestr(arcname, data)
        digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
        self.records.append(f"{arcname},sha256={digest},{len(data)}")

    def close(self, metadata):
        self.add(f"{self.dist_info}/METADATA", metadata)
        self.add(f"{self.dist_info}/WHEEL",
                 "Wheel-Version: 1.0\nGenerator: _vantaro_build\n"
                 f"Root-Is-Purelib: {'true' if self.purelib else 'false'}\nTag: {self.tag}\n")
        record = f"{self.dist_info}/RECORD"
        self.zip.writestr(record, "\n".join(self.records + [f"{record},,"]) + "\n")
        self.zip.close()
        return self.filename


def _platform_tag():
    return re.sub(r"[^A-Za-z0-9]", "_", sysconfig.get_platform())


def get_requires_for_build_wheel(config_settings=None):
    return []


def get_requires_for_build_sdist(config_settings=None):
    return []


def get_requires_for_build_editable(config_settings=None):
    return []


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    name, version, metadata = _metadata()
    library = _engine_library()
    tag = f"py3-none-{_platform_tag()}" if library else "py3-none-any"
    wheel = _Wheel(wheel_directory, name, version, tag, purelib=library is None)
    for arcname, data in _package_files():
        wheel.add(arcname, data)
    if library:
        wheel.add(f"vantaro/{_library_name()}", library.read_bytes())
    return wheel.close(metadata)


def build_editable(wheel_directory, config_settings=None, metadata_directory=None):
    # The package stays where it is: a .pth file puts this folder on sys.path,
    # and the library is found in the repository's build tree.
    name, version, metadata = _metadata()
    wheel = _Wheel(wheel_directory, name, version, "py3-none-any", purelib=True)
    wheel.add(f"_{name}_editable.pth", str(HERE) + "\n")
    return wheel.close(metadata)


def build_sdist(sdist_directory, config_settings=None):
    name, version, metadata = _metadata()
    base = f"{name}-{version}"
    filename = f"{base}.tar.gz"
    files = [("pyproject.toml", (HERE / "pyproject.toml").read_bytes()),
             ("_vantaro_build.py", (HERE / "_vantaro_build.py").read_bytes()),
             ("README.md", (HERE / "README.md").read_bytes()),
             ("PKG-INFO", metadata.encode())] + list(_package_files())
    with tarfile.open(Path(sdist_directory) / filename, "w:gz", format=tarfile.PAX_FORMAT) as tar:
        for arcname, data in files:
            info = tarfile.TarInfo(f"{base}/{arcname}")
            info.size = len(data)
            info.mode = 0o644
            tar.addfile(info, io.BytesIO(data))
    return filename
