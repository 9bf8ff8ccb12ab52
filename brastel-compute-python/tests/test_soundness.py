"""No leak, no crash, one interpreter: whatever Python passes."""

import subprocess
import sys

import pytest

from brastel.compute import _compute as c
from conftest import S, UNDER_ASAN, assert_no_leak, lit, notes_of, s
from series_cases import A, R, ST, a, r, st


def failing_and_succeeding_calls(probe):
    """Calls through every path that releases references."""
    calls = [
        lambda: c.FloatConstant.Literal(1.5).to_json(),
        lambda: c.IntegerConstant.Reference("x"),
        lambda: c.ConstantNumericSeries.Float(c.FloatConstant.Reference("k")).to_json(),
        lambda: c.ConstantNumericSeries.Float("2"),
        lambda: c.IntegerConstant.Literal(2**40),
        lambda: c.IntegerConstant.Literal(1.0),
        lambda: c.StringConstant.Literal(None),
        lambda: c.FloatConstant.Literal(1, 2),
        lambda: c.FloatConstant.Literal(literal=1, other=2),
        lambda: c.RangeMap("o", start=1, end=c.FloatConstant.Literal(2)).to_json(),
        lambda: c.RangeMap(output=3),
        lambda: c.max([]).head(2**31),
        lambda: c.NumericSeries.Max((c.max([]), 1, "bad")),
        lambda: c.NumericSeries.Refprop({"pressure": 1, "bad": 2}, "air", "pressure"),
        lambda: c.max([]).threshold_ranges(3, None, "condition_start").eq(1, 0.1).to_json(),
        lambda: c.max([]).threshold_ranges(2**40, None, "bad"),
        lambda: c.max([]).value_map([c.RangeMap("a", 1), 3]),
    ]
    if probe is not None:
        calls += [
            lambda: probe.numeric_list([1, probe.numeric_series("n"), "bad"]),
            lambda: probe.string_list(("a", "b")),
            lambda: probe.float_dict({"a": 1, "b": "x"}),
            lambda: probe.refprop({"pressure": 1, "bad": 2}),
            lambda: probe.time_unit("weeks"),
            lambda: probe.series(3),
            lambda: probe.optional("a", c="c"),
            lambda: probe.three(1, 2, 3),
            lambda: probe.panic("p"),
        ]
    return calls


@pytest.fixture
def maybe_probe(request):
    try:
        return request.getfixturevalue("probe")
    except pytest.skip.Exception:
        return None


def test_memory_stays_flat(maybe_probe, capfd):
    assert_no_leak(failing_and_succeeding_calls(maybe_probe), capfd, rounds=20000, limit=4 * 1024 * 1024)


def test_arguments_keep_their_reference_counts(maybe_probe):
    text, number, wrong = "xyz-unique", 1.25e300, object()
    counts = [sys.getrefcount(v) for v in (text, number, wrong)]
    for _ in range(1000):
        c.IntegerConstant.Reference(text)
        c.FloatConstant.Literal(number)
        for call in (lambda: c.StringConstant.Literal(wrong), lambda: c.ConstantNumericSeries.Float(wrong)):
            try:
                call()
            except TypeError:
                pass
        if maybe_probe is not None:
            for call in (lambda: maybe_probe.float_dict({text: number, "w": wrong}),
                         lambda: maybe_probe.string_list([text, wrong])):
                try:
                    call()
                except TypeError:
                    pass
    assert [sys.getrefcount(v) for v in (text, number, wrong)] == counts


# ---- keywords that name no parameter

class UnprintableName(str):
    def __str__(self):
        raise RuntimeError("str() of a keyword")


UNKNOWN_KEYWORDS = [
    # Lone surrogates and NUL cannot go through UTF-8 or C strings; the name
    # is shown as given.
    (lambda: c.abs(**{"\ud800": 1}), "abs() got an unexpected keyword argument '\ud800'"),
    (lambda: c.RangeMap("o", **{"\ud800": 1}), "RangeMap.__new__() got an unexpected keyword argument '\ud800'"),
    (lambda: c.FloatConstant.Literal(**{"li\0teral": 1}),
     "FloatConstant.Literal() got an unexpected keyword argument 'li\0teral'"),
    # A str subclass is shown by its text, never by its __str__.
    (lambda: c.abs(**{UnprintableName("zz"): 1}), "abs() got an unexpected keyword argument 'zz'"),
    (lambda: c.RangeMap("o", **{UnprintableName("zz"): 1}),
     "RangeMap.__new__() got an unexpected keyword argument 'zz'"),
    (lambda: c.abs(1, **{UnprintableName("x"): 1}), "abs() got multiple values for argument 'x'"),
    (lambda: c.RangeMap("o", **{UnprintableName("output"): 1}),
     "RangeMap.__new__() got multiple values for argument 'output'"),
]


