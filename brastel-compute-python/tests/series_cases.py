"""What the tests of the categorical, struct, range and boolean series and of
their builders share: a few values with their JSON, and the checks every
table of them runs."""

import pytest

from brastel.compute import _compute as c
from conftest import H1, S, assert_method_table

A = '{"type":"raw","raw":{"name":"a"}}'
EA = '{"type":"enum","enum":%s}' % A
R = '{"type":"raw","raw":{"name":"r"}}'
ST = '{"type":"combine","combine":{"inputs":{"a":%s,"b":{"type":"numeric","numeric":%s}}}}' % (EA, S)
SS = '{"type":"struct","struct":%s}' % ST
CURRENT = '{"type":"current","current":{}}'
ROLLING_A = '{"type":"rollingTime","rollingTime":{"input":%s,"window":%s}}' % (EA, H1)
POS = "integer value exceeds i32 range: TryFromIntError(PosOverflow)"
NEG = "integer value exceeds i32 range: TryFromIntError(NegOverflow)"


def a():
    return c.CategoricalSeries.Reference("a")


def r():
    return c.RangeSeries.Reference("r")


def st():
    return c.StructSeries.Combine({"b": c.max([]), "a": a()})


def h1():
    return c.Duration.Hours(1)


def ilit(n):
    return '{"type":"literal","literal":%d}' % n


def assert_signatures(cls, signatures):
    """The class's table is exactly these methods, in order, each with its text
    signature; the ones without "$self" are static."""
    assert_method_table(cls, [sig.split("(")[0] for sig in signatures])
    for sig in signatures:
        name, params = sig[:-1].split("(", 1)
        assert getattr(cls, name).__text_signature__ == "(" + params + ")"
        assert isinstance(vars(cls)[name], staticmethod) == (not params.startswith("$self"))


def assert_made(receiver, call, cls, expected):
    """call(receiver) makes a new cls object writing expected, alike each time,
    and leaves the receiver as it was."""
    before = receiver.to_json() if hasattr(receiver, "to_json") else None
    first, second = call(receiver), call(receiver)
    assert type(first) is cls and first is not second
    assert first.to_json() == expected
    assert second.to_json() == expected
    if before is not None:
        assert receiver.to_json() == before


def assert_panics(call, message):
    with pytest.raises(BaseException) as info:
        call()
    assert type(info.value).__name__ == "PanicException" and str(info.value) == message
