"""The tests import the package from this source tree and load the library
that VANTARO_LIBRARY names, else the repository's build tree (build/bin)."""
import sys
from pathlib import Path

import pytest

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "python"))

import vantaro  # noqa: E402

NATURAL_GAS = {"methane": 0.85, "ethane": 0.06, "propane": 0.03, "n-butane": 0.01,
               "nitrogen": 0.02, "carbon dioxide": 0.03}


@pytest.fixture
def raw():
    """The loaded library, for calling the exports directly."""
    return vantaro.library()


@pytest.fixture
def gas_ws():
    with vantaro.Workspace(list(NATURAL_GAS)) as ws:
        yield ws


@pytest.fixture
def gas(gas_ws):
    return vantaro.Stream(gas_ws, NATURAL_GAS)
