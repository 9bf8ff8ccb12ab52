"""CategoricalSeries and StructSeries: their nodes, the builders they open, and
their argument errors."""

import pytest

from brastel.compute import _compute as c
from conftest import (FLOAT_INPUT_ERROR, H1, INTEGER_INPUT_ERROR, NEG, POS, S, STRING_INPUT_ERROR,
                      assert_argument_error, assert_no_leak, assert_panics, assert_signatures, assert_type_error, ilit,
                      lit, s, slit)
from series_cases import A, CURRENT, EA, R, ROLLING_A, SS, ST, a, assert_made, h1, r, st

TAGS_AND_TIMESTAMP = (c.GroupByTags.Current(), c.GroupByTimestamp.Current())
NUMERIC, CATEGORICAL, RANGE = c.NumericSeries, c.CategoricalSeries, c.RangeSeries
CAB, SAB = c.CategoricalAggregationBuilder, c.StructAggregationBuilder


def cr(args):
    return '{"type":"categoryFilterRangesV2","categoryFilterRangesV2":{"input":%s,"values":[%s],%s}}' % (
        A, slit("v"), args)


@pytest.mark.parametrize("call, cls, expected", [
    (lambda x: c.CategoricalSeries.Reference(""), CATEGORICAL, '{"type":"raw","raw":{"name":""}}'),
    (lambda x: x.resample(h1()), CATEGORICAL,
     '{"type":"resampleV2","resampleV2":{"input":%s,"interval":%s}}' % (A, H1)),
    (lambda x: x.nth_point_downsample(n=10), CATEGORICAL,
     '{"type":"nthPointDownsample","nthPointDownsample":{"input":%s,"n":%s}}' % (A, ilit(10))),
    (lambda x: x.time_shift(h1()), CATEGORICAL,
     '{"type":"timeShiftV2","timeShiftV2":{"input":%s,"duration":%s}}' % (A, H1)),
    (lambda x: x.filter_within(r()), CATEGORICAL,
     '{"type":"filterTransformation","filterTransformation":{"input":%s,"filter":%s}}' % (A, R)),
    (lambda x: c.CategoricalSeries.EnumAggregation(x.rolling_time(h1()), c.EnumAggregationOperator.Min()), CATEGORICAL,
     '{"type":"enumAggregation","enumAggregation":{"input":%s,"operator":{"type":"min","min":{}}}}' % ROLLING_A),
    (lambda x: c.CategoricalSeries.SelectCategoricalProperty("p", None), CATEGORICAL,
     '{"type":"selectCategoricalProperty","selectCategoricalProperty":{"propertyName":"p"}}'),
    (lambda x: c.CategoricalSeries.SelectCategoricalProperty(dataset=c.Dataset.Run("d"), property_name=""), CATEGORICAL,
     '{"type":"selectCategoricalProperty","selectCategoricalProperty":{"propertyName":"",'
     '"dataset":{"type":"run","run":{"rid":%s}}}}' % slit("d")),
    (lambda x: x.time_difference(None), NUMERIC, '{"type":"timeDifference","timeDifference":{"input":%s}}' % EA),
    (lambda x: x.time_difference("seconds"), NUMERIC,
     '{"type":"timeDifference","timeDifference":{"input":%s,"timeUnit":"SECONDS"}}' % EA),
    (lambda x: x.absolute_timestamp("days"), NUMERIC,
     '{"type":"absoluteTimestamp","absoluteTimestamp":{"input":%s,"timeUnit":"DAYS"}}' % EA),
    (lambda x: x.to_numeric({"on": 1, "off": 0.5}, default=c.FloatConstant.Reference("d")), NUMERIC,
     '{"type":"enumToNumeric","enumToNumeric":{"input":%s,"mapping":{"off":{"type":"literal","literal":0.5},'
     '"on":{"type":"literal","literal":1.0}},"defaultValue":{"type":"variable","variable":"d"}}}' % A),
    (lambda x: x.to_numeric({}), NUMERIC, '{"type":"enumToNumeric","enumToNumeric":{"input":%s}}' % A),
    (lambda x: c.CategoricalSeries.ValueMap(5, []), CATEGORICAL,
     '{"type":"valueMap","valueMap":{"input":%s}}' % lit("5.0")),
    (lambda x: c.CategoricalSeries.ValueMap(s(), (c.RangeMap("y", 2), c.RangeMap("x", end=1)), "other"), CATEGORICAL,
     '{"type":"valueMap","valueMap":{"input":%s,"mapping":[{"start":{"type":"literal","literal":2.0},"output":%s},'
     '{"end":{"type":"literal","literal":1.0},"output":%s}],"default":%s}}' % (S, slit("y"), slit("x"), slit("other"))),
    (lambda x: x.on_change_ranges(), RANGE,
     '{"type":"categoricalOnChangeRangesV2","categoricalOnChangeRangesV2":{"input":%s}}' % A),
    (lambda x: x.stale_ranges(threshold=h1()), RANGE,
     '{"type":"categoricalStaleRangesV2","categoricalStaleRangesV2":{"input":%s,"threshold":%s}}' % (A, H1)),
    (lambda x: x.rolling_time(h1()), CAB, ROLLING_A),
    (lambda x: x.rolling_points(-2147483648), CAB,
     '{"type":"rollingPoints","rollingPoints":{"input":%s,"points":%s}}' % (EA, ilit(-2147483648))),
    (lambda x: x.group_by(*TAGS_AND_TIMESTAMP), CAB,
     '{"type":"groupBy","groupBy":{"input":%s,"tags":%s,"timestamp":%s}}' % (EA, CURRENT, CURRENT)),
    # A category builder: eq of one value is is_in of a list of it alone.
    (lambda x: x.category_ranges().eq("v"), RANGE, cr('"operator":"IS_IN"')),
    (lambda x: x.category_ranges(2147483647, h1(), "condition_start").ne(c.StringConstant.Literal("v")), RANGE,
     cr('"minPoints":%s,"minDuration":%s,"rangeStart":"CONDITION_START","operator":"IS_NOT_IN"'
        % (ilit(2147483647), H1))),
])
def test_categorical_nodes(call, cls, expected):
    assert_made(a(), call, cls, expected)


