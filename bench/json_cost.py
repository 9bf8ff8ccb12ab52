"""to_json beside orjson.dumps of the equivalent dict, and a small formula
built and written beside the same formula built as a dict and dumped.

The equivalent dict of a tree is json.loads of its own to_json text, so both
writers produce the same bytes. Each size is timed two ways:
  warm   both writers in one process, interleaved rounds, best of each;
  alone  each writer in a fresh process of its own, called in a loop with
         nothing else between the calls.

Last, what the writer keeps per thread once a call is over: the growth of
resident memory of a fresh process in which a few threads each wrote one
large document and are still alive, per thread.

    python3 bench/json_cost.py [--quick]

orjson is needed by this benchmark only (pip install orjson).
"""

import argparse
import json
import math
import os
import subprocess
import sys
import threading
import timeit

import orjson

from brastel.compute import _compute as c


def tree(nodes):
    """A balanced tree of about `nodes` JSON objects: constants, references
    and the arithmetic, unary and n-ary nodes of everyday formulas."""
    # About seven objects per leaf.
    return grown(max(1, round(nodes / 7)))


def grown(count):
    leaves = []
    for i in range(count):
        if i % 3 == 0:
            leaves.append(c.FloatConstant.Reference(f"x{i}"))
        else:
            leaves.append(i * 0.25 + 1.5)
    level = [c.abs(leaf) if i % 2 else c.sqrt(leaf) for i, leaf in enumerate(leaves)]
    ops = [lambda a, b: a + b, lambda a, b: a * b, lambda a, b: c.atan2(a, b), lambda a, b: c.max([a, b, 2.0])]
    while len(level) > 1:
        level = [ops[i % len(ops)](level[i], level[i + 1]) if i + 1 < len(level) else level[i]
                 for i in range(0, len(level), 2)]
    return level[0]


def count_objects(text):
    return text.count("{")


def formula():
    """A 50-node formula of a realistic kind, built through the module."""
    x = c.FloatConstant.Reference("x")
    y = c.FloatConstant.Reference("y")
    a = c.sqrt(c.abs(x) * 2.0)
    b = c.atan2(y, x) / 3.14159
    return c.max([a, b, 0.5]) - c.cos(b)


def formula_dict():
    """The same formula built as plain dicts, as a caller without the module
    would build it."""
    def const(v):
        return {"type": "constant", "constant": {"type": "double", "double": {"type": "literal", "literal": v}}}

    def ref(name):
        return {"type": "constant", "constant": {"type": "double", "double": {"type": "variable", "variable": name}}}

    def node(tag, **fields):
        return {"type": tag, tag: fields}

    x, y = ref("x"), ref("y")
    a = node("sqrt", x=node("multiply", left=node("abs", x=x), right=const(2.0)))
    b = node("divide", left=node("atan2", y=y, x=x), right=const(3.14159))
    return node("subtract", left=node("max", inputs=[a, b, const(0.5)]), right=node("cos", x=b))


def best(stmt, env, number, repeat):
    return min(timeit.repeat(stmt, globals=env, number=number, repeat=repeat)) / number


def alone(writer, nodes, number, repeat):
    """Seconds per call of one writer in a fresh process."""
    code = (
        "import sys, json, timeit; sys.path.insert(0, %r)\n"
        "import json_cost as b, orjson\n"
        "t = b.tree(%d)\n"
        "d = json.loads(t.to_json())\n"
        "f = t.to_json if %r == 'to_json' else (lambda: orjson.dumps(d))\n"
        "del b\n"
        "print(min(timeit.repeat(f, number=%d, repeat=%d)) / %d)\n"
    ) % (sys.path[0], nodes, writer, number, repeat, number)
    out = subprocess.run([sys.executable, "-c", code], check=True, capture_output=True, text=True).stdout
    return float(out)


# Above glibc's highest mmap threshold (32 MiB), so the result str is unmapped
# when freed whatever malloc did before: what stays is the writer's.
KEPT_NODES = 1_600_000
KEPT_THREADS = 8
KEPT_GOAL = 1 << 20


def rss_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def kept_per_thread(nodes, threads):
    """Run in a fresh process: (document bytes, resident bytes per thread
    grown by each of `threads` live threads writing the tree once)."""
    t = tree(nodes)
    # A deeper tree than t, written first, so that the stack the big write
    # reaches is already counted.
    deep = 1.0
    for i in range(64):
        deep = [lambda a: a + 1.0, lambda a: c.atan2(a, 2.0), lambda a: c.max([a, 3.0])][i % 3](deep)
    sizes = []
    started, go, wrote = (threading.Barrier(threads + 1) for _ in range(3))
    done = threading.Event()

    def work():
        deep.to_json()
        started.wait()
        go.wait()
        sizes.append(len(t.to_json()))
        wrote.wait()
        done.wait()

    workers = [threading.Thread(target=work) for _ in range(threads)]
    for w in workers:
        w.start()
    started.wait()
    before = rss_bytes()
    go.wait()
    wrote.wait()
    grown = rss_bytes() - before
    done.set()
    for w in workers:
        w.join()
    return sizes[0], grown / threads


def kept():
    code = ("import sys; sys.path.insert(0, %r)\n"
            "import json_cost as b\n"
            "print(*b.kept_per_thread(%d, %d))\n") % (sys.path[0], KEPT_NODES, KEPT_THREADS)
    out = subprocess.run([sys.executable, "-c", code], check=True, capture_output=True, text=True).stdout
    size, per_thread = out.split()
    return int(size), float(per_thread)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true", help="fewer rounds, for CI")
    args = parser.parse_args()
    scale = 10 if args.quick else 1

    print(f"{'nodes':>8s} {'bytes':>10s} {'to_json':>11s} {'orjson':>11s} {'warm':>6s} {'alone':>6s}")
    for nodes in (50, 5_000, 500_000):
        t = tree(nodes)
        text = t.to_json()
        d = json.loads(text)
        assert orjson.dumps(d).decode() == text
        number = max(1, 2_000_000 // nodes // scale)
        env = {"t": t, "d": d, "dumps": orjson.dumps}
        ours = theirs = math.inf
        for _ in range(5):
            ours = min(ours, best("t.to_json()", env, number, 1))
            theirs = min(theirs, best("dumps(d)", env, number, 1))
        ours_alone = alone("to_json", nodes, number, 5)
        theirs_alone = alone("orjson", nodes, number, 5)
        print(f"{count_objects(text):8d} {len(text):10d} {ours * 1e6:9.2f}us {theirs * 1e6:9.2f}us "
              f"{ours / theirs:5.2f}x {ours_alone / theirs_alone:5.2f}x")

    assert formula().to_json() == orjson.dumps(formula_dict()).decode()
    number = 20_000 // scale
    env = {"formula": formula, "formula_dict": formula_dict, "dumps": orjson.dumps}
    ours = theirs = math.inf
    for _ in range(5):
        ours = min(ours, best("formula().to_json()", env, number, 1))
        theirs = min(theirs, best("dumps(formula_dict())", env, number, 1))
    nodes = count_objects(formula().to_json())
    print(f"{nodes}-node formula built and written: {ours * 1e6:.2f}us, as dicts and orjson.dumps: "
          f"{theirs * 1e6:.2f}us, {ours / theirs:.2f}x")

    size, per_thread = kept()
    print(f"kept per thread after one call, {KEPT_THREADS} live threads each wrote {size / 2**20:.1f} MiB: "
          f"{per_thread / 2**20:.2f} MiB (goal <= {KEPT_GOAL / 2**20:.0f} MiB)")


if __name__ == "__main__":
    main()
