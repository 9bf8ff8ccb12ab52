"""The fuzzer (fuzz_module.py) over the whole module, in child processes so
that a crash fails the test instead of ending the run. Seeded: a failure
comes back with the same seed."""

import json
import os
import subprocess
import sys

import pytest

RUNNER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fuzz_module.py")
# Calls per run; CI makes four runs under each Python.
CALLS = int(os.environ.get("BRASTEL_FUZZ_CALLS", "25000"))


def tail(text, lines):
    return "\n".join(text.splitlines()[-lines:])


@pytest.mark.parametrize("seed", [1, 2, 3, 4])
def test_no_call_crashes_or_misbehaves(seed, tmp_path):
    log = tmp_path / "calls.log"
    command = [sys.executable, RUNNER, "--seed", str(seed), "--calls", str(CALLS), "--log", str(log)]
    result = subprocess.run(command, capture_output=True, text=True, errors="replace", timeout=900)
    lines = result.stdout.splitlines()
    if result.returncode not in (0, 1) or not lines:
        calls = log.read_text(errors="replace") if log.exists() else ""
        pytest.fail(f"the fuzzer died (status {result.returncode}) with seed {seed}; last calls:\n"
                    f"{tail(calls, 5)}\nstandard error:\n{tail(result.stderr, 60)}")
    summary = json.loads(lines[-1])
    assert not summary["failures"], json.dumps(summary["failures"], indent=1)
    assert summary["calls"] >= CALLS
