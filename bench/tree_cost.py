"""What a call and a to_json cost as a tree grows.

A call builds one node over shared children, so its cost must not depend on
the size of the operands; to_json is one pass over the tree, so its cost per
byte should stay flat.

    python3 bench/tree_cost.py [--number N]
"""

import argparse
import timeit

from brastel.compute import _compute as c


def chain(depth):
    node = c.max([])
    for _ in range(depth):
        node = node + 1.0
    return node


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--number", type=int, default=100_000)
    args = parser.parse_args()

    print(f"{'nodes':>8s} {'s + 1.0':>10s} {'abs(s)':>10s} {'to_json':>12s} {'bytes':>9s} {'ns/byte':>8s}")
    for depth in (10, 1_000, 100_000):
        s = chain(depth)
        env = {"s": s, "abs": c.abs}
        add = min(timeit.repeat("s + 1.0", globals=env, number=args.number, repeat=5)) / args.number
        unary = min(timeit.repeat("abs(s)", globals=env, number=args.number, repeat=5)) / args.number
        writes = max(1, args.number // depth)
        write = min(timeit.repeat("s.to_json()", globals=env, number=writes, repeat=3)) / writes
        size = len(s.to_json())
        print(f"{depth:8d} {add * 1e9:8.1f}ns {unary * 1e9:8.1f}ns {write * 1e6:10.1f}us {size:9d} {write * 1e9 / size:8.2f}")


if __name__ == "__main__":
    main()
