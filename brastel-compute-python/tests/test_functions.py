"""The sixteen module functions: the nodes they build, argument errors, __all__."""

import inspect

import pytest

from brastel.compute import _compute as c
from conftest import CLASSES, FUNCTIONS, VAR_K, S, T, assert_argument_error, assert_type_error, lit, s, t


def node(tag, body):
    return '{"type":"%s","%s":{%s}}' % (tag, tag, body)


# Each numeric operand kind and the node it becomes.
OPERANDS = [
    pytest.param(s, S, id="series"),
    pytest.param(lambda: 2, lit("2.0"), id="int"),
    pytest.param(lambda: -0.5, lit("-0.5"), id="float"),
    pytest.param(lambda: True, lit("1.0"), id="bool"),
    pytest.param(lambda: float("nan"), lit("null"), id="nan"),
    pytest.param(lambda: c.FloatConstant.Reference("k"), VAR_K, id="float-constant"),
    pytest.param(lambda: c.ConstantNumericSeries.Float(c.FloatConstant.Reference("k")), VAR_K,
                 id="constant-series"),
]

UNARY = ["abs", "cos", "sin", "tan", "acos", "asin", "ln", "log10", "sqrt"]
REDUCTIONS = ["max", "mean", "min", "sum", "product"]


@pytest.mark.parametrize("name", UNARY)
@pytest.mark.parametrize("make, expected", OPERANDS)
def test_unary_functions(name, make, expected):
    assert getattr(c, name)(make()).to_json() == node(name, '"x":' + expected)


def test_abs_of_a_plain_number():
    assert c.abs(2).to_json() == (
        '{"type":"abs","abs":{"x":{"type":"constant","constant":{"type":"double",'
        '"double":{"type":"literal","literal":2.0}}}}}')


@pytest.mark.parametrize("call, expected", [
    (lambda: c.atan2(1, s()), node("atan2", '"y":%s,"x":%s' % (lit("1.0"), S))),
    (lambda: c.atan2(s(), t()), node("atan2", '"y":%s,"x":%s' % (S, T))),
    (lambda: c.atan2(x=1, y=2), node("atan2", '"y":%s,"x":%s' % (lit("2.0"), lit("1.0")))),
    (lambda: c.atan2(s(), x=c.FloatConstant.Reference("k")), node("atan2", '"y":%s,"x":%s' % (S, VAR_K))),
])
def test_atan2_writes_y_before_x(call, expected):
    assert call().to_json() == expected


@pytest.mark.parametrize("name", REDUCTIONS)
@pytest.mark.parametrize("inputs, body", [
    pytest.param(lambda: [], "", id="empty-list"),
    pytest.param(lambda: (), "", id="empty-tuple"),
    pytest.param(lambda: [s()], '"inputs":[%s]' % S, id="one"),
    pytest.param(lambda: (s(), 2.5, s()), '"inputs":[%s,%s,%s]' % (S, lit("2.5"), S), id="tuple-dups"),
    pytest.param(lambda: [t(), s(), True, c.FloatConstant.Reference("k")],
                 '"inputs":[%s,%s,%s,%s]' % (T, S, lit("1.0"), VAR_K), id="order-kept"),
    pytest.param(lambda: b"\x01\x02", '"inputs":[%s,%s]' % (lit("1.0"), lit("2.0")), id="bytes"),
])
def test_reductions(name, inputs, body):
    assert getattr(c, name)(inputs()).to_json() == node(name, body)


def test_numeric_if_else():
    a = s()
    cond = '{"type":"greaterThan","greaterThan":{"left":%s,"right":%s}}' % (S, lit("0.0"))
    assert c.numeric_if_else(a > 0, a, 0).to_json() == node(
        "ifElse", '"condition":%s,"trueValue":%s,"falseValue":%s' % (cond, S, lit("0.0")))
    by_keyword = c.numeric_if_else(false_value=t(), true_value=1.5, condition=a < 2)
    cond = '{"type":"lessThan","lessThan":{"left":%s,"right":%s}}' % (S, lit("2.0"))
    assert by_keyword.to_json() == node(
        "ifElse", '"condition":%s,"trueValue":%s,"falseValue":%s' % (cond, lit("1.5"), T))


# (call, exception type, message (exact, or prefix when it ends with "..."), parameter noted)
NUMERIC_INPUT_ERROR = ("failed to extract enum NumericSeriesInput "
                       "('Wrapped | Number | FloatConstant | ConstantNumericSeries')\n"
                       "- variant Wrapped (Wrapped): TypeError: failed to extract field "
                       "NumericSeriesInput::Wrapped.0, caused by TypeError: %s is not an instance "
                       "of 'NumericSeries'\n- variant Number (Number): TypeError: failed to extract field "
                       "NumericSeriesInput::Number.0, caused by ...")

