"""Code that Python runs inside a call frees what the call still reads, or
ends the calling thread at interpreter exit; an interpreter older than the
module's stable ABI loads it. Each runs in child processes: the fault it
guards against is a crash."""

import glob
import os
import shutil
import subprocess
import sys

import pytest

from brastel.compute import _compute as c


def run_children(code, *args, runs=1, timeout=120):
    """Runs `code` in `runs` fresh interpreters at once; their results."""
    children = [subprocess.Popen([sys.executable, "-c", code, *args], stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, text=True) for _ in range(runs)]
    results = []
    for child in children:
        out, err = child.communicate(timeout=timeout)
        results.append((child.returncode, out, err))
    return results


# ---- a conversion hook that empties the keyword dict of a constructor call

EMPTIED_KWARGS = r"""
import gc, sys
import brastel.compute as bc

class Hook:
    def __float__(self):
        for r in gc.get_referrers(self):
            if isinstance(r, dict) and "end" in r:
                r.clear()
        return 1.0

# The later values are made at run time, so that the dict holds their only
# reference.
kwargs = {"output": "o" * int(sys.argv[1]), "start": Hook(), "end": float("2.5") * 1.0}
print(bc.RangeMap(**kwargs).to_json())
"""


def test_a_constructor_owns_its_keyword_values():
    [(code, out, err)] = run_children(EMPTIED_KWARGS, "1")
    assert code == 0, err
    assert out == ('{"start":{"type":"literal","literal":1.0},"end":{"type":"literal","literal":2.5},'
                   '"output":{"type":"literal","literal":"o"}}\n')


# ---- daemon threads inside a call when the interpreter exits

AT_EXIT = r"""
import sys, threading, time
import brastel.compute as bc

class SlowFloat:
    def __float__(self):
        time.sleep(0.0005)
        return 1.0

class SlowText:
    def __init__(self, text):
        self.text = text

    def __str__(self):
        time.sleep(0.0005)
        return self.text

s = bc.max([])
cs = bc.CategoricalSeries.Reference("c")
call = eval("lambda: " + sys.argv[1])

def spin():
    while True:
        call()

for _ in range(4):
    threading.Thread(target=spin, daemon=True).start()
time.sleep(0.2)
"""

# Each call lets the GIL go inside an argument's conversion; most hold
# values already extracted meanwhile.
CALLS_THAT_LET_THE_GIL_GO = [
    pytest.param("bc.abs(SlowFloat())", id="number"),
    pytest.param("s.derivative(SlowText('seconds'))", id="enum-text"),
    pytest.param("bc.max([1.0, SlowFloat()])", id="list-item"),
    pytest.param("s + SlowFloat()", id="operand"),
    pytest.param("cs.to_numeric({'a': 1.0, 'b': SlowFloat()})", id="dict-value"),
    pytest.param("bc.RangeMap(output='o', start=SlowFloat())", id="constructor-keyword"),
    pytest.param("s.threshold_ranges(2, bc.Duration.Seconds(1), SlowText('condition_start'))", id="last-argument"),
]


@pytest.mark.parametrize("call", CALLS_THAT_LET_THE_GIL_GO)
def test_daemon_threads_inside_a_call_at_exit(call):
    for code, out, err in run_children(AT_EXIT, call, runs=4):
        assert (code, err) == (0, "")


# ---- an interpreter older than the stable ABI the module was built for

def older_python():
    """The newest Python 3 older than 3.10 on this machine (python3.X on the
    PATH, or pyenv's), or None."""
    candidates = [shutil.which(f"python3.{minor}") for minor in range(6, 10)]
    pyenv = os.environ.get("PYENV_ROOT", os.path.expanduser("~/.pyenv"))
    candidates += glob.glob(os.path.join(pyenv, "versions", "3.[6-9].*", "bin", "python3"))
    versions = {}
    for python in filter(None, candidates):
        try:
            out = subprocess.run([python, "-c", "import sys; print(*sys.version_info[:2])"], capture_output=True,
                                 text=True, timeout=60).stdout.split()
        except (OSError, subprocess.SubprocessError):
            continue
        if len(out) == 2 and (3, 6) <= tuple(map(int, out)) < (3, 10):
            versions[python] = tuple(map(int, out))
    return max(versions, key=versions.get, default=None)


OLD_IMPORT = r"""
try:
    import brastel.compute
except ImportError as error:
    print("ImportError:", error)
else:
    print("imported")
"""


def test_an_older_interpreter_is_refused(tmp_path):
    python = older_python()
    if python is None:
        pytest.skip("no Python older than 3.10 on this machine")
    package = os.path.dirname(c.__file__)
    shutil.copytree(package, tmp_path / "brastel" / "compute",
                    ignore=shutil.ignore_patterns("__pycache__"))
    env = dict(os.environ, PYTHONPATH=str(tmp_path))
    result = subprocess.run([python, "-c", OLD_IMPORT], capture_output=True, text=True, env=env, timeout=120)
    assert (result.returncode, result.stdout) == (0, "ImportError: _compute requires Python 3.10 or later\n"), \
        result.stderr
