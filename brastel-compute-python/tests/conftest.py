"""Shared fixtures: the module, and the binding probe (a test-only module
built beside the wheel by scripts/test.sh, found through BRASTEL_PROBE_DIR)."""

import importlib
import os
import sys

import pytest

PROBE_DIR = os.environ.get("BRASTEL_PROBE_DIR")
if PROBE_DIR:
    sys.path.insert(0, PROBE_DIR)

# add_note exists from Python 3.11 on; on 3.10 the argument notes are absent.
HAS_NOTES = sys.version_info >= (3, 11)


@pytest.fixture(scope="session")
def compute():
    from brastel.compute import _compute

    return _compute


@pytest.fixture(scope="session")
def probe():
    if not PROBE_DIR:
        pytest.skip("the binding probe is built by scripts/test.sh (BRASTEL_PROBE_DIR)")
    return importlib.import_module("_binding_probe")


def notes_of(error):
    return list(getattr(error, "__notes__", []))


def expected_notes(parameter):
    """The notes an argument error carries on this interpreter."""
    return [f"while processing '{parameter}'"] if HAS_NOTES else []
