"""What the tests of the categorical, struct, range and boolean series and of
their builders share: a few values with their JSON, and the check that a
call makes a new object and leaves its receiver as it was."""

from brastel.compute import _compute as c
from conftest import H1, S

A = '{"type":"raw","raw":{"name":"a"}}'
EA = '{"type":"enum","enum":%s}' % A
R = '{"type":"raw","raw":{"name":"r"}}'
ST = '{"type":"combine","combine":{"inputs":{"a":%s,"b":{"type":"numeric","numeric":%s}}}}' % (EA, S)
SS = '{"type":"struct","struct":%s}' % ST
CURRENT = '{"type":"current","current":{}}'
ROLLING_A = '{"type":"rollingTime","rollingTime":{"input":%s,"window":%s}}' % (EA, H1)


def a():
    return c.CategoricalSeries.Reference("a")


def r():
    return c.RangeSeries.Reference("r")


def st():
    return c.StructSeries.Combine({"b": c.max([]), "a": a()})


def h1():
    return c.Duration.Hours(1)


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