ARGUMENT_ERRORS = [
    (lambda: c.max("abc"), TypeError, "Can't extract `str` to `Vec`", "inputs"),
    (lambda: c.sum(2), TypeError, "'int' object is not an instance of 'Sequence'", "inputs"),
    (lambda: c.mean({1, 2}), TypeError, "'set' object is not an instance of 'Sequence'", "inputs"),
    (lambda: c.min([s(), "b"]), TypeError, NUMERIC_INPUT_ERROR % "'str' object", "inputs"),
    (lambda: c.product(None), TypeError, "'None' is not an instance of 'Sequence'", "inputs"),
    (lambda: c.atan2("a", "b"), TypeError, NUMERIC_INPUT_ERROR % "'str' object", "y"),
    (lambda: c.atan2(1, None), TypeError, NUMERIC_INPUT_ERROR % "'None'", "x"),
    (lambda: c.sqrt("4"), TypeError, NUMERIC_INPUT_ERROR % "'str' object", "x"),
    (lambda: c.abs(10 ** 400), TypeError, NUMERIC_INPUT_ERROR % "'int' object", "x"),
    (lambda: c.numeric_if_else(s(), s(), 0), TypeError,
     "'NumericSeries' object is not an instance of 'BooleanSeries'", "condition"),
    (lambda: c.numeric_if_else(None, s(), 0), TypeError, "'None' is not an instance of 'BooleanSeries'",
     "condition"),
    (lambda: c.numeric_if_else(s() > 1, s(), "x"), TypeError, NUMERIC_INPUT_ERROR % "'str' object", "false_value"),
    (lambda: c.numeric_if_else(s() > 1, [], "x"), TypeError, NUMERIC_INPUT_ERROR % "'list' object", "true_value"),
]


@pytest.mark.parametrize("call, kind, message, param", ARGUMENT_ERRORS)
def test_argument_errors_name_the_parameter(call, kind, message, param):
    assert_argument_error(call, kind, message, param)


@pytest.mark.parametrize("call, message", [
    (lambda: c.abs(), "abs() missing 1 required positional argument: 'x'"),
    (lambda: c.cos(1, 2), "cos() takes 1 positional arguments but 2 were given"),
    (lambda: c.ln(y=1), "ln() got an unexpected keyword argument 'y'"),
    (lambda: c.atan2(1, y=2), "atan2() got multiple values for argument 'y'"),
    (lambda: c.atan2(), "atan2() missing 2 required positional arguments: 'y' and 'x'"),
    (lambda: c.numeric_if_else(),
     "numeric_if_else() missing 3 required positional arguments: 'condition', 'true_value', and 'false_value'"),
    (lambda: c.max([], []), "max() takes 1 positional arguments but 2 were given"),
])
def test_parameter_matching(call, message):
    assert_type_error(call, message)


EXPECTED_ALL = CLASSES + FUNCTIONS


def test_all_lists_the_47_names_in_order():
    assert c.__all__ == EXPECTED_ALL
    for name in EXPECTED_ALL:
        assert hasattr(c, name)


SIGNATURES = [(name, "(x)") for name in UNARY] + [("atan2", "(y, x)")] + [
    (name, "(inputs)") for name in REDUCTIONS] + [
    ("numeric_if_else", "(condition, true_value, false_value)")]


@pytest.mark.parametrize("name, signature", SIGNATURES)
def test_functions_are_module_builtins(name, signature):
    fn = getattr(c, name)
    assert fn.__text_signature__ == signature
    assert str(inspect.signature(fn)) == signature
    assert fn.__module__ == c.__name__
    assert fn.__self__ is c
    assert fn.__name__ == name
    assert fn.__doc__ is None


def test_module_functions_are_not_the_builtins():
    import brastel.compute as bc
    assert bc.abs is c.abs and bc.abs is not abs
    # Python's own abs goes to the (absent) absolute slot instead.
    with pytest.raises(TypeError):
        abs(s())


def test_arguments_are_left_unchanged_and_results_are_new():
    a, cond = s(), s() > 0
    before = (a.to_json(), cond.to_json())
    first = c.numeric_if_else(cond, a, a)
    second = c.numeric_if_else(cond, a, a)
    assert first is not second and first is not a
    assert first.to_json() == second.to_json()
    assert (a.to_json(), cond.to_json()) == before
    assert c.sum([a, a]).to_json() == node("sum", '"inputs":[%s,%s]' % (S, S))
    assert a.to_json() == S