@pytest.mark.parametrize("call, message", UNKNOWN_KEYWORDS)
def test_any_keyword_name_gets_the_matching_error(call, message):
    with pytest.raises(BaseException) as error:
        call()
    assert type(error.value) is TypeError
    assert str(error.value) == message
    assert notes_of(error.value) == []


def test_a_str_subclass_keyword_names_its_parameter_by_text():
    assert c.RangeMap(**{UnprintableName("output"): "o"}).to_json() == '{"output":{"type":"literal","literal":"o"}}'


# ---- interrupts raised while an argument is coerced

def raising(hook, error):
    """An object whose `hook` raises `error`; a sequence of nothing besides."""

    def fail(self, *args):
        raise error

    def no_items(self, index):
        raise IndexError(index)

    return type("Raising", (), {"__getitem__": no_items, hook: fail})()


# (what coerces, hook, call, what any other exception from the hook gives:
# an exception type, or None for a call that goes on as if the hook were
# missing)
COERCIONS = [
    ("union", "__float__", lambda x: c.abs(x), TypeError),
    ("union-index", "__index__", lambda x: c.atan2(1.0, x), TypeError),
    ("int", "__index__", lambda x: c.IntegerConstant.Literal(x), RuntimeError),
    ("list-element", "__float__", lambda x: c.sum([1, x]), TypeError),
    ("list-length", "__len__", lambda x: c.max(x), None),
    ("operator", "__float__", lambda x: c.max([]) * x, TypeError),
    ("reflected-operator", "__float__", lambda x: x - c.max([]), TypeError),
    ("pow", "__float__", lambda x: pow(c.max([]), x), TypeError),
    ("comparison", "__float__", lambda x: c.max([]) >= x, TypeError),
]
INTERRUPTS = [KeyboardInterrupt, SystemExit, MemoryError]


@pytest.mark.parametrize("kind", INTERRUPTS)
@pytest.mark.parametrize("coerces, hook, call, ordinary", COERCIONS)
def test_interrupts_propagate_unchanged(coerces, hook, call, ordinary, kind):
    interrupt = kind()
    with pytest.raises(BaseException) as error:
        call(raising(hook, interrupt))
    assert error.value is interrupt
    assert notes_of(interrupt) == []


@pytest.mark.parametrize("coerces, hook, call, ordinary", COERCIONS)
def test_other_errors_keep_their_handling(coerces, hook, call, ordinary):
    value = raising(hook, RuntimeError("hook"))
    if ordinary is None:
        call(value)
        return
    with pytest.raises(BaseException) as error:
        call(value)
    assert type(error.value) is ordinary


@pytest.mark.parametrize("kind", INTERRUPTS)
def test_an_interrupt_from_str_of_an_enum_text_propagates(probe, kind, monkeypatch):
    unraisable = []
    monkeypatch.setattr(sys, "unraisablehook", unraisable.append)
    interrupt = kind()
    with pytest.raises(BaseException) as error:
        probe.time_unit(raising("__str__", interrupt))
    assert error.value is interrupt
    assert unraisable == []


# ---- sub-interpreters

# Run in a fresh process: imports the package in the main interpreter and in
# legacy sub-interpreters (which any extension may enter, so the module's own
# check is what refuses), in the order given by argv[2].
INTERPRETERS = r"""
import sys
try:
    from _testcapi import run_in_subinterp
except ImportError:
    print("no sub-interpreters")
    sys.exit(0)
CODE = "\n".join([
    "try:",
    "    import brastel.compute",
    "    result = brastel.compute.FloatConstant.Literal(0.5).to_json()",
    "except ImportError as error:",
    "    result = 'ImportError: ' + str(error)",
    "print(WHO + ': ' + result, flush=True)",
])
for who in sys.argv[1].split():
    if who == "main":
        exec(CODE, {"WHO": "main"})
    else:
        run_in_subinterp("WHO = 'sub'\n" + CODE)
"""
REFUSED = "sub: ImportError: _compute can be imported only in the main interpreter"
IMPORTED = 'main: {"type":"literal","literal":0.5}'


