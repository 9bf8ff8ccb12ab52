"""Code that Python runs inside a call frees what the call still reads, or
ends the calling thread at interpreter exit, even while a failure unwinds
the call; the atexit callbacks run by the program, or forking, change
nothing; memory runs out; an interpreter older than the module's stable ABI
loads it. Each runs in child processes: the fault it guards against is a
crash or a leak."""

import gc
import glob
import os
import shutil
import struct
import subprocess
import sys
import weakref

import pytest

from brastel.compute import _compute as c
from conftest import UNDER_ASAN, lit


def run_children(code, *args, runs=1, timeout=120):
    """Runs `code` in `runs` fresh interpreters at once; their results."""
    children = [subprocess.Popen([sys.executable, "-c", code, *args], stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, text=True) for _ in range(runs)]
    results = []
    for child in children:
        out, err = child.communicate(timeout=timeout)
        results.append((child.returncode, out, err))
    return results


# A sequence whose items come from the iterator that make(*args) returns: a
# generator, whose cleanup shows when a call drops it. Defined once for this
# process and for the child scripts.
ROWS = r"""
class Rows:
    def __init__(self, make, *args):
        self.make, self.args = make, args

    def __len__(self):
        return 1

    def __getitem__(self, i):
        raise IndexError

    def __iter__(self):
        return self.make(*self.args)
"""
exec(ROWS)


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
import gc, sys, threading, time
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

class Fails:
    def __float__(self):
        raise MemoryError

class Rows:
    # A sequence whose iterator cleans up, letting the GIL go, when a failed
    # call drops it.
    def __len__(self):
        return 1

    def __getitem__(self, i):
        raise IndexError

    def __iter__(self):
        try:
            yield Fails()
        finally:
            time.sleep(0.001)

class SlowDel(SlowFloat):
    def __del__(self):
        time.sleep(0.001)

class ClearsThenFails:
    # Empties the keyword dict, so that the call holds the only reference to
    # the earlier values, and fails.
    def __float__(self):
        for r in gc.get_referrers(self):
            if isinstance(r, dict) and "end" in r:
                r.clear()
        raise MemoryError

s = bc.max([])
cs = bc.CategoricalSeries.Reference("c")
call = eval("lambda: " + sys.argv[1])

def spin():
    while True:
        try:
            call()
        except MemoryError:
            pass

for _ in range(4):
    threading.Thread(target=spin, daemon=True).start()
time.sleep(0.2)
"""

# Each call lets the GIL go inside an argument's conversion, most holding
# values already extracted meanwhile, or in the finaliser of what a failed
# call drops.
CALLS_THAT_LET_THE_GIL_GO = [
    pytest.param("bc.abs(SlowFloat())", id="number"),
    pytest.param("s.derivative(SlowText('seconds'))", id="enum-text"),
    pytest.param("bc.max([1.0, SlowFloat()])", id="list-item"),
    pytest.param("s + SlowFloat()", id="operand"),
    pytest.param("cs.to_numeric({'a': 1.0, 'b': SlowFloat()})", id="dict-value"),
    pytest.param("bc.RangeMap(output='o', start=SlowFloat())", id="constructor-keyword"),
    pytest.param("s.threshold_ranges(2, bc.Duration.Seconds(1), SlowText('condition_start'))", id="last-argument"),
    pytest.param("bc.max(Rows())", id="failed-list-iterator"),
    pytest.param('bc.RangeMap(**{"output": "o", "start": SlowDel(), "end": ClearsThenFails()})',
                 id="failed-constructor-arguments"),
]


@pytest.mark.parametrize("call", CALLS_THAT_LET_THE_GIL_GO)
def test_daemon_threads_inside_a_call_at_exit(call):
    for code, out, err in run_children(AT_EXIT, call, runs=4):
        assert (code, err) == (0, "")


# A finaliser run while the runtime finalizes makes a failing call: the
# thread that finalizes holds the GIL and is not being ended, so what the
# call drops is released (the generator's cleanup runs), as in plain Python.
AT_TEARDOWN = ROWS + r"""
import os
import brastel.compute as bc

def rows(write=os.write):
    try:
        yield 1.0
        yield "not a number"
    finally:
        write(1, b"closed\n")

class AtTeardown:
    def __del__(self, bc=bc, Rows=Rows, rows=rows):
        try:
            bc.max(Rows(rows))
        except TypeError:
            pass

