"""Operators of NumericSeries, BooleanSeries and Duration: the nodes they build
and where they give way to Python's TypeError."""

import operator

import pytest

from brastel.compute import _compute as c
from conftest import VAR_K, S, T, lit, s, t

D1 = '{"type":"days","days":{"days":{"type":"literal","literal":1}}}'
D2 = '{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":2}}}'


def pair(tag, left, right, a="left", b="right"):
    return '{"type":"%s","%s":{"%s":%s,"%s":%s}}' % (tag, tag, a, left, b, right)


def d1():
    return c.Duration.Days(1)


def d2():
    return c.Duration.Seconds(2)


ARITHMETIC = [
    pytest.param(operator.add, "add", "left", "right", id="+"),
    pytest.param(operator.sub, "subtract", "left", "right", id="-"),
    pytest.param(operator.mul, "multiply", "left", "right", id="*"),
    pytest.param(operator.truediv, "divide", "left", "right", id="/"),
    pytest.param(operator.floordiv, "floorDivide", "left", "right", id="//"),
    pytest.param(operator.mod, "modulo", "left", "right", id="%"),
    pytest.param(operator.pow, "power", "base", "exponent", id="**"),
]

# Operands that may stand on either side of a NumericSeries.
OTHERS = [
    pytest.param(t, T, id="series"),
    pytest.param(lambda: 2, lit("2.0"), id="int"),
    pytest.param(lambda: 0.25, lit("0.25"), id="float"),
    pytest.param(lambda: True, lit("1.0"), id="true"),
    pytest.param(lambda: False, lit("0.0"), id="false"),
    pytest.param(lambda: float("-inf"), lit("null"), id="inf"),
    pytest.param(lambda: c.FloatConstant.Literal(1.5), lit("1.5"), id="float-constant"),
    pytest.param(lambda: c.ConstantNumericSeries.Float(c.FloatConstant.Reference("k")), VAR_K,
                 id="constant-series"),
]


@pytest.mark.parametrize("op, tag, a, b", ARITHMETIC)
@pytest.mark.parametrize("make, other", OTHERS)
def test_series_on_the_left(op, tag, a, b, make, other):
    assert op(s(), make()).to_json() == pair(tag, S, other, a, b)


@pytest.mark.parametrize("op, tag, a, b", ARITHMETIC)
@pytest.mark.parametrize("make, other", OTHERS)
def test_series_on_the_right_keeps_the_written_order(op, tag, a, b, make, other):
    assert op(make(), s()).to_json() == pair(tag, other, S, a, b)


@pytest.mark.parametrize("op, tag, a, b", ARITHMETIC)
def test_same_object_on_both_sides(op, tag, a, b):
    x = s()
    assert op(x, x).to_json() == pair(tag, S, S, a, b)
    assert x.to_json() == S


@pytest.mark.parametrize("call", [
    lambda x: pow(x, 2),
    lambda x: pow(x, 2, None),
    lambda x: x.__pow__(2),
    lambda x: x.__pow__(2, None),
])
def test_power_without_modulus(call):
    assert call(s()).to_json() == pair("power", S, lit("2.0"), "base", "exponent")


def test_reflected_power_without_modulus():
    assert pow(2, s(), None).to_json() == pair("power", lit("2.0"), S, "base", "exponent")
    assert s().__rpow__(3).to_json() == pair("power", lit("3.0"), S, "base", "exponent")


@pytest.mark.parametrize("call", [
    lambda x: pow(x, 2, 7),
    lambda x: pow(2, x, 7),
    lambda x: pow(x, x, "m"),
    lambda x: pow(x, 2, 0),
])
def test_power_with_a_modulus_is_unsupported(call):
    with pytest.raises(TypeError):
        call(s())


def test_power_slot_declines_a_modulus():
    x = s()
    assert x.__pow__(2, 7) is NotImplemented
    assert x.__rpow__(2, 7) is NotImplemented


class FloatRaises:
    def __float__(self):
        raise ZeroDivisionError("no float")


# Operands no arithmetic operator of NumericSeries accepts.
REFUSED = [
    pytest.param(lambda: "x", id="str"),
    pytest.param(lambda: None, id="none"),
    pytest.param(lambda: [1], id="list"),
    pytest.param(d1, id="duration"),
    pytest.param(lambda: s() > 1, id="boolean-series"),
    pytest.param(lambda: 10 ** 400, id="huge-int"),
    pytest.param(FloatRaises, id="float-raises"),
    pytest.param(lambda: c.IntegerConstant.Literal(1), id="integer-constant"),
]