@pytest.mark.parametrize("order, lines", [
    ("main sub", [IMPORTED, REFUSED]),
    ("sub main", [REFUSED, IMPORTED]),
    ("sub sub main sub", [REFUSED, REFUSED, IMPORTED, REFUSED]),
])
def test_only_the_main_interpreter_imports(order, lines):
    result = subprocess.run([sys.executable, "-c", INTERPRETERS, order], capture_output=True, text=True, timeout=60)
    assert result.returncode == 0, result.stderr
    if result.stdout.strip() == "no sub-interpreters":
        pytest.skip("this interpreter offers no sub-interpreters from Python")
    assert result.stdout.splitlines() == lines


# ---- depth: a chain of one step, a level's text before and after the
# inner JSON. Ten thousand levels are written exactly (a quarter under
# AddressSanitizer, whose frames are about three times as large); a million
# are built and freed, and written or refused with RecursionError.

WRITABLE_DEPTH = 2_500 if UNDER_ASAN else 10_000
DAYS = c.Duration.Days(1)
DAYS_JSON = '{"type":"days","days":{"days":{"type":"literal","literal":1}}}'
DEEP_CHAINS = [
    pytest.param(lambda: DAYS, lambda x: -x, '{"type":"negate","negate":{"input":', "}}", DAYS_JSON,
                 id="duration-negate"),
    pytest.param(s, lambda x: x + 1, '{"type":"add","add":{"left":', ',"right":%s}}' % lit("1.0"), S,
                 id="series-add"),
    pytest.param(s, lambda x: x.abs(), '{"type":"abs","abs":{"x":', "}}", S, id="series-abs"),
    pytest.param(s, lambda x: x.derivative(), '{"type":"derivative","derivative":{"input":', "}}", S,
                 id="series-derivative"),
    pytest.param(s, lambda x: x.time_difference(),
                 '{"type":"timeDifference","timeDifference":{"input":{"type":"numeric","numeric":', "}}}", S,
                 id="series-time-difference"),
    pytest.param(r, lambda x: x.invert(), '{"type":"not","not":{"input":', "}}", R, id="range-invert"),
    pytest.param(r, lambda x: c.RangeSeries.Union([x]), '{"type":"unionRange","unionRange":{"inputs":[', "]}}", R,
                 id="range-union"),
    pytest.param(r, lambda x: x.duration_filter().lt(DAYS), '{"type":"durationFilterV2","durationFilterV2":{"input":',
                 ',"duration":%s,"comparison":"LESS_THAN"}}' % DAYS_JSON, R, id="range-duration-filter"),
    pytest.param(a, lambda x: x.time_shift(DAYS), '{"type":"timeShiftV2","timeShiftV2":{"input":',
                 ',"duration":%s}}' % DAYS_JSON, A, id="categorical-time-shift"),
    pytest.param(st, lambda x: c.StructSeries.Combine({"x": x}),
                 '{"type":"combine","combine":{"inputs":{"x":{"type":"struct","struct":', "}}}}", ST,
                 id="struct-combine"),
]


@pytest.mark.parametrize("start, step, before, after, inner", DEEP_CHAINS)
def test_deep_trees_are_written_and_a_million_deep_never_crash(start, step, before, after, inner):
    x = start()
    for _ in range(WRITABLE_DEPTH):
        x = step(x)
    assert x.to_json() == before * WRITABLE_DEPTH + inner + after * WRITABLE_DEPTH
    for _ in range(1_000_000 - WRITABLE_DEPTH):
        x = step(x)
    try:
        text = x.to_json()
    except RecursionError:
        pass
    else:
        assert text == before * 1_000_000 + inner + after * 1_000_000
    # A derived object keeps the shared tree alive on its own; both are
    # freed without recursing.
    parent = step(x)
    del x
    del parent
