"""Aggregation operators, and the completions of the three aggregation
builders."""

import pytest

from brastel.compute import _compute as c
from conftest import FLOAT_INPUT_ERROR, H1, assert_argument_error, assert_method_table, ilit
from series_cases import EA, SS, a, assert_made, h1, st

RUST_X = '{"type":"rust","rust":{"sourceCode":"x"}}'


@pytest.mark.parametrize("cls, methods", [
    (c.NumericAggregationOperator, ["Sum", "Average", "Min", "Max", "Count", "StandardDeviation", "RootMeanSquare",
                                    "Percentile", "Udf", "to_json"]),
    (c.EnumAggregationOperator, ["Min", "Max", "Udf", "to_json"]),
    (c.NumericAggregationBuilder, ["numeric_aggregation", "sum", "mean", "min", "max", "count", "std",
                                   "root_mean_square", "percentile", "udf", "rust_udf", "enum_udf", "rust_enum_udf",
                                   "to_json"]),
    (c.CategoricalAggregationBuilder, ["count", "udf", "rust_udf", "enum_aggregation", "enum_udf", "rust_enum_udf",
                                       "to_json"]),
    (c.StructAggregationBuilder, ["count", "udf", "rust_udf", "to_json"]),
])
def test_method_tables(cls, methods):
    assert_method_table(cls, methods)


@pytest.mark.parametrize("call, expected", [
    (lambda: c.NumericAggregationOperator.Sum(), '{"type":"sum","sum":{}}'),
    (lambda: c.NumericAggregationOperator.Average(), '{"type":"average","average":{}}'),
    (lambda: c.NumericAggregationOperator.Min(), '{"type":"min","min":{}}'),
    (lambda: c.NumericAggregationOperator.Max(), '{"type":"max","max":{}}'),
    (lambda: c.NumericAggregationOperator.Count(), '{"type":"count","count":{}}'),
    (lambda: c.NumericAggregationOperator.StandardDeviation(), '{"type":"standardDeviation","standardDeviation":{}}'),
    (lambda: c.NumericAggregationOperator.RootMeanSquare(), '{"type":"rootMeanSquare","rootMeanSquare":{}}'),
    (lambda: c.NumericAggregationOperator.Percentile(95),
     '{"type":"percentile","percentile":{"percentile":{"type":"literal","literal":95.0}}}'),
    (lambda: c.NumericAggregationOperator.Percentile(percentile=-5.5),
     '{"type":"percentile","percentile":{"percentile":{"type":"literal","literal":-5.5}}}'),
    (lambda: c.NumericAggregationOperator.Percentile(c.FloatConstant.Reference("p")),
     '{"type":"percentile","percentile":{"percentile":{"type":"variable","variable":"p"}}}'),
    (lambda: c.NumericAggregationOperator.Udf(c.UdfSource.Rust("x")), '{"type":"udf","udf":{"source":%s}}' % RUST_X),
    (lambda: c.EnumAggregationOperator.Min(), '{"type":"min","min":{}}'),
    (lambda: c.EnumAggregationOperator.Max(), '{"type":"max","max":{}}'),
    (lambda: c.EnumAggregationOperator.Udf(source=c.UdfSource.Rust("x")),
     '{"type":"udf","udf":{"source":%s}}' % RUST_X),
])
def test_operator_factories(call, expected):
    assert call().to_json() == expected


@pytest.mark.parametrize("call, kind, message, parameter", [
    (lambda: c.NumericAggregationOperator.Percentile("95"), TypeError,
     FLOAT_INPUT_ERROR, "percentile"),
    (lambda: c.NumericAggregationOperator.Udf("x"), TypeError,
     "'str' object is not an instance of 'UdfSource'", "source"),
    (lambda: c.EnumAggregationOperator.Udf(None), TypeError, "'None' is not an instance of 'UdfSource'", "source"),
])
def test_operator_factory_errors(call, kind, message, parameter):
    assert_argument_error(call, kind, message, parameter)


# ---- NumericAggregationBuilder completions, on the builders NumericSeries opens

