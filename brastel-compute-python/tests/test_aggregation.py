"""Aggregation operators, and the completions of the three aggregation
builders."""

import pytest

from brastel.compute import _compute as c
from conftest import assert_argument_error, assert_method_table

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
     "failed to extract enum FloatConstantInput ('Wrapped | Number')...", "percentile"),
    (lambda: c.NumericAggregationOperator.Udf("x"), TypeError,
     "'str' object is not an instance of 'UdfSource'", "source"),
    (lambda: c.EnumAggregationOperator.Udf(None), TypeError, "'None' is not an instance of 'UdfSource'", "source"),
])
def test_operator_factory_errors(call, kind, message, parameter):
    assert_argument_error(call, kind, message, parameter)


# ---- the completions of CategoricalAggregationBuilder and StructAggregationBuilder, on builders their series open

from conftest import H1  # noqa: E402
from series_cases import EA, SS, a, assert_made, h1, ilit, st  # noqa: E402

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


def test_struct_builders_offer_no_numeric_or_categorical_completion():
    assert not any(hasattr(STRUCT_BUILDER, name) for name in ("sum", "mean", "enum_udf", "enum_aggregation"))