keep = AtTeardown()
"""


def test_the_finalizing_thread_releases_what_its_calls_drop():
    [(code, out, err)] = run_children(AT_TEARDOWN)
    assert (code, out, err) == (0, "closed\n", "")


# ---- what a failed call drops

@pytest.mark.parametrize("error", [MemoryError, KeyboardInterrupt, ValueError])
def test_a_failed_call_releases_what_it_drops_before_it_returns(error):
    events = []

    class Fails:
        def __float__(self):
            raise error

    def rows(self):
        try:
            yield Fails()
        finally:
            events.append("closed")

    class Rows:
        def __len__(self):
            return 1

        def __getitem__(self, i):
            raise IndexError

        __iter__ = rows

    with pytest.raises(error if error is not ValueError else TypeError):
        c.max(Rows())
    assert events == ["closed"]


def test_releases_of_nested_failed_calls_are_all_done():
    # Each generator's cleanup makes another failing call, 100 deep: every
    # one is closed, each before the call that dropped it returns.
    closed, generators = [], []

    class Fails:
        def __float__(self):
            del self  # the call drops the last reference
            raise MemoryError

    def rows(level):
        try:
            yield Fails()
        finally:
            closed.append(level)
            if level < 100:
                with pytest.raises(MemoryError):
                    c.max(Rows(tracked, level + 1))

    def tracked(level):
        generator = rows(level)
        generators.append(weakref.ref(generator))
        return generator

    with pytest.raises(MemoryError):
        c.max(Rows(tracked, 1))
    gc.collect()
    assert closed == list(range(1, 101))
    assert [g for g in generators if g() is not None] == []


# Each thread's failing call drops an item and its generator, whose cleanups
# let the GIL go while other threads' calls fail: "chained" threads each
# fail while the previous one's generator is closing; the others at once.
THREADS_FAILING = ROWS + r"""
import sys, threading, time
import brastel.compute as bc

log = []

def note(what):
    log.append((threading.current_thread().name, what))

class Item:
    def __init__(self, owner):
        self.owner = owner

    def __float__(self):
        del self  # the call drops the last reference
        raise MemoryError

    def __del__(self):
        note("released " + self.owner)
        time.sleep(0.005)

def rows(closing):
    try:
        yield Item(threading.current_thread().name)
    finally:
        closing.set()
        time.sleep(0.01)
        note("closed")

count, chained = int(sys.argv[1]), sys.argv[2] == "chained"
closing = [threading.Event() for _ in range(count)]
start = threading.Barrier(count)

def call(i):
    if chained and i > 0:
        closing[i - 1].wait()
    elif not chained:
        start.wait()
    try:
        bc.max(Rows(rows, closing[i]))
    except MemoryError:
        note("returned")

threads = [threading.Thread(target=call, args=(i,), name=str(i)) for i in range(count)]
for thread in threads:
    thread.start()
for thread in threads:
    thread.join()
print(sum([what for name, what in log if name == t.name] == ["closed", "released " + t.name, "returned"]
          for t in threads), len(log))
"""


@pytest.mark.parametrize("count, how, out", [
    (2, "chained", "2 6\n"),
    (48, "at-once", "48 144\n"),
])
def test_failed_calls_release_on_their_own_thread_before_returning(count, how, out):
    [(code, stdout, err)] = run_children(THREADS_FAILING, str(count), how)
    assert (code, stdout, err) == (0, out, "")


# The hook's call, into the probe itself or into the module (which shares
# the probe's C++ runtime only in the sanitizer build), and what it returns.
CALLS_WHILE_UNWINDING = {
    "same-module": (lambda probe, rows: probe.numeric_list(rows), "[" + lit("1.0") + "]"),
    "module": (lambda probe, rows: c.max(rows).to_json(), '{"type":"max","max":{"inputs":[%s]}}' % lit("1.0")),
}


@pytest.mark.parametrize("call, result", CALLS_WHILE_UNWINDING.values(), ids=CALLS_WHILE_UNWINDING.keys())
def test_a_call_made_while_an_exception_unwinds_releases_what_it_drops(probe, call, result):
    # Another extension's cleanup calls in while its C++ exception unwinds:
    # the call succeeds, and what it dropped is released before it returns.
    events = []

    class Item:
        def __float__(self):
            return 1.0

        def __del__(self):
            events.append("released")

    def hook():
        events.append(call(probe, Rows(lambda: (Item() for _ in range(1)))))

    module = sys.modules[__name__]
    module.unwinding_hook = hook
    try:
        assert probe.call_while_unwinding(__name__, "unwinding_hook") == "called"
    finally:
        del module.unwinding_hook
    assert events == ["released", result]


# ---- after the atexit callbacks have run, while the process lives on

# x is made at run time: its count is its own.
DRIFT = r"""
import atexit, os, sys
import brastel.compute as bc