NUMERIC_S = '{"type":"numeric","numeric":{"type":"max","max":{}}}'
NUMERIC_BUILDERS = [
    pytest.param(lambda x: x.rolling_time(c.Duration.Seconds(2)),
                 '{"type":"rollingTime","rollingTime":{"input":%s,"window":{"type":"seconds","seconds":{"seconds":'
                 '{"type":"literal","literal":2}}}}}' % NUMERIC_S, id="rolling-time"),
    pytest.param(lambda x: x.rolling_points(3), '{"type":"rollingPoints","rollingPoints":{"input":%s,"points":'
                 '{"type":"literal","literal":3}}}' % NUMERIC_S, id="rolling-points"),
    pytest.param(lambda x: x.group_by(c.GroupByTags.Subset(["b", "a"]), c.GroupByTimestamp.Current()),
                 '{"type":"groupBy","groupBy":{"input":%s,"tags":{"type":"subset","subset":{"tags":[{"type":"literal",'
                 '"literal":"a"},{"type":"literal","literal":"b"}]}},"timestamp":{"type":"current","current":{}}}}'
                 % NUMERIC_S, id="group-by"),
]
ENUM_UDF = '{"type":"udf","udf":{"source":%s}}' % RUST_X


@pytest.mark.parametrize("open_builder, builder_json", NUMERIC_BUILDERS)
@pytest.mark.parametrize("complete, result, operator", [
    (lambda b: b.numeric_aggregation(c.NumericAggregationOperator.Percentile(50)), c.NumericSeries,
     '{"type":"percentile","percentile":{"percentile":{"type":"literal","literal":50.0}}}'),
    (lambda b: c.NumericSeries.NumericAggregation(b, c.NumericAggregationOperator.Max()), c.NumericSeries,
     '{"type":"max","max":{}}'),
    (lambda b: b.sum(), c.NumericSeries, '{"type":"sum","sum":{}}'),
    (lambda b: b.mean(), c.NumericSeries, '{"type":"average","average":{}}'),
    (lambda b: b.min(), c.NumericSeries, '{"type":"min","min":{}}'),
    (lambda b: b.max(), c.NumericSeries, '{"type":"max","max":{}}'),
    (lambda b: b.count(), c.NumericSeries, '{"type":"count","count":{}}'),
    (lambda b: b.std(), c.NumericSeries, '{"type":"standardDeviation","standardDeviation":{}}'),
    (lambda b: b.root_mean_square(), c.NumericSeries, '{"type":"rootMeanSquare","rootMeanSquare":{}}'),
    (lambda b: b.percentile(c.FloatConstant.Reference("p")), c.NumericSeries,
     '{"type":"percentile","percentile":{"percentile":{"type":"variable","variable":"p"}}}'),
    (lambda b: b.udf(c.UdfSource.Rust("x")), c.NumericSeries, ENUM_UDF),
    (lambda b: b.rust_udf("x"), c.NumericSeries, ENUM_UDF),
    (lambda b: b.enum_udf(source=c.UdfSource.Rust("x")), c.CategoricalSeries, ENUM_UDF),
    (lambda b: b.rust_enum_udf("x"), c.CategoricalSeries, ENUM_UDF),
])
def test_numeric_builder_completions(open_builder, builder_json, complete, result, operator):
    builder = open_builder(c.max([]))
    assert type(builder) is c.NumericAggregationBuilder
    first, second = complete(builder), complete(builder)
    tag = "numericAggregation" if result is c.NumericSeries else "enumAggregation"
    assert type(first) is result and first is not second
    assert first.to_json() == second.to_json() == '{"type":"%s","%s":{"input":%s,"operator":%s}}' % (
        tag, tag, builder_json, operator)
    assert builder.to_json() == builder_json


@pytest.mark.parametrize("call, message, parameter", [
    (lambda b: b.numeric_aggregation(c.EnumAggregationOperator.Max()),
     "'EnumAggregationOperator' object is not an instance of 'NumericAggregationOperator'", "operator"),
    (lambda b: b.percentile("50"), FLOAT_INPUT_ERROR, "percentile"),
    (lambda b: b.rust_udf(None), "'None' is not an instance of 'str'", "source_code"),
    (lambda b: b.enum_udf("x"), "'str' object is not an instance of 'UdfSource'", "source"),
])
def test_numeric_builder_completion_errors(call, message, parameter):
    builder = c.max([]).rolling_points(3)
    assert_argument_error(lambda: call(builder), TypeError, message, parameter)


# ---- the completions of CategoricalAggregationBuilder and StructAggregationBuilder, on builders their series open


