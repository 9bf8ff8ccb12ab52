"""Shared fixtures: the module, and the binding probe (a test-only module
built beside the wheel by scripts/test.sh, found through BRASTEL_PROBE_DIR);
and what several test files check or build alike."""

import importlib
import os
import sys

import pytest

PROBE_DIR = os.environ.get("BRASTEL_PROBE_DIR")
if PROBE_DIR:
    sys.path.insert(0, PROBE_DIR)

# add_note exists from Python 3.11 on; on 3.10 the argument notes are absent.
HAS_NOTES = sys.version_info >= (3, 11)


def _asan_loaded():
    with open("/proc/self/maps") as maps:
        return "libclang_rt.asan" in maps.read()


# The module under test is the sanitizer build (its runtime preloaded).
UNDER_ASAN = _asan_loaded()


def rss_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def assert_no_leak(calls, capfd, rounds=5000, limit=2 * 1024 * 1024):
    """Calling each of calls (which may raise) over and over grows no memory:
    leaking one small object per call would grow by several MB."""
    if UNDER_ASAN:
        pytest.skip("AddressSanitizer's quarantine keeps freed memory resident")

    def run(times):
        for _ in range(times):
            for call in calls:
                try:
                    call()
                except BaseException:  # noqa: B036 - PanicException too
                    pass
    run(rounds // 10)
    before = rss_bytes()
    run(rounds)
    grown = rss_bytes() - before
    capfd.readouterr()  # the panic reports
    assert grown < limit, grown


@pytest.fixture(scope="session")
def compute():
    from brastel.compute import _compute

    return _compute


@pytest.fixture(scope="session")
def probe():
    if not PROBE_DIR:
        pytest.skip("the binding probe is built by scripts/test.sh (BRASTEL_PROBE_DIR)")
    return importlib.import_module("_binding_probe")


def notes_of(error):
    return list(getattr(error, "__notes__", []))


def expected_notes(parameter):
    """The notes an argument error carries on this interpreter."""
    return [f"while processing '{parameter}'"] if HAS_NOTES else []


# ---- what the module registers

CLASSES = [
    "NumericSeries", "CategoricalSeries", "RangeSeries", "StructSeries", "ConstantNumericSeries",
    "IntegerConstant", "StringConstant", "Dataset", "Sampling", "BooleanSeries",
    "NumericAggregationBuilder", "CategoricalAggregationBuilder", "StructAggregationBuilder",
    "NumericAggregationOperator", "NegativeValueConfiguration", "Duration", "SignalFilterConfiguration",
    "FloatConstant", "UnboundedRangeBehavior", "UdfSource", "EnumAggregationOperator", "GroupByTags",
    "GroupByTimestamp", "GroupByAlignment", "RangeMap", "CategoricalEqualityBuilder", "CategoryRangesBuilder",
    "DurationFilterBuilder", "NumericEqualityBuilder", "GroupWithinRangesBuilder", "ThresholdRangesBuilder",
]
FUNCTIONS = ["abs", "cos", "sin", "tan", "acos", "asin", "ln", "log10", "sqrt", "atan2",
             "max", "mean", "min", "sum", "product", "numeric_if_else"]


def own_methods(cls):
    """The names a class defines itself, in the order of its method table."""
    return [name for name in vars(cls) if not name.startswith("__")]


def assert_signatures(cls, signatures):
    """The class's table is exactly these methods, in order, each with its text
    signature and no other doc; the ones without "$self" are static."""
    assert_method_table(cls, [sig.split("(")[0] for sig in signatures])
    for sig in signatures:
        name, params = sig[:-1].split("(", 1)
        assert getattr(cls, name).__text_signature__ == "(" + params + ")"
        assert getattr(cls, name).__doc__ is None
        assert isinstance(vars(cls)[name], staticmethod) == (not params.startswith("$self"))


def assert_method_table(cls, methods):
    """The class has exactly these methods, in this order, and no constructor."""
    assert own_methods(cls) == methods
    with pytest.raises(TypeError):
        cls()


# ---- errors

def assert_type_error(call, message):
    """call() raises TypeError with exactly this message; returns the error."""
    with pytest.raises(TypeError) as info:
        call()
    assert str(info.value) == message
    return info.value


def assert_argument_error(call, kind, message, parameter):
    """call() raises kind with this message (a prefix of it when the message
    ends with "..."), noted as raised while processing the parameter."""
    with pytest.raises(kind) as info:
        call()
    if message.endswith("..."):
        assert str(info.value).startswith(message[:-3])
    else:
        assert str(info.value) == message
    assert notes_of(info.value) == expected_notes(parameter)


def assert_panics(call, message):
    with pytest.raises(BaseException) as info:
        call()
    assert type(info.value).__name__ == "PanicException" and str(info.value) == message


POS = "integer value exceeds i32 range: TryFromIntError(PosOverflow)"
NEG = "integer value exceeds i32 range: TryFromIntError(NegOverflow)"
# The first line of an input union's TypeError (assert_argument_error's "...").
INTEGER_INPUT_ERROR = "failed to extract enum IntegerConstantInput ('Wrapped | Integer')..."
FLOAT_INPUT_ERROR = "failed to extract enum FloatConstantInput ('Wrapped | Number')..."
STRING_INPUT_ERROR = ("failed to extract enum StringConstantInput ('Wrapped | String')\n"
                      "- variant Wrapped (Wrapped): TypeError: failed to extract field "
                      "StringConstantInput::Wrapped.0, caused by TypeError: %s is not an instance of "
                      "'StringConstant'\n- variant String (String): TypeError: failed to extract field "
                      "StringConstantInput::String.0, caused by TypeError: %s is not an instance of 'str'")


# ---- values and their JSON

H1 = '{"type":"hours","hours":{"hours":{"type":"literal","literal":1}}}'

# Two series made by the module's own functions: s() writes S, t() writes T.
S = '{"type":"max","max":{}}'
T = '{"type":"min","min":{}}'
VAR_K = '{"type":"constant","constant":{"type":"double","double":{"type":"variable","variable":"k"}}}'


def s():
    from brastel.compute import _compute
    return _compute.max([])


def t():
    from brastel.compute import _compute
    return _compute.min([])


def lit(text):
    """A number as a constant series."""
    return '{"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":%s}}}' % text


def slit(text):
    """A string literal."""
    return '{"type":"literal","literal":"%s"}' % text


def ilit(n):
    """An integer literal."""
    return '{"type":"literal","literal":%d}' % n


def flit(text):
    """A float literal, as written."""
    return '{"type":"literal","literal":%s}' % text
