"""RangeSeries and BooleanSeries, the equality, category and duration-filter
range builders, and the memory guarantees of their nodes."""

import pytest

from brastel.compute import _compute as c
from conftest import (H1, INTEGER_INPUT_ERROR, NEG, POS, S, STRING_INPUT_ERROR, T, assert_argument_error,
                      assert_no_leak, assert_panics, assert_signatures, assert_type_error, ilit, lit, s, slit, t)
from series_cases import A, R, a, assert_made, h1, r

RANGE = c.RangeSeries
D = c.Duration.Reference("d")
D_JSON = '{"type":"reference","reference":{"name":"d"}}'
GT = '{"type":"greaterThan","greaterThan":{"left":%s,"right":%s}}' % (S, lit("1.0"))
# Builders made once and finished by many cases below: finishing never changes them.
DURATION_FILTER = r().duration_filter()
WINDOW_BOUND_FILTER = r().duration_filter(unbounded_behavior="window_bound")
CATEGORY_RANGES = a().category_ranges(min_duration=h1())
NUMERIC_EQUALITY = c.RangeSeries.NumericEquality([s(), 1.5], 0.1, 3)


def gt():
    return s() > 1


def padded(padding):
    return '{"type":"paddedRangesV2","paddedRangesV2":{"input":%s,"duration":%s,"paddingConfiguration":"%s"}}' % (
        R, H1, padding)


def numeric_equality(body):
    return '{"type":"numericEqualityRangesV2","numericEqualityRangesV2":{%s}}' % body


def categorical_equality(body):
    return '{"type":"categoricalEqualityRangesV2","categoricalEqualityRangesV2":{%s}}' % body


@pytest.mark.parametrize("call, cls, expected", [
    (lambda x: c.RangeSeries.Reference(""), RANGE, '{"type":"raw","raw":{"name":""}}'),
    (lambda x: x.invert().invert(), RANGE, '{"type":"not","not":{"input":{"type":"not","not":{"input":%s}}}}' % R),
    (lambda x: c.RangeSeries.Union([]), RANGE, '{"type":"unionRange","unionRange":{}}'),
    (lambda x: c.RangeSeries.Union([x, c.RangeSeries.Reference("q")]), RANGE,
     '{"type":"unionRange","unionRange":{"inputs":[%s,{"type":"raw","raw":{"name":"q"}}]}}' % R),
    (lambda x: c.RangeSeries.Intersect((x, x)), RANGE,
     '{"type":"intersectRange","intersectRange":{"inputs":[%s,%s]}}' % (R, R)),
    (lambda x: x.pad_start(h1()), RANGE, padded("PAD_START")),
    (lambda x: x.pad_end(duration=h1()), RANGE, padded("PAD_END")),
    (lambda x: x.pad_both(h1()), RANGE, padded("PAD_START_AND_END")),
    (lambda x: x.to_durations(c.UnboundedRangeBehavior.Drop(), None), c.NumericSeries,
     '{"type":"rangeDuration","rangeDuration":{"input":%s,"unboundedRangeBehavior":{"type":"drop","drop":{}}}}' % R),
    (lambda x: x.to_durations(c.UnboundedRangeBehavior.ClampToWindow(), time_unit="seconds"), c.NumericSeries,
     '{"type":"rangeDuration","rangeDuration":{"input":%s,"unboundedRangeBehavior":'
     '{"type":"clampToWindow","clampToWindow":{}},"timeUnit":"SECONDS"}}' % R),
    (lambda x: gt().ranges(), RANGE, '{"type":"booleanRanges","booleanRanges":{"input":%s}}' % GT),
    (lambda x: gt().ranges(range_start="persistence_start", min_points=-2147483648, min_duration=h1()), RANGE,
     '{"type":"booleanRanges","booleanRanges":{"input":%s,"minPoints":%s,"minDuration":%s,'
     '"rangeStart":"PERSISTENCE_START"}}' % (GT, ilit(-2147483648), H1)),
    # Equality builders: the options in their JSON order, the operator last.
    (lambda x: NUMERIC_EQUALITY.all_equal(), RANGE, numeric_equality(
        '"inputs":[%s,%s],"tolerance":{"type":"literal","literal":0.1},"minPoints":%s,"equalityOperator":"ALL_EQUAL"'
        % (S, lit("1.5"), ilit(3)))),
    (lambda x: NUMERIC_EQUALITY.not_all_equal(), RANGE, numeric_equality(
        '"inputs":[%s,%s],"tolerance":{"type":"literal","literal":0.1},"minPoints":%s,'
        '"equalityOperator":"NOT_ALL_EQUAL"' % (S, lit("1.5"), ilit(3)))),
    (lambda x: c.RangeSeries.NumericEquality((s(), t())).all_equal(), RANGE,
     numeric_equality('"inputs":[%s,%s],"equalityOperator":"ALL_EQUAL"' % (S, T))),
    (lambda x: c.RangeSeries.NumericEquality([], c.FloatConstant.Reference("e"), c.IntegerConstant.Reference("m"), h1(),
                                             "condition_start").all_equal(), RANGE,
     numeric_equality('"tolerance":{"type":"variable","variable":"e"},"minPoints":{"type":"variable","variable":"m"},'
                      '"minDuration":%s,"rangeStart":"CONDITION_START","equalityOperator":"ALL_EQUAL"' % H1)),
    (lambda x: c.RangeSeries.CategoricalEquality([a()]).not_all_equal(), RANGE,
     categorical_equality('"inputs":[%s],"equalityOperator":"NOT_ALL_EQUAL"' % A)),
    (lambda x: c.RangeSeries.CategoricalEquality([], 2147483647, h1(), "persistence_start").all_equal(), RANGE,
     categorical_equality('"minPoints":%s,"minDuration":%s,"rangeStart":"PERSISTENCE_START",'
                          '"equalityOperator":"ALL_EQUAL"' % (ilit(2147483647), H1))),
])
def test_range_and_boolean_nodes(call, cls, expected):
    assert_made(r(), call, cls, expected)


