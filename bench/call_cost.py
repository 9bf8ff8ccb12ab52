"""Cost of one call into the module beside a plain C function of the interpreter.

Times static factories, a function given a FloatConstant where a number is
also accepted (an input union), operators between two series, an instance
method with one argument, a factory over a list and a builder's completion
next to math.copysign(1.5, 1.0) in one run (interleaved rounds, best of
each) and prints each call's cost and its ratio to copysign.

    python3 bench/call_cost.py [--rounds N] [--number N] [--quick]

--quick (for CI) takes fewer, shorter rounds: well under a second.
"""

import argparse
import math
import timeit

from brastel.compute import _compute as c


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--number", type=int, default=200_000)
    parser.add_argument("--quick", action="store_true", help="5 rounds of 50,000 calls")
    args = parser.parse_args()
    if args.quick:
        args.rounds, args.number = 5, 50_000

    series = {"s": c.max([]), "d": c.Duration.Seconds(1), "a": c.max([]), "b": c.min([]),
              "NumericSeries": c.NumericSeries, "abs": c.abs, "x": c.FloatConstant.Reference("x")}

    # Each call looks its callable up once, as user code does: the module
    # attribute math.copysign beside the class attribute FloatConstant.Literal.
    cases = {
        "math.copysign(1.5, 1.0)": ("math.copysign(1.5, 1.0)", {"math": math}),
        "FloatConstant.Literal(1.5)": ("FloatConstant.Literal(1.5)", {"FloatConstant": c.FloatConstant}),
        'IntegerConstant.Reference("x")': ('IntegerConstant.Reference("x")', {"IntegerConstant": c.IntegerConstant}),
        "abs(x), x a FloatConstant": ("abs(x)", series),
        "abs(s)": ("abs(s)", series),
        "s * s": ("s * s", series),
        "-s": ("-s", series),
        "s.time_shift(d)": ("s.time_shift(d)", series),
        "NumericSeries.Max([a, b])": ("NumericSeries.Max([a, b])", series),
        # Two calls: the builder, then its completion.
        "s.threshold_ranges().gt(0.0)": ("s.threshold_ranges().gt(0.0)", series),
        # The same calls with the lookups hoisted out, for the call alone.
        "copysign(1.5, 1.0)": ("copysign(1.5, 1.0)", {"copysign": math.copysign}),
        "Literal(1.5)": ("Literal(1.5)", {"Literal": c.FloatConstant.Literal}),
    }
    timers = {name: timeit.Timer(stmt, globals=env) for name, (stmt, env) in cases.items()}
    best = {name: math.inf for name in cases}
    for _ in range(args.rounds):
        for name, timer in timers.items():
            best[name] = min(best[name], timer.timeit(args.number) / args.number)

    for name, seconds in best.items():
        hoisted = name in ("copysign(1.5, 1.0)", "Literal(1.5)")
        base = best["copysign(1.5, 1.0)" if hoisted else "math.copysign(1.5, 1.0)"]
        print(f"{name:32s} {seconds * 1e9:7.1f} ns  {seconds / base:5.2f}x")


if __name__ == "__main__":
    main()