@pytest.mark.parametrize("call, cls, expected", [
    (lambda x: c.StructSeries.Combine({}), c.StructSeries, '{"type":"combine","combine":{}}'),
    (lambda x: c.StructSeries.Combine({"z": x, "": s()}), c.StructSeries,
     '{"type":"combine","combine":{"inputs":{"":{"type":"numeric","numeric":%s},"z":%s}}}' % (S, SS)),
    (lambda x: x.extract_numeric(["outer", c.StringConstant.Reference("v"), "outer"]), NUMERIC,
     '{"type":"extractFromStruct","extractFromStruct":{"input":%s,'
     '"fieldPath":[%s,{"type":"variable","variable":"v"},%s]}}' % (ST, slit("outer"), slit("outer"))),
    (lambda x: x.extract_numeric((), data_type="float64"), NUMERIC,
     '{"type":"extractFromStruct","extractFromStruct":{"input":%s,"dataType":"FLOAT64"}}' % ST),
    (lambda x: x.time_difference(), NUMERIC, '{"type":"timeDifference","timeDifference":{"input":%s}}' % SS),
    (lambda x: x.absolute_timestamp("nanoseconds"), NUMERIC,
     '{"type":"absoluteTimestamp","absoluteTimestamp":{"input":%s,"timeUnit":"NANOSECONDS"}}' % SS),
    (lambda x: x.rolling_time(window=h1()), SAB,
     '{"type":"rollingTime","rollingTime":{"input":%s,"window":%s}}' % (SS, H1)),
    (lambda x: x.rolling_points(0), SAB,
     '{"type":"rollingPoints","rollingPoints":{"input":%s,"points":%s}}' % (SS, ilit(0))),
    (lambda x: x.group_by(*TAGS_AND_TIMESTAMP, c.GroupByAlignment.ContextDefaults()), SAB,
     '{"type":"groupBy","groupBy":{"input":%s,"tags":%s,"timestamp":%s,'
     '"alignment":{"type":"contextDefaults","contextDefaults":{}}}}' % (SS, CURRENT, CURRENT)),
])
def test_struct_nodes(call, cls, expected):
    assert_made(st(), call, cls, expected)


SERIES_ERROR = ("Expected one of: enum (Class(CategoricalSeries)), numeric (Class(NumericSeries)), "
                "struct (Class(StructSeries))")


