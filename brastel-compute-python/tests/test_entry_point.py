"""The module loads as one stable-ABI build under every Python 3.10+."""

import shutil
import subprocess
import sys

import pytest

from brastel.compute import _compute


def test_module_definition():
    assert _compute.__doc__ == ""
    assert _compute.__name__.split(".")[-1] == "_compute"


def test_one_stable_abi_file():
    assert _compute.__file__.endswith("_compute.abi3.so")


@pytest.mark.skipif(shutil.which("nm") is None, reason="needs nm")
def test_exports_only_the_init_function():
    out = subprocess.run(["nm", "-D", "--defined-only", _compute.__file__],
                         capture_output=True, text=True, check=True).stdout
    exported = sorted(line.split()[-1] for line in out.splitlines() if line.split()[1] in "TtDdBbRrWwVv")
    assert exported == ["PyInit__compute"]


def test_links_no_libpython():
    if shutil.which("ldd") is None:
        pytest.skip("needs ldd")
    out = subprocess.run(["ldd", _compute.__file__], capture_output=True, text=True).stdout
    assert "libpython" not in out


def test_running_interpreter_is_3_10_or_later():
    assert sys.version_info >= (3, 10)
