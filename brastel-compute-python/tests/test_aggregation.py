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