CATEGORICAL_BUILDER = a().rolling_points(3)
STRUCT_BUILDER = st().rolling_time(h1())
CB_JSON = '{"type":"rollingPoints","rollingPoints":{"input":%s,"points":%s}}' % (EA, ilit(3))
SB_JSON = '{"type":"rollingTime","rollingTime":{"input":%s,"window":%s}}' % (SS, H1)


def aggregation(builder, operator):
    return '{"type":"numericAggregation","numericAggregation":{"input":%s,"operator":%s}}' % (builder, operator)


def enum_aggregation(operator):
    return '{"type":"enumAggregation","enumAggregation":{"input":%s,"operator":%s}}' % (CB_JSON, operator)


UDF_X = '{"type":"udf","udf":{"source":%s}}' % RUST_X


@pytest.mark.parametrize("builder, call, cls, expected", [
    (CATEGORICAL_BUILDER, lambda b: b.count(), c.NumericSeries, aggregation(CB_JSON, '{"type":"count","count":{}}')),
    (STRUCT_BUILDER, lambda b: b.count(), c.NumericSeries, aggregation(SB_JSON, '{"type":"count","count":{}}')),
    (CATEGORICAL_BUILDER, lambda b: b.udf(c.UdfSource.Rust("x")), c.NumericSeries, aggregation(CB_JSON, UDF_X)),
    (STRUCT_BUILDER, lambda b: b.udf(source=c.UdfSource.Rust("x")), c.NumericSeries, aggregation(SB_JSON, UDF_X)),
    (CATEGORICAL_BUILDER, lambda b: b.rust_udf("x"), c.NumericSeries, aggregation(CB_JSON, UDF_X)),
    (STRUCT_BUILDER, lambda b: b.rust_udf(source_code=""), c.NumericSeries,
     aggregation(SB_JSON, '{"type":"udf","udf":{"source":{"type":"rust","rust":{"sourceCode":""}}}}')),
    (CATEGORICAL_BUILDER, lambda b: b.enum_aggregation(c.EnumAggregationOperator.Max()), c.CategoricalSeries,
     enum_aggregation('{"type":"max","max":{}}')),
    (CATEGORICAL_BUILDER, lambda b: c.CategoricalSeries.EnumAggregation(b, c.EnumAggregationOperator.Max()),
     c.CategoricalSeries, enum_aggregation('{"type":"max","max":{}}')),
    (CATEGORICAL_BUILDER, lambda b: b.enum_udf(c.UdfSource.Rust("x")), c.CategoricalSeries, enum_aggregation(UDF_X)),
    (CATEGORICAL_BUILDER, lambda b: b.rust_enum_udf("x"), c.CategoricalSeries, enum_aggregation(UDF_X)),
])
def test_categorical_and_struct_completions(builder, call, cls, expected):
    assert_made(builder, call, cls, expected)


@pytest.mark.parametrize("call, kind, message, parameter", [
    (lambda: CATEGORICAL_BUILDER.enum_aggregation(c.NumericAggregationOperator.Max()), TypeError,
     "'NumericAggregationOperator' object is not an instance of 'EnumAggregationOperator'", "operator"),
    (lambda: STRUCT_BUILDER.udf("x"), TypeError, "'str' object is not an instance of 'UdfSource'", "source"),
    (lambda: CATEGORICAL_BUILDER.rust_enum_udf(1), TypeError, "'int' object is not an instance of 'str'",
     "source_code"),
])
def test_categorical_and_struct_completion_errors(call, kind, message, parameter):
    assert_argument_error(call, kind, message, parameter)


@pytest.mark.parametrize("call, given, wanted", [
    (lambda: c.NumericSeries.NumericAggregation(CATEGORICAL_BUILDER, c.NumericAggregationOperator.Max()),
     "CategoricalAggregationBuilder", "NumericAggregationBuilder"),
    (lambda: c.NumericSeries.NumericAggregation(STRUCT_BUILDER, c.NumericAggregationOperator.Max()),
     "StructAggregationBuilder", "NumericAggregationBuilder"),
    (lambda: c.CategoricalSeries.EnumAggregation(c.max([]).rolling_points(3), c.EnumAggregationOperator.Max()),
     "NumericAggregationBuilder", "CategoricalAggregationBuilder"),
])
def test_static_completions_take_their_own_builder_class_only(call, given, wanted):
    assert_argument_error(call, TypeError, f"'{given}' object is not an instance of '{wanted}'", "input")