@pytest.mark.parametrize("op, tag, a, b", ARITHMETIC)
@pytest.mark.parametrize("make", REFUSED)
def test_unusable_operands_give_pythons_type_error(op, tag, a, b, make):
    with pytest.raises(TypeError):
        op(s(), make())
    with pytest.raises(TypeError):
        op(make(), s())


@pytest.mark.parametrize("method", ["__add__", "__radd__", "__sub__", "__rsub__", "__mul__", "__rmul__",
                                    "__truediv__", "__rtruediv__", "__floordiv__", "__rfloordiv__",
                                    "__mod__", "__rmod__", "__pow__", "__rpow__"])
def test_slot_methods_return_not_implemented(method):
    assert getattr(s(), method)("x") is NotImplemented


@pytest.mark.parametrize("method, tag", [("__rsub__", "subtract"), ("__rtruediv__", "divide"),
                                         ("__rmod__", "modulo"), ("__radd__", "add")])
def test_reflected_slot_methods_put_the_argument_first(method, tag):
    assert getattr(s(), method)(2).to_json() == pair(tag, lit("2.0"), S)
    assert getattr(s(), method)(t()).to_json() == pair(tag, T, S)


@pytest.mark.parametrize("left, right", [
    pytest.param(lambda: c.FloatConstant.Literal(1.0), lambda: 2, id="float-constant+int"),
    pytest.param(lambda: 2, lambda: c.ConstantNumericSeries.Float(2), id="int+constant-series"),
    pytest.param(lambda: c.FloatConstant.Literal(1.0), lambda: c.ConstantNumericSeries.Float(2),
                 id="constants"),
])
def test_constants_alone_have_no_operators(left, right):
    with pytest.raises(TypeError):
        left() + right()


@pytest.mark.parametrize("call", [
    pytest.param(lambda x: +x, id="unary-plus"),
    pytest.param(lambda x: abs(x), id="builtin-abs"),
    pytest.param(lambda x: ~x, id="invert"),
    pytest.param(lambda x: divmod(x, 2), id="divmod"),
    pytest.param(lambda x: x @ x, id="matmul"),
    pytest.param(lambda x: x << 1, id="lshift"),
    pytest.param(lambda x: x >> 1, id="rshift"),
    pytest.param(lambda x: x ^ x, id="xor"),
    pytest.param(lambda x: x & x, id="and"),
    pytest.param(lambda x: x | 1, id="or"),
])
def test_operators_numeric_series_lacks(call):
    with pytest.raises(TypeError):
        call(s())


COMPARISONS = [
    pytest.param(operator.lt, "lessThan", "greaterThan", id="<"),
    pytest.param(operator.le, "lessThanOrEqualTo", "greaterThanOrEqualTo", id="<="),
    pytest.param(operator.eq, "equalTo", "equalTo", id="=="),
    pytest.param(operator.ne, "notEqualTo", "notEqualTo", id="!="),
    pytest.param(operator.gt, "greaterThan", "lessThan", id=">"),
    pytest.param(operator.ge, "greaterThanOrEqualTo", "lessThanOrEqualTo", id=">="),
]


@pytest.mark.parametrize("op, tag, mirrored", COMPARISONS)
@pytest.mark.parametrize("make, other", OTHERS)
def test_comparisons(op, tag, mirrored, make, other):
    result = op(s(), make())
    assert type(result) is c.BooleanSeries
    assert result.to_json() == pair(tag, S, other)


@pytest.mark.parametrize("op, tag, mirrored", COMPARISONS)
@pytest.mark.parametrize("make, other", [p for p in OTHERS if p.id != "series"])
def test_comparisons_with_the_series_on_the_right_are_mirrored(op, tag, mirrored, make, other):
    # The receiver always becomes "left": 2 < s is s > 2.
    assert op(make(), s()).to_json() == pair(mirrored, S, other)


@pytest.mark.parametrize("other", [None, "a", [1], object()])
def test_comparisons_with_unusable_operands(other):
    x = s()
    assert (x == other) is False
    assert (x != other) is True
    with pytest.raises(TypeError):
        x < other
    with pytest.raises(TypeError):
        other >= x


def test_comparison_with_a_boolean_series_falls_back_to_identity():
    x = s()
    b = x > 1
    assert (x == b) is False
    with pytest.raises(TypeError):
        x < b


def test_numeric_series_is_unhashable():
    assert c.NumericSeries.__hash__ is None
    with pytest.raises(TypeError):
        hash(s())