def drift():
    x = float("1.5e10") * 1.0
    n = sys.getrefcount(x)
    for _ in range(1000):
        bc.max([x])
        try:
            bc.max([x, "no"])
        except TypeError:
            pass
    return sys.getrefcount(x) - n
"""

AFTER_EXIT_CALLBACKS = {
    "run-by-the-program": DRIFT + "atexit._run_exitfuncs()\nprint(drift())\n",
    # The child of a process whose callbacks have run.
    "forked-after-them": DRIFT + "atexit._run_exitfuncs()\n"
                                 "pid = os.fork()\n"
                                 "if pid == 0:\n"
                                 "    print(drift(), flush=True)\n"
                                 "    os._exit(0)\n"
                                 "os.waitpid(pid, 0)\n",
}


@pytest.mark.parametrize("code", AFTER_EXIT_CALLBACKS.values(), ids=AFTER_EXIT_CALLBACKS.keys())
def test_calls_after_the_exit_callbacks_release_what_they_hold(code):
    [(status, out, err)] = run_children(code)
    assert (status, out, err) == (0, "0\n", "")


# A slow callback registered before the import (so that it would run after
# any the module registers), while daemon threads go on calling.
SLOW_EXIT_CALLBACK = r"""
import atexit, os, threading, time

def rss():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")

def slow():
    before = rss()
    time.sleep(1.0)
    print(rss() - before)

atexit.register(slow)
""" + DRIFT + r"""
def spin():
    while True:
        drift()

for _ in range(4):
    threading.Thread(target=spin, daemon=True).start()
time.sleep(0.1)
"""


def test_busy_threads_during_a_slow_exit_callback_leak_nothing():
    if UNDER_ASAN:
        pytest.skip("AddressSanitizer's quarantine keeps freed memory resident")
    [(code, out, err)] = run_children(SLOW_EXIT_CALLBACK)
    assert (code, err) == (0, "")
    assert int(out) < 16 * 2**20  # leaking, the threads grew it by over 100 MiB


# ---- memory running out

# Fills memory with a chain of nodes, under a limit of sys.argv[1] MiB over
# what the process has mapped.
FILL_MEMORY = r"""
import resource, sys

def limit_address_space():
    vm = int(open("/proc/self/statm").read().split()[0]) * resource.getpagesize()
    resource.setrlimit(resource.RLIMIT_AS, (vm + int(sys.argv[1]) * 2**20, resource.RLIM_INFINITY))

def fill_memory():
    import brastel.compute as bc
    limit_address_space()
    c = bc.NumericSeries.Reference("x")
    try:
        while True:
            c = c + 1.0
    except MemoryError:
        del c
        print("MemoryError")
"""

OUT_OF_MEMORY = FILL_MEMORY + r"""
import threading
import brastel.compute as bc

if sys.argv[2] == "thread":
    thread = threading.Thread(target=fill_memory)
    thread.start()
    thread.join()
else:
    fill_memory()

if len(sys.argv) > 3:
    # Under the same limit, once the chain that filled memory is released.
    x = bc.NumericSeries.Reference("x")
    for _ in range(int(sys.argv[3])):
        x = x + 1.0
    text = x.to_json()
    print(len(text), text[:28], text[-28:])
"""


@pytest.mark.parametrize("megabytes", [16, 200])
@pytest.mark.parametrize("where", ["main", "thread"])
def test_memory_running_out_raises_memory_error(where, megabytes):
    if UNDER_ASAN:
        pytest.skip("AddressSanitizer reserves address space of its own")
    [(code, out, err)] = run_children(OUT_OF_MEMORY, str(megabytes), where)
    assert (code, out, err) == (0, "MemoryError\n", "")


# The released heap cannot shrink below blocks still held at its top, so a
# writer's buffer (over 64 KiB here, and growing) must come from it.
@pytest.mark.parametrize("megabytes", [16, 100])
def test_json_is_written_once_what_filled_memory_is_released(megabytes):
    if UNDER_ASAN:
        pytest.skip("AddressSanitizer reserves address space of its own")
    [(code, out, err)] = run_children(OUT_OF_MEMORY, str(megabytes), "main", "1000")
    assert (code, err) == (0, "")
    assert out == ('MemoryError\n'
                   '129033 {"type":"add","add":{"left": "literal","literal":1.0}}}}}\n')


# A chain of sys.argv[3] negations written in the main thread, whose stack
# the kernel grows only while the address space has room: the limit is set
# and memory filled before the chain is built, or the limit set after.
DEEP_WRITE = FILL_MEMORY + r"""
import brastel.compute as bc