@pytest.mark.parametrize("method, comparison", [
    ("gt", "GREATER_THAN"), ("ge", "GREATER_THAN_OR_EQUAL_TO"), ("lt", "LESS_THAN"),
    ("le", "LESS_THAN_OR_EQUAL_TO"), ("eq", "EQUAL_TO"), ("ne", "NOT_EQUAL_TO"),
])
@pytest.mark.parametrize("builder, behaviour", [
    (DURATION_FILTER, ""), (WINDOW_BOUND_FILTER, ',"unboundedBehavior":"WINDOW_BOUND"')])
def test_duration_filters(method, comparison, builder, behaviour):
    body = '"input":%s,"duration":%s%s,"comparison":"%s"' % (R, D_JSON, behaviour, comparison)
    assert_made(builder, lambda b: getattr(b, method)(D), RANGE,
                '{"type":"durationFilterV2","durationFilterV2":{%s}}' % body)


@pytest.mark.parametrize("method, values, listed, operator", [
    ("is_in", ["b", "a", "b"], [slit("b"), slit("a"), slit("b")], "IS_IN"),
    ("is_not_in", (c.StringConstant.Reference("v"),), ['{"type":"variable","variable":"v"}'], "IS_NOT_IN"),
    ("matches_regex", ["^a.*", "["], [slit("^a.*"), slit("[")], "MATCHES_ANY_REGEX"),
    ("is_in", [], [], "IS_IN"),
])
def test_category_filters(method, values, listed, operator):
    inner = '"values":[%s],' % ",".join(listed) if listed else ""
    expected = ('{"type":"categoryFilterRangesV2","categoryFilterRangesV2":{"input":%s,%s"minDuration":%s,'
                '"operator":"%s"}}' % (A, inner, H1, operator))
    assert_made(CATEGORY_RANGES, lambda b: getattr(b, method)(values=values), RANGE, expected)


class OtherStr(str):
    """A str whose str() is another text."""

    def __str__(self):
        return "hours"


# Taken as a text constant, a str of any class is its own text; taken as a
# text-named enum, it is read through str().
@pytest.mark.parametrize("call, expected", [
    (lambda: CATEGORY_RANGES.eq(OtherStr("v")),
     '{"type":"categoryFilterRangesV2","categoryFilterRangesV2":{"input":%s,"values":[%s],"minDuration":%s,'
     '"operator":"IS_IN"}}' % (A, slit("v"), H1)),
    (lambda: CATEGORY_RANGES.matches_regex([OtherStr("v"), "w"]),
     '{"type":"categoryFilterRangesV2","categoryFilterRangesV2":{"input":%s,"values":[%s,%s],"minDuration":%s,'
     '"operator":"MATCHES_ANY_REGEX"}}' % (A, slit("v"), slit("w"), H1)),
    (lambda: r().to_durations(c.UnboundedRangeBehavior.Drop(), OtherStr("days")),
     '{"type":"rangeDuration","rangeDuration":{"input":%s,"unboundedRangeBehavior":{"type":"drop","drop":{}},'
     '"timeUnit":"HOURS"}}' % R),
])
def test_str_subclasses_as_texts_and_enums(call, expected):
    assert call().to_json() == expected




# A str that UTF-8 cannot hold (a lone surrogate) where a text constant is taken.
SURROGATE_ERROR = ("failed to extract enum StringConstantInput ('Wrapped | String')\n"
                   "- variant Wrapped (Wrapped): TypeError: failed to extract field StringConstantInput::Wrapped.0, "
                   "caused by TypeError: 'str' object is not an instance of 'StringConstant'\n"
                   "- variant String (String): TypeError: failed to extract field StringConstantInput::String.0, "
                   "caused by UnicodeEncodeError: 'utf-8' codec can't encode character '\\udc80' in position 1: "
                   "surrogates not allowed")