@pytest.mark.parametrize("call, expected", [
    (lambda: -s(), '{"type":"negate","negate":{"x":%s}}' % S),
    (lambda: -(-s()), '{"type":"negate","negate":{"x":{"type":"negate","negate":{"x":%s}}}}' % S),
    (lambda: -(s() + 1), '{"type":"negate","negate":{"x":%s}}' % pair("add", S, lit("1.0"))),
])
def test_numeric_negation(call, expected):
    assert call().to_json() == expected


def test_builtin_sum_starts_from_zero():
    expected = pair("add", pair("add", lit("0.0"), S), T)
    assert sum([s(), t()]).to_json() == expected
    assert c.sum([s(), t()]).to_json() == '{"type":"sum","sum":{"inputs":[%s,%s]}}' % (S, T)


def test_augmented_assignment_rebinds():
    x = s()
    kept = x
    x += 2
    assert x is not kept
    assert kept.to_json() == S
    assert x.to_json() == pair("add", S, lit("2.0"))


GT1 = pair("greaterThan", S, lit("1.0"))
LT5 = pair("lessThan", S, lit("5.0"))


@pytest.mark.parametrize("op, tag", [(operator.and_, "and"), (operator.or_, "or")])
def test_boolean_operators(op, tag):
    x = s()
    assert op(x > 1, x < 5).to_json() == pair(tag, GT1, LT5)
    assert op(x < 5, x > 1).to_json() == pair(tag, LT5, GT1)
    b = x > 1
    assert op(b, b).to_json() == pair(tag, GT1, GT1)
    assert b.to_json() == GT1


def test_boolean_operators_nest():
    x = s()
    expr = ((x > 1) & (x < 5)) | (x > 1)
    assert expr.to_json() == pair("or", pair("and", GT1, LT5), GT1)


@pytest.mark.parametrize("op", [operator.and_, operator.or_])
@pytest.mark.parametrize("make", [lambda: True, lambda: 1, s, lambda: None, d1, lambda: "x"])
def test_boolean_operators_need_two_boolean_series(op, make):
    b = s() > 1
    with pytest.raises(TypeError):
        op(b, make())
    with pytest.raises(TypeError):
        op(make(), b)


def test_boolean_slots_have_no_reflected_form():
    b = s() > 1
    assert b.__and__(True) is NotImplemented
    assert b.__or__(s()) is NotImplemented


@pytest.mark.parametrize("op", [operator.add, operator.sub, operator.mul, operator.truediv,
                                operator.lt, operator.xor, operator.neg, operator.invert])
def test_boolean_series_lacks_other_operators(op):
    b = s() > 1
    with pytest.raises(TypeError):
        op(b) if op in (operator.neg, operator.invert) else op(b, b)


def test_boolean_series_has_identity_equality_and_truth():
    b1, b2 = s() > 1, s() > 1
    assert (b1 == b2) is False and (b1 == b1) is True
    assert hash(b1) == hash(b1)
    assert bool(b1) is True
    # Python's "and" is not overloaded.
    assert (b1 and b2) is b2


@pytest.mark.parametrize("call, expected", [
    (lambda: d1() + d2(), pair("add", D1, D2)),
    (lambda: d1() - d2(), pair("subtract", D1, D2)),
    (lambda: d2() - d1(), pair("subtract", D2, D1)),
    (lambda: -d1(), '{"type":"negate","negate":{"input":%s}}' % D1),
    (lambda: -(-d1()), '{"type":"negate","negate":{"input":{"type":"negate","negate":{"input":%s}}}}' % D1),
    (lambda: d1() + (-d2()), pair("add", D1, '{"type":"negate","negate":{"input":%s}}' % D2)),
    (lambda: (d1() + d2()) - d1(), pair("subtract", pair("add", D1, D2), D1)),
])
def test_duration_arithmetic(call, expected):
    assert call().to_json() == expected


def test_duration_same_object_on_both_sides():
    d = d1()
    assert (d - d).to_json() == pair("subtract", D1, D1)
    assert d.to_json() == D1


@pytest.mark.parametrize("call", [
    lambda d: d + 1,
    lambda d: 1 + d,
    lambda d: d - 1.5,
    lambda d: d * 2,
    lambda d: 2 * d,
    lambda d: d + s(),
    lambda d: s() + d,
    lambda d: d + None,
    lambda d: d / d,
    lambda d: +d,
    lambda d: abs(d),
    lambda d: d < d,
    lambda d: d & d,
])
def test_duration_refuses_other_operations(call):
    with pytest.raises(TypeError):
        call(d1())


def test_duration_slots_return_not_implemented():
    d = d1()
    assert d.__add__(1) is NotImplemented
    assert d.__sub__(s()) is NotImplemented


def test_duration_equality_is_identity():
    assert (d1() == d1()) is False
    d = d1()
    assert d == d and hash(d) == hash(d)


