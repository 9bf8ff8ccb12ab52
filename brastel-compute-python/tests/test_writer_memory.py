"""What to_json leaves behind once it returns: a thread keeps a buffer of
about 1 MiB for its next call and gives back anything larger."""

import subprocess
import sys

import pytest

from conftest import UNDER_ASAN

# Run in a fresh process. The document is over 32 MiB, glibc's highest mmap
# threshold, so the returned str is unmapped when freed: what stays resident
# is the writer's. Each thread writes once before the measure starts, so that
# its own state (stack, interpreter state) is already counted.
CHILD = r"""
import os, sys, threading
from brastel.compute import _compute as c

threads, writes = int(sys.argv[1]), int(sys.argv[2])
names = [f"{i:04d}" + "x" * 40_000 for i in range(1_000)]
big = c.max([c.FloatConstant.Reference(n) for n in names])
small = c.FloatConstant.Reference("x")

def resident():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")

started, go, wrote = (threading.Barrier(threads + 1) for _ in range(3))
done = threading.Event()
sizes = []

def work():
    small.to_json()
    started.wait()
    go.wait()
    for _ in range(writes):
        sizes.append(len(big.to_json()))
    wrote.wait()
    done.wait()

workers = [threading.Thread(target=work) for _ in range(threads)]
for w in workers:
    w.start()
started.wait()
before = resident()
go.wait()
wrote.wait()
print(min(sizes), (resident() - before) // threads)
done.set()
for w in workers:
    w.join()
"""


@pytest.mark.skipif(UNDER_ASAN, reason="AddressSanitizer's quarantine keeps freed memory resident")
@pytest.mark.parametrize("threads, writes", [(4, 1), (1, 3)])
def test_a_thread_keeps_no_large_buffer(threads, writes):
    result = subprocess.run([sys.executable, "-c", CHILD, str(threads), str(writes)], capture_output=True,
                            text=True, timeout=120)
    assert result.returncode == 0, result.stderr
    size, grown_per_thread = map(int, result.stdout.split())
    assert size > 32 << 20
    # About 1 MiB is kept; a writer that kept the document's buffer would
    # hold more than 32.
    assert grown_per_thread < 4 << 20
