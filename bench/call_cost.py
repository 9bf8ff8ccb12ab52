"""Cost of one call into the module beside a plain C function of the interpreter.

Times FloatConstant.Literal(1.5) and IntegerConstant.Reference("x") next to
math.copysign(1.5, 1.0) in one run (interleaved rounds, best of each) and
prints each call's cost and its ratio to copysign.

    python3 bench/call_cost.py [--rounds N] [--number N]
"""

import argparse
import math
import timeit

from brastel.compute import _compute as c


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--number", type=int, default=200_000)
    args = parser.parse_args()

    cases = {
        "math.copysign(1.5, 1.0)": ("copysign(1.5, 1.0)", {"copysign": math.copysign}),
        "FloatConstant.Literal(1.5)": ("FloatConstant.Literal(1.5)", {"FloatConstant": c.FloatConstant}),
        'IntegerConstant.Reference("x")': ('IntegerConstant.Reference("x")', {"IntegerConstant": c.IntegerConstant}),
    }
    timers = {name: timeit.Timer(stmt, globals=env) for name, (stmt, env) in cases.items()}
    best = {name: math.inf for name in cases}
    for _ in range(args.rounds):
        for name, timer in timers.items():
            best[name] = min(best[name], timer.timeit(args.number) / args.number)

    base = best["math.copysign(1.5, 1.0)"]
    for name, seconds in best.items():
        print(f"{name:32s} {seconds * 1e9:7.1f} ns  {seconds / base:5.2f}x")


if __name__ == "__main__":
    main()
