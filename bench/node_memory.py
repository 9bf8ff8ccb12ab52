"""Memory a node costs, as the process's resident size grows.

Builds about a million nodes in a fresh process for each shape and prints
the growth of its resident set per node, beside the goal:

- a balanced tree: a + b over distinct leaves (max([]) each), built depth
  first, so that only the tree's nodes stay alive;
- a chain: x = x * c, over and over, c one shared series.

    python3 bench/node_memory.py [--nodes N]
"""

import argparse
import os
import subprocess
import sys

# (shape, goal in bytes per node)
SHAPES = [
    ("balanced tree: a + b over max([]) leaves", "tree", 98),
    ("chain: x = x * c", "chain", 64),
]


def rss_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def build(shape, nodes):
    """Builds about `nodes` nodes of the shape; returns the tree and its count."""
    from brastel.compute import _compute as c

    if shape == "chain":
        x = shared = c.max([])
        for _ in range(nodes):
            x = x * shared
        return x, nodes

    def tree(leaves):
        if leaves == 1:
            return c.max([])
        half = leaves // 2
        return tree(half) + tree(leaves - half)

    leaves = (nodes + 1) // 2
    return tree(leaves), 2 * leaves - 1


def measure(shape, nodes):
    """In this process: bytes of resident set per node the shape holds."""
    build(shape, 1000)  # the module's first-call memory, and warm caches
    before = rss_bytes()
    kept, count = build(shape, nodes)
    grown = rss_bytes() - before
    print(grown / count)
    del kept


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--nodes", type=int, default=1 << 20)
    parser.add_argument("--child", help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.child:
        measure(args.child, args.nodes)
        return

    print(f"-- bytes per node, resident set growth over about {args.nodes:,} nodes, each shape in a fresh process")
    for title, shape, goal in SHAPES:
        out = subprocess.run([sys.executable, __file__, "--child", shape, "--nodes", str(args.nodes)],
                             check=True, capture_output=True, text=True).stdout
        per_node = float(out)
        mark = "!" if per_node > goal else ""
        print(f"{title:52s} {per_node:7.1f} B  (goal <= {goal}){mark}")


if __name__ == "__main__":
    main()