ARGUMENT_ERRORS = [
    (lambda: c.CategoricalSeries.Reference(5), TypeError, "'int' object is not an instance of 'str'", "name"),
    (lambda: a().absolute_timestamp(None), ValueError,
     "Failed to convert 'None' to TimeUnit enum: Invalid custom type: None", "time_unit"),
    (lambda: st().time_difference("Seconds"), ValueError,
     "Failed to convert 'Seconds' to TimeUnit enum: Invalid custom type: Seconds", "time_unit"),
    (lambda: a().to_numeric({1: 2.0}), TypeError, "'int' object is not an instance of 'str'", "mapping"),
    (lambda: a().to_numeric({"a": "x"}), TypeError, FLOAT_INPUT_ERROR, "mapping"),
    (lambda: a().to_numeric([("a", 1.0)]), TypeError, "'list' object is not an instance of 'dict'", "mapping"),
    (lambda: c.CategoricalSeries.ValueMap(5, "ab"), TypeError, "Can't extract `str` to `Vec`", "mapping"),
    (lambda: a().nth_point_downsample(2.0), TypeError, INTEGER_INPUT_ERROR, "n"),
    (lambda: a().nth_point_downsample(2**63), TypeError, INTEGER_INPUT_ERROR, "n"),
    (lambda: c.CategoricalSeries.EnumAggregation(st().rolling_time(h1()), c.EnumAggregationOperator.Max()), TypeError,
     "'StructAggregationBuilder' object is not an instance of 'CategoricalAggregationBuilder'", "input"),
    (lambda: c.CategoricalSeries.EnumAggregation(a().rolling_points(1), c.NumericAggregationOperator.Max()), TypeError,
     "'NumericAggregationOperator' object is not an instance of 'EnumAggregationOperator'", "operator"),
    (lambda: c.CategoricalSeries.SelectCategoricalProperty("p", "d"), TypeError,
     "'str' object is not an instance of 'Dataset'", "dataset"),
    (lambda: st().rolling_time(None), TypeError, "'None' is not an instance of 'Duration'", "window"),
    (lambda: a().category_ranges(range_start="Condition_Start"), ValueError,
     "Failed to convert 'Condition_Start' to RangeStart enum: Invalid custom type: Condition_Start", "range_start"),
    # Every argument is extracted before an int is checked against 32 bits.
    (lambda: a().category_ranges(2**31, 5), TypeError, "'int' object is not an instance of 'Duration'", "min_duration"),
    (lambda: a().category_ranges().is_in("abc"), TypeError, "Can't extract `str` to `Vec`", "values"),
    (lambda: a().category_ranges().matches_regex(["a", 1]), TypeError,
     STRING_INPUT_ERROR % ("'int' object", "'int' object"), "values"),
    (lambda: c.StructSeries.Combine({"a": 1.0}), TypeError, SERIES_ERROR, "inputs"),
    (lambda: c.StructSeries.Combine({1: s()}), TypeError, "'int' object is not an instance of 'str'", "inputs"),
    (lambda: c.StructSeries.Combine([("a", s())]), TypeError, "'list' object is not an instance of 'dict'", "inputs"),
    (lambda: st().extract_numeric("outer"), TypeError, "Can't extract `str` to `Vec`", "field_path"),
    (lambda: st().extract_numeric(["a"], data_type="Float64"), ValueError,
     "Failed to convert 'Float64' to NumericDataType enum: Invalid custom type: Float64", "data_type"),
]


@pytest.mark.parametrize("call, kind, message, parameter", ARGUMENT_ERRORS)
def test_argument_errors(call, kind, message, parameter):
    assert_argument_error(call, kind, message, parameter)


PANICS = [
    (lambda: a().nth_point_downsample(2**31), POS),
    (lambda: a().nth_point_downsample(-2**31 - 1), NEG),
    (lambda: a().rolling_points(2**31), POS),
    (lambda: st().rolling_points(points=-2**31 - 1), NEG),
    (lambda: a().category_ranges(2**31, range_start="persistence_start"), POS),
]


@pytest.mark.parametrize("call, message", PANICS)
def test_ints_outside_32_bits_panic(call, message):
    assert_panics(call, message)


@pytest.mark.parametrize("call, message", [
    (lambda: a().absolute_timestamp(),
     "CategoricalSeries.absolute_timestamp() missing 1 required positional argument: 'time_unit'"),
    (lambda: a().group_by(),
     "CategoricalSeries.group_by() missing 2 required positional arguments: 'tags' and 'timestamp'"),
])
def test_parameter_matching(call, message):
    assert_type_error(call, message)


def test_failing_calls_leak_nothing(capfd):
    assert_no_leak([case[0] for case in ARGUMENT_ERRORS + PANICS], capfd)


@pytest.mark.parametrize("cls, signatures", [
    (c.CategoricalSeries, [
        "Reference(name)", "resample($self, duration)", "nth_point_downsample($self, n)", "time_shift($self, duration)",
        "filter_within($self, ranges)", "EnumAggregation(input, operator)",
        "SelectCategoricalProperty(property_name, dataset=None)", "time_difference($self, time_unit=None)",
        "absolute_timestamp($self, time_unit)", "to_numeric($self, mapping, default=None)",
        "ValueMap(input, mapping, default=None)", "on_change_ranges($self)", "stale_ranges($self, threshold)",
        "rolling_time($self, window)", "rolling_points($self, points)",
        "group_by($self, tags, timestamp, alignment=None)",
        "category_ranges($self, min_points=None, min_duration=None, range_start=None)", "to_json($self)"]),
    (c.StructSeries, [
        "Combine(inputs)", "time_difference($self, time_unit=None)", "absolute_timestamp($self, time_unit)",
        "extract_numeric($self, field_path, data_type=None)", "rolling_time($self, window)",
        "rolling_points($self, points)", "group_by($self, tags, timestamp, alignment=None)", "to_json($self)"]),
    (c.CategoryRangesBuilder, [
        "is_in($self, values)", "is_not_in($self, values)", "eq($self, value)", "ne($self, value)",
        "matches_regex($self, values)"]),
])
def test_method_tables(cls, signatures):
    assert_signatures(cls, signatures)