ARGUMENT_ERRORS = [
    (lambda: c.RangeSeries.Union("ab"), TypeError, "Can't extract `str` to `Vec`", "inputs"),
    (lambda: c.RangeSeries.Intersect([r(), 1]), TypeError, "'int' object is not an instance of 'RangeSeries'",
     "inputs"),
    (lambda: r().to_durations(h1()), TypeError, "'Duration' object is not an instance of 'UnboundedRangeBehavior'",
     "unbounded_range_behavior"),
    (lambda: r().to_durations(c.UnboundedRangeBehavior.Drop(), "Seconds"), ValueError,
     "Failed to convert 'Seconds' to TimeUnit enum: Invalid custom type: Seconds", "time_unit"),
    (lambda: r().duration_filter("infinite"), ValueError,
     "Failed to convert 'infinite' to UnboundedBehavior enum: Invalid custom type: infinite", "unbounded_behavior"),
    (lambda: c.RangeSeries.NumericEquality([s(), "x"]), TypeError, "failed to extract enum NumericSeriesInput...",
     "inputs"),
    (lambda: c.RangeSeries.NumericEquality([], min_points=2.0), TypeError, INTEGER_INPUT_ERROR, "min_points"),
    # Every argument is extracted before an int is checked against 32 bits.
    (lambda: c.RangeSeries.NumericEquality([], min_points=2**31, range_start="start"), ValueError,
     "Failed to convert 'start' to RangeStart enum: Invalid custom type: start", "range_start"),
    (lambda: c.RangeSeries.CategoricalEquality([s()]), TypeError,
     "'NumericSeries' object is not an instance of 'CategoricalSeries'", "inputs"),
    (lambda: c.RangeSeries.CategoricalEquality([a()], -2**31 - 1, 60), TypeError,
     "'int' object is not an instance of 'Duration'", "min_duration"),
    (lambda: gt().ranges(2**31, range_start=1), ValueError,
     "Failed to convert '1' to RangeStart enum: Invalid custom type: 1", "range_start"),
    (lambda: DURATION_FILTER.ge(3600), TypeError, "'int' object is not an instance of 'Duration'", "duration"),
    (lambda: WINDOW_BOUND_FILTER.ne(None), TypeError, "'None' is not an instance of 'Duration'", "duration"),
    (lambda: CATEGORY_RANGES.is_not_in(("a", b"b")), TypeError,
     STRING_INPUT_ERROR % ("'bytes' object", "'bytes' object"), "values"),
    (lambda: CATEGORY_RANGES.eq(["a"]), TypeError, STRING_INPUT_ERROR % ("'list' object", "'list' object"), "value"),
    (lambda: CATEGORY_RANGES.eq("a\udc80"), TypeError, SURROGATE_ERROR, "value"),
    (lambda: CATEGORY_RANGES.is_in(["a", "a\udc80"]), TypeError, SURROGATE_ERROR, "values"),
]


@pytest.mark.parametrize("call, kind, message, parameter", ARGUMENT_ERRORS)
def test_argument_errors(call, kind, message, parameter):
    assert_argument_error(call, kind, message, parameter)


PANICS = [
    (lambda: c.RangeSeries.NumericEquality([], min_points=2**31), POS),
    (lambda: c.RangeSeries.CategoricalEquality([], min_points=-2**31 - 1), NEG),
    (lambda: gt().ranges(2**31, h1()), POS),
]


@pytest.mark.parametrize("call, message", PANICS)
def test_ints_outside_32_bits_panic(call, message):
    assert_panics(call, message)


@pytest.mark.parametrize("call, message", [
    (lambda: r().to_durations(),
     "RangeSeries.to_durations() missing 1 required positional argument: 'unbounded_range_behavior'"),
    (lambda: NUMERIC_EQUALITY.all_equal(1), "NumericEqualityBuilder.all_equal() takes no arguments (1 given)"),
])
def test_parameter_matching(call, message):
    assert_type_error(call, message)


@pytest.mark.parametrize("cls, signatures", [
    (c.RangeSeries, ["Intersect(inputs)", "invert($self)", "Reference(name)", "Union(inputs)",
                     "to_durations($self, unbounded_range_behavior, time_unit=None)",
                     "CategoricalEquality(inputs, min_points=None, min_duration=None, range_start=None)",
                     "duration_filter($self, unbounded_behavior=None)",
                     "NumericEquality(inputs, tolerance=None, min_points=None, min_duration=None, range_start=None)",
                     "pad_start($self, duration)", "pad_end($self, duration)", "pad_both($self, duration)",
                     "to_json($self)"]),
    (c.BooleanSeries, ["ranges($self, min_points=None, min_duration=None, range_start=None)", "to_json($self)"]),
    (c.NumericEqualityBuilder, ["all_equal($self)", "not_all_equal($self)"]),
    (c.CategoricalEqualityBuilder, ["all_equal($self)", "not_all_equal($self)"]),
    (c.DurationFilterBuilder, ["gt($self, duration)", "ge($self, duration)", "lt($self, duration)",
                               "le($self, duration)", "eq($self, duration)", "ne($self, duration)"]),
])
def test_method_tables(cls, signatures):
    assert_signatures(cls, signatures)


def test_failing_calls_leak_nothing(capfd):
    assert_no_leak([case[0] for case in ARGUMENT_ERRORS + PANICS], capfd)
