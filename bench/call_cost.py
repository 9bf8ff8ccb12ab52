"""Cost of one call into the module beside a plain C function of the interpreter.

Times static factories, a function given a FloatConstant where a number is
also accepted (an input union), operators between two series, instance
methods, factories over lists, every method of the range builders, the
methods that take an enum (by text, or chosen by the method's name) and the
methods that take lists or dicts of texts, next to math.copysign(1.5, 1.0) in
one run (interleaved rounds, best of each), and prints each call's cost and
its ratio to copysign. A ratio above a goal is marked with "!".

    python3 bench/call_cost.py [--rounds N] [--number N] [--quick]

--quick (for CI) takes fewer, shorter rounds: a few seconds.
"""

import argparse
import math
import timeit

from brastel.compute import _compute as c

# The calls and their environment. Receivers are made once; each statement
# looks its callable up as user code does.
s = c.max([])
d = c.Duration.Seconds(1)
r = s.threshold_ranges().gt(0.0)
cs = c.CategoricalSeries.Reference("c")
st = c.StructSeries.Combine({"a": s})
ENV = {
    "math": math, "c": c, "s": s, "d": d, "r": r, "cs": cs, "st": st,
    "a": c.max([]), "b": c.min([]), "x": c.FloatConstant.Reference("x"),
    "abs": c.abs, "NumericSeries": c.NumericSeries, "RangeSeries": c.RangeSeries,
    "FloatConstant": c.FloatConstant, "IntegerConstant": c.IntegerConstant,
    "copysign": math.copysign, "Literal": c.FloatConstant.Literal,
    "tb": s.threshold_ranges(), "gw": s.group_within_ranges(r), "df": r.duration_filter(),
    "cr": cs.category_ranges(), "ne": c.RangeSeries.NumericEquality([s, s]),
    "ce": c.RangeSeries.CategoricalEquality([cs, cs]), "clamp": c.UnboundedRangeBehavior.ClampToWindow(),
}

BASE = "math.copysign(1.5, 1.0)"
HOISTED_BASE = "copysign(1.5, 1.0)"

# (group, goal as a ratio to copysign or None, statements)
GROUPS = [
    ("calls", None, [
        BASE, "FloatConstant.Literal(1.5)", 'IntegerConstant.Reference("x")', "abs(x)", "abs(s)", "s * s", "-s",
        "s.time_shift(d)", "s.drop_nan()", "r.invert()", "NumericSeries.Max([a, b])",
        "s.threshold_ranges().gt(0.0)", HOISTED_BASE, "Literal(1.5)",
    ]),
    ("range builders", 4.0, [
        "tb.gt(0.0)", "tb.ge(0.0)", "tb.lt(0.0)", "tb.le(0.0)", "tb.eq(0.0, 0.1)", "tb.ne(0.0)",
        "gw.sum()", "gw.mean()", "gw.min()", "gw.max()", "gw.count()", "gw.std()", "gw.root_mean_square()",
        "gw.percentile(0.5)",
        "df.gt(d)", "df.ge(d)", "df.lt(d)", "df.le(d)", "df.eq(d)", "df.ne(d)",
        "cr.eq('a')", "cr.ne('a')", "cr.is_in(['a', 'b'])", "cr.is_not_in(['a', 'b'])", "cr.matches_regex(['a.*'])",
        "ne.all_equal()", "ne.not_all_equal()", "ce.all_equal()", "ce.not_all_equal()",
    ]),
    ("enum-taking methods", 4.0, [
        "s.peaks()", "s.troughs()", "s.peaks_and_troughs()", "r.pad_start(d)", "r.pad_end(d)", "r.pad_both(d)",
        "s.absolute_timestamp('seconds')", "cs.absolute_timestamp('seconds')", "s.time_difference('seconds')",
        "s.derivative('seconds')", "r.to_durations(clamp, 'seconds')", "st.extract_numeric(['a'], 'int64')",
        "r.duration_filter('infinity')", "s.threshold_ranges(range_start='condition_start')",
        "cs.category_ranges(range_start='condition_start')",
        "NumericSeries.SelectNumeric('n', storage='iceberg')",
        "NumericSeries.Refprop({'temperature': s}, 'nitrogen', 'pressure')",
    ]),
    ("lists of texts", None, [
        "s.z_score(['x', 'y'])", "s.select_tags(['x', 'y'])", "cs.to_numeric({'a': 1.0, 'b': 2.0})",
    ]),
]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--number", type=int, default=200_000)
    parser.add_argument("--quick", action="store_true", help="5 rounds of 20,000 calls")
    args = parser.parse_args()
    if args.quick:
        args.rounds, args.number = 5, 20_000

    statements = [stmt for _, _, group in GROUPS for stmt in group]
    timers = {stmt: timeit.Timer(stmt, globals=ENV) for stmt in statements}
    best = {stmt: math.inf for stmt in statements}
    for _ in range(args.rounds):
        for stmt, timer in timers.items():
            best[stmt] = min(best[stmt], timer.timeit(args.number) / args.number)

    for name, goal, group in GROUPS:
        print(f"-- {name}" + (f" (goal <= {goal:g}x)" if goal else ""))
        for stmt in group:
            # A call whose callable is a local name is set beside copysign
            # called the same way.
            base = best[HOISTED_BASE if stmt in (HOISTED_BASE, "Literal(1.5)") else BASE]
            ratio = best[stmt] / base
            mark = "!" if goal and ratio > goal else ""
            print(f"{stmt:52s} {best[stmt] * 1e9:7.1f} ns  {ratio:5.2f}x{mark}")


if __name__ == "__main__":
    main()