if sys.argv[2] == "filled":
    fill_memory()
y = bc.NumericSeries.Reference("y")
for _ in range(int(sys.argv[3])):
    y = -y
if sys.argv[2] == "built":
    limit_address_space()
try:
    text = y.to_json()
except (MemoryError, RecursionError) as e:
    text = type(e).__name__
print(text)
"""


def negations(levels):
    return '{"type":"negate","negate":{"x":' * levels + '{"type":"raw","raw":{"name":"y"}}' + "}}" * levels


@pytest.mark.parametrize("when, megabytes, levels, outcomes", [
    # within the stack already grown
    ("filled", 200, 1_000, {"json"}),
    ("filled", 200, 2_500, {"json", "MemoryError"}),
    ("filled", 200, 20_000, {"json", "MemoryError"}),
    ("built", 1, 100_000, {"MemoryError"}),
    ("built", 2, 20_000, {"json", "MemoryError"}),
    # room to grow the stack, up to its own limit
    ("built", 200, 100_000, {"json"}),
    ("built", 200, 200_000, {"RecursionError"}),
])
def test_a_deep_write_in_the_main_thread_under_an_address_space_limit(when, megabytes, levels, outcomes):
    if UNDER_ASAN:
        pytest.skip("AddressSanitizer reserves address space of its own")
    [(code, out, err)] = run_children(DEEP_WRITE, str(megabytes), when, str(levels))
    assert (code, err) == (0, "")
    text = out.splitlines()[-1]
    assert ("json" if text == negations(levels) else text) in outcomes


def tls_segment_size(path):
    """The memory size of an ELF file's PT_TLS segment (0 without one)."""
    with open(path, "rb") as f:
        elf = f.read()
    assert elf[:4] == b"\x7fELF" and elf[4] == 2, "a 64-bit ELF file"
    order = "<" if elf[5] == 1 else ">"
    phoff, = struct.unpack_from(order + "Q", elf, 0x20)
    phentsize, phnum = struct.unpack_from(order + "HH", elf, 0x36)
    for i in range(phnum):
        kind, = struct.unpack_from(order + "I", elf, phoff + i * phentsize)
        if kind == 7:  # PT_TLS
            return struct.unpack_from(order + "Q", elf, phoff + i * phentsize + 0x28)[0]
    return 0


def test_thread_local_storage_stays_small():
    # Static TLS comes from a small reserve that every library loaded after
    # start-up shares.
    assert 0 < tls_segment_size(c.__file__) <= 128


# ---- a thread older than libraries with thread-local data

# Loaded before the module, they outgrow the spare entries of the table of
# TLS modules of a thread that started before them: it grows at the
# thread's first access to the module's TLS through __tls_get_addr.
LATE_LIBRARIES = FILL_MEMORY + r"""
import ctypes, threading

def run():
    go.wait()
    fill_memory()

go = threading.Event()
thread = threading.Thread(target=run)
thread.start()
libraries = [ctypes.CDLL(path) for path in sys.argv[2:]]
import brastel.compute
go.set()
thread.join()
"""


@pytest.fixture(scope="session")
def tls_libraries(tmp_path_factory):
    """16 shared libraries, each with thread-local data."""
    compiler = next(filter(None, map(shutil.which, ["cc", "gcc", "g++"])), None)
    if compiler is None:
        pytest.skip("no C compiler on this machine")
    directory = tmp_path_factory.mktemp("tls")
    for i in range(16):
        (directory / f"tls{i}.c").write_text(f"__thread int v[4];\nint *tls{i}(void) {{ return v; }}\n")
        subprocess.run([compiler, "-shared", "-fPIC", "-o", directory / f"libtls{i}.so", directory / f"tls{i}.c"],
                       check=True, timeout=120)
    return [str(directory / f"libtls{i}.so") for i in range(16)]


def test_memory_running_out_in_a_thread_older_than_loaded_libraries(tls_libraries):
    if UNDER_ASAN:
        pytest.skip("AddressSanitizer reserves address space of its own")
    [(code, out, err)] = run_children(LATE_LIBRARIES, "16", *tls_libraries)
    assert (code, out, err) == (0, "MemoryError\n", "")


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
