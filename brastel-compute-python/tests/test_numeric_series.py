"""NumericSeries: its method table, the nodes its methods build, their errors,
and the two range builders it hands out."""

import pytest

from brastel.compute import _compute as c
from conftest import (FLOAT_INPUT_ERROR, POS, STRING_INPUT_ERROR, S, T, assert_argument_error, assert_panics,
                      assert_signatures, assert_type_error, flit, ilit, lit, s, slit, t)

NS = c.NumericSeries


def node(tag, body):
    return '{"type":"%s","%s":{%s}}' % (tag, tag, body)


SIGNATURES = [
    "abs($self)", "cos($self)", "sin($self)", "tan($self)", "acos($self)", "asin($self)", "ln($self)",
    "log10($self)", "sqrt($self)", "atan2($self, x)", "Max(inputs)", "Mean(inputs)", "Min(inputs)", "Sum(inputs)",
    "Union(inputs)", "Product(inputs)", "Constant(constant)", "tail($self, num_points)",
    "SelectNumeric(name=None, dataset=None, sampling=None, storage=None)",
    "SelectNumericProperty(property_name, dataset=None)", "head($self, num_points)", "bit_and($self, operand)",
    "bit_or($self, operand)", "bit_xor($self, operand)", "bit_shift_right($self, operand)",
    "bit_shift_left($self, operand)", "bit_test($self, index)", "IfElse(condition, true_value, false_value)",
    "NumericAggregation(input, operator)", "derivative($self, time_unit=None, negative_values_configuration=None)",
    "z_score($self, group_by_tags)", "Reference(name)", "resample($self, duration)", "nth_point_downsample($self, n)",
    "largest_triangle_three_buckets($self, max_points_to_return)",
    "signal_filter($self, signal_filter_configuration, order, sampling_frequency=None)",
    "time_shift($self, duration)", "unit_conversion($self, output_unit)",
    "value_difference($self, negative_values_configuration=None)", "filter_within($self, ranges)",
    "filter_where($self, condition)", "drop_nan($self)", "Udf(inputs, source)", "select_tags($self, tag_keys)",
    "to_start_of_interval($self, window)", "phase_unwrap($self, period)", "time_difference($self, time_unit=None)",
    "absolute_timestamp($self, time_unit)", "RustUdf(inputs, source_code)", "Refprop(inputs, substance, output)",
    "value_map($self, mapping, default=None)", "crossover_ranges($self, other)",
    "stability_ranges_absolute($self, value, window, min_points=None)",
    "stability_ranges_percentage($self, value, window, min_points=None)", "stale_ranges($self, threshold)",
    "rolling_time($self, window)", "rolling_points($self, points)", "group_by($self, tags, timestamp, alignment=None)",
    "peaks($self, minimum_prominence=None)", "troughs($self, minimum_prominence=None)",
    "peaks_and_troughs($self, minimum_prominence=None)", "group_within_ranges($self, ranges)",
    "threshold_ranges($self, min_points=None, min_duration=None, range_start=None)", "to_json($self)",
]


@pytest.mark.parametrize("cls, signatures", [
    (c.NumericSeries, SIGNATURES),
    (c.ThresholdRangesBuilder, ["gt($self, threshold)", "ge($self, threshold)", "lt($self, threshold)",
                                "le($self, threshold)", "eq($self, threshold, tolerance=None)",
                                "ne($self, threshold, tolerance=None)"]),
    (c.GroupWithinRangesBuilder, ["sum($self)", "mean($self)", "min($self)", "max($self)", "count($self)",
                                  "std($self)", "root_mean_square($self)", "percentile($self, percentile)"]),
])
def test_method_tables_and_signatures(cls, signatures):
    assert_signatures(cls, signatures)


@pytest.mark.parametrize("method, tag, field", [
    ("abs", "abs", "x"), ("cos", "cos", "x"), ("sin", "sin", "x"), ("tan", "tan", "x"), ("acos", "acos", "x"),
    ("asin", "asin", "x"), ("ln", "ln", "x"), ("log10", "log10", "x"), ("sqrt", "sqrt", "x"),
    ("drop_nan", "dropNan", "input"),
])
def test_unary_family(method, tag, field):
    x = s()
    first, second = getattr(x, method)(), getattr(x, method)()
    assert first is not second
    assert first.to_json() == second.to_json() == node(tag, '"%s":%s' % (field, S))
    assert x.to_json() == S


# Methods whose one integer parameter becomes the node's second field.
INTEGER_METHODS = [
    ("head", "num_points", "selectOldestPoints", "numPoints"),
    ("tail", "num_points", "selectNewestPoints", "numPoints"),
    ("nth_point_downsample", "n", "nthPointDownsample", "n"),
    ("largest_triangle_three_buckets", "max_points_to_return", "largestTriangleThreeBuckets", "maxPointsToReturn"),
    ("bit_and", "operand", "bitAnd", "operand"), ("bit_or", "operand", "bitOr", "operand"),
    ("bit_xor", "operand", "bitXor", "operand"), ("bit_shift_right", "operand", "bitShiftRight", "operand"),
    ("bit_shift_left", "operand", "bitShiftLeft", "operand"), ("bit_test", "index", "bitTest", "index"),
]


@pytest.mark.parametrize("method, param, tag, field", INTEGER_METHODS)
@pytest.mark.parametrize("value, constant", [
    (0, ilit(0)), (-5, ilit(-5)), (True, ilit(1)), (2147483647, ilit(2147483647)), (-2147483648, ilit(-2147483648)),
    (c.IntegerConstant.Reference("w"), '{"type":"variable","variable":"w"}'),
])
def test_integer_operand_family(method, param, tag, field, value, constant):
    expected = node(tag, '"input":%s,"%s":%s' % (S, field, constant))
    assert getattr(s(), method)(value).to_json() == expected
    assert getattr(s(), method)(**{param: value}).to_json() == expected


@pytest.mark.parametrize("method, param, tag, field", INTEGER_METHODS)
def test_integer_operand_outside_32_bits(method, param, tag, field):
    call = getattr(s(), method)
    assert_panics(lambda: call(2147483648), POS)
    assert_panics(lambda: call(-2147483649), "integer value exceeds i32 range: TryFromIntError(NegOverflow)")
    assert_argument_error(lambda: call(2**64), TypeError, "failed to extract enum IntegerConstantInput ...", param)
    assert_argument_error(lambda: call("3"), TypeError, "failed to extract enum IntegerConstantInput ...", param)


@pytest.mark.parametrize("factory, tag, field", [
    ("Max", "max", "inputs"), ("Mean", "mean", "inputs"), ("Min", "min", "inputs"), ("Sum", "sum", "inputs"),
    ("Product", "product", "inputs"), ("Union", "union", "input"),
])
def test_list_factories(factory, tag, field):
    make = getattr(NS, factory)
    assert make([]).to_json() == node(tag, "")
    expected = node(tag, '"%s":[%s,%s,%s,%s]' % (field, S, lit("2.0"), lit("1.0"), T))
    assert make([s(), 2, True, t()]).to_json() == expected
    assert make(inputs=(s(), 2, True, t())).to_json() == expected
    assert_argument_error(lambda: make("ab"), TypeError, "Can't extract `str` to `Vec`", "inputs")


# Argument objects shared by the calls below, which must leave them unchanged.
D = c.Duration.Seconds(2)
D2 = '{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":2}}}'
COND = c.min([]) > 1
GT1 = node("greaterThan", '"left":%s,"right":%s' % (T, lit("1.0")))
RANGES = c.min([]).stale_ranges(D)
STALE = node("numericStaleRangesV2", '"input":%s,"threshold":%s' % (T, D2))
SRC = c.UdfSource.Rust("f")
RUST_F = '{"type":"rust","rust":{"sourceCode":"f"}}'
LOW = c.SignalFilterConfiguration.LowPass(10)
LOW10 = '{"type":"lowPass","lowPass":{"cutoffFrequency":%s}}' % flit("10.0")
NEG = c.NegativeValueConfiguration.ExcludeNegativeValues()
VAR_P = c.FloatConstant.Reference("p")
ROW = c.RangeMap("hot", start=1)
ROW_HOT = '{"start":%s,"output":%s}' % (flit("1.0"), slit("hot"))
CURRENT, EVERY, ALIGN = c.GroupByTags.Current(), c.GroupByTimestamp.Current(), c.GroupByAlignment.ContextDefaults()
CUR = '{"type":"current","current":{}}'
SHARED = [D, COND, RANGES, SRC, LOW, NEG, VAR_P, ROW, CURRENT, EVERY, ALIGN]
NUM = '{"type":"numeric","numeric":%s}' % S

GOLDEN = [
    (lambda x: x.atan2(2), node("atan2", '"y":%s,"x":%s' % (S, lit("2.0")))),
    (lambda x: NS.Constant(2), '{"type":"constant","constant":{"type":"double","double":%s}}' % flit("2.0")),
    (lambda x: NS.SelectNumeric(), node("selectNumeric", "")),
    (lambda x: NS.SelectNumeric("a", c.Dataset.Run("r"), c.Sampling.HashSubsample(3), "clickhouse"),
     node("selectNumeric", '"name":%s,"dataset":%s,"sampling":%s,"storage":"CLICKHOUSE"' % (
         slit("a"), node("run", '"rid":%s' % slit("r")), node("hashSubsample", '"n":%s' % ilit(3))))),
    (lambda x: NS.SelectNumeric(storage="iceberg"), node("selectNumeric", '"storage":"ICEBERG"')),
    (lambda x: NS.SelectNumericProperty("p"), node("selectNumericProperty", '"propertyName":"p"')),
    (lambda x: NS.IfElse(COND, 1, x), node("ifElse", '"condition":%s,"trueValue":%s,"falseValue":%s' % (
        GT1, lit("1.0"), S))),
    (lambda x: NS.NumericAggregation(x.rolling_points(3), c.NumericAggregationOperator.Max()),
     node("numericAggregation", '"input":%s,"operator":{"type":"max","max":{}}' % node(
         "rollingPoints", '"input":%s,"points":%s' % (NUM, ilit(3))))),
    (lambda x: x.derivative(None, None), node("derivative", '"input":%s' % S)),
    (lambda x: x.derivative("seconds", NEG), node("derivative", '"input":%s,"timeUnit":"SECONDS","negativeValues'
                                                  'Configuration":{"type":"excludeNegativeValues",'
                                                  '"excludeNegativeValues":{}}' % S)),
    (lambda x: x.z_score(["b", "a", "b"]), node("zScore", '"input":%s,"groupByTags":[%s,%s]' % (
        S, slit("a"), slit("b")))),
    (lambda x: x.z_score(()), node("zScore", '"input":%s' % S)),
    (lambda x: NS.Reference(""), node("raw", '"name":""')),
    (lambda x: x.resample(D), node("resampleV2", '"input":%s,"interval":%s' % (S, D2))),
    (lambda x: x.signal_filter(LOW, 4), node("signalFilter", '"input":%s,"signalFilterConfiguration":%s,"order":%s' % (
        S, LOW10, ilit(4)))),
    (lambda x: x.signal_filter(LOW, c.IntegerConstant.Reference("o"), 100),
     node("signalFilter", '"input":%s,"signalFilterConfiguration":%s,"order":%s,"samplingFrequency":%s' % (
         S, LOW10, '{"type":"variable","variable":"o"}', flit("100.0")))),
    (lambda x: x.time_shift(D), node("timeShiftV2", '"input":%s,"duration":%s' % (S, D2))),
    (lambda x: x.unit_conversion(""), node("unitConversion", '"input":%s,"outputUnit":""' % S)),
    (lambda x: x.value_difference(), node("valueDifference", '"input":%s' % S)),
    (lambda x: x.filter_within(RANGES), node("filterTransformation", '"input":%s,"filter":%s' % (S, STALE))),
    (lambda x: x.filter_where(COND), node("filterWhere", '"input":%s,"condition":%s' % (S, GT1))),
    (lambda x: NS.Udf((x, x), SRC), node("scalarUdf", '"inputs":[%s,%s],"source":%s' % (NUM, NUM, RUST_F))),
    (lambda x: NS.RustUdf([x], "f"), node("scalarUdf", '"inputs":[%s],"source":%s' % (NUM, RUST_F))),
    (lambda x: x.select_tags(["b", c.StringConstant.Reference("v"), "a", "b"]), node(
        "selectTags", '"input":%s,"tagKeys":[%s,%s,{"type":"variable","variable":"v"}]' % (S, slit("a"), slit("b")))),
    (lambda x: x.to_start_of_interval(D), node("toStartOfInterval", '"input":%s,"window":%s' % (S, D2))),
    (lambda x: x.phase_unwrap(360), node("phaseUnwrap", '"input":%s,"period":%s' % (S, flit("360.0")))),
    (lambda x: x.time_difference(), node("timeDifference", '"input":%s' % NUM)),
    (lambda x: x.absolute_timestamp("days"), node("absoluteTimestamp", '"input":%s,"timeUnit":"DAYS"' % NUM)),
    (lambda x: NS.Refprop({}, "nitrogen", "pressure"), node("refpropV2", '"substance":"NITROGEN",'
                                                                        '"outputProperty":"PRESSURE"')),
    (lambda x: NS.Refprop({"pressure": x, "temperature": 1}, "jet_a_3638", "viscosity"),
     node("refpropV2", '"inputs":{"TEMPERATURE":%s,"PRESSURE":%s},"substance":"JET_A_3638",'
                       '"outputProperty":"VISCOSITY"' % (lit("1.0"), S))),
    (lambda x: x.value_map((ROW, ROW), "cold"), node("valueMap", '"input":%s,"mapping":[%s,%s],"default":%s' % (
        S, ROW_HOT, ROW_HOT, slit("cold")))),
    (lambda x: x.crossover_ranges(0), node("seriesCrossoverRangesNode", '"inputA":%s,"inputB":%s' % (S, lit("0.0")))),
    (lambda x: x.stability_ranges_absolute(VAR_P, D, 3), node(
        "stabilityDetectionV2", '"input":%s,"window":%s,"minPoints":%s,"threshold":%s' % (
            S, D2, ilit(3), node("absolute", '"value":{"type":"variable","variable":"p"}')))),
    (lambda x: x.stability_ranges_percentage(5, D), node(
        "stabilityDetectionV2", '"input":%s,"window":%s,"threshold":%s' % (
            S, D2, node("percentage", '"value":%s' % flit("5.0"))))),
    (lambda x: x.stale_ranges(D), node("numericStaleRangesV2", '"input":%s,"threshold":%s' % (S, D2))),
    (lambda x: x.group_by(CURRENT, EVERY, ALIGN), node(
        "groupBy", '"input":%s,"tags":%s,"timestamp":%s,"alignment":{"type":"contextDefaults","contextDefaults":{}}' % (
            NUM, CUR, CUR))),
    (lambda x: x.peaks(), node("extremaRangesV2", '"input":%s,"selection":"PEAK"' % S)),
    (lambda x: x.troughs(0), node("extremaRangesV2", '"input":%s,"minimumProminence":%s,"selection":"TROUGH"' % (
        S, flit("0.0")))),
    (lambda x: x.peaks_and_troughs(minimum_prominence=VAR_P), node(
        "extremaRangesV2", '"input":%s,"minimumProminence":{"type":"variable","variable":"p"},"selection":"BOTH"' % S)),
]


@pytest.mark.parametrize("call, expected", GOLDEN)
def test_nodes(call, expected):
    x = s()
    shared = [a.to_json() for a in SHARED]
    first, second = call(x), call(x)
    assert first is not second
    assert first.to_json() == second.to_json() == expected
    assert x.to_json() == S
    assert [a.to_json() for a in SHARED] == shared


def test_refprop_inputs_are_written_in_property_order_whatever_the_dict_order():
    one = NS.Refprop({"temperature": 1, "pressure": 2}, "air", "mass_density").to_json()
    assert one == NS.Refprop({"pressure": 2, "temperature": 1}, "air", "mass_density").to_json()
    assert one.index('"TEMPERATURE"') < one.index('"PRESSURE"')


@pytest.mark.parametrize("inputs, key", [({"temp": 1}, "temp"), ({"pressure": 1, "b1": 2, "b2": 3}, "b1"),
                                         ({"b2": 1, "b1": 2}, "b2")])
def test_refprop_keys_are_checked_after_the_arguments_in_the_dicts_order(inputs, key):
    with pytest.raises(ValueError) as info:
        NS.Refprop(inputs, "nitrogen", "pressure")
    assert str(info.value) == "Invalid enum key '%s' for RefpropProperty in map: Invalid custom type: %s" % (key, key)
    assert getattr(info.value, "__notes__", []) == []


TIME_UNIT = "Failed to convert '%s' to TimeUnit enum: Invalid custom type: %s"
ERRORS = [
    (lambda: NS.Reference(5), TypeError, "'int' object is not an instance of 'str'", "name"),
    (lambda: NS.Constant("2"), TypeError, "failed to extract enum ConstantNumericSeriesInput ...", "constant"),
    (lambda: NS.SelectNumeric(storage="ICEBERG"), ValueError,
     "Failed to convert 'ICEBERG' to SeriesStorage enum: Invalid custom type: ICEBERG", "storage"),
    (lambda: NS.SelectNumericProperty("p", "d"), TypeError, "'str' object is not an instance of 'Dataset'", "dataset"),
    (lambda: NS.IfElse(s(), 1, 0), TypeError, "'NumericSeries' object is not an instance of 'BooleanSeries'",
     "condition"),
    (lambda: NS.NumericAggregation(c.NumericAggregationOperator.Max(), c.NumericAggregationOperator.Max()),
     TypeError, "'NumericAggregationOperator' object is not an instance of 'NumericAggregationBuilder'", "input"),
    (lambda: NS.NumericAggregation(s().rolling_time(D), c.EnumAggregationOperator.Max()),
     TypeError, "'EnumAggregationOperator' object is not an instance of 'NumericAggregationOperator'", "operator"),
    (lambda: NS.Udf([s(), "x"], SRC), TypeError, "Expected one of: enum (Class(CategoricalSeries)), numeric "
     "(Class(NumericSeries)), struct (Class(StructSeries))", "inputs"),
    # A bad key with a bad substance: the substance, coerced first.
    (lambda: NS.Refprop({"temp": 1}, "nitrogn", "pressure"), ValueError,
     "Failed to convert 'nitrogn' to RefpropSubstance enum: Invalid custom type: nitrogn", "substance"),
    (lambda: NS.Refprop({}, "air", "PRESSURE"), ValueError,
     "Failed to convert 'PRESSURE' to RefpropProperty enum: Invalid custom type: PRESSURE", "output"),
    # A bad value with a bad key: the value.
    (lambda: NS.Refprop({"temp": 1, "pressure": "x"}, "air", "pressure"), TypeError,
     "failed to extract enum NumericSeriesInput ...", "inputs"),
    (lambda: NS.Refprop({1: 1}, "air", "pressure"), TypeError, "'int' object is not an instance of 'str'", "inputs"),
    (lambda: s().derivative("SECONDS"), ValueError, TIME_UNIT % ("SECONDS", "SECONDS"), "time_unit"),
    (lambda: s().absolute_timestamp(None), ValueError, TIME_UNIT % ("None", "None"), "time_unit"),
    (lambda: s().z_score("abc"), TypeError, "Can't extract `str` to `Vec`", "group_by_tags"),
    (lambda: s().z_score({"x"}), TypeError, "'set' object is not an instance of 'Sequence'", "group_by_tags"),
    (lambda: s().select_tags(["a", 1]), TypeError, STRING_INPUT_ERROR % ("'int' object", "'int' object"), "tag_keys"),
    (lambda: s().signal_filter(None, 4), TypeError, "'None' is not an instance of 'SignalFilterConfiguration'",
     "signal_filter_configuration"),
    # A coercion failure comes before an int outside 32 bits, whichever parameter holds it.
    (lambda: s().signal_filter(LOW, 2**31, "x"), TypeError, FLOAT_INPUT_ERROR, "sampling_frequency"),
    (lambda: s().threshold_ranges(2**40, None, "x"), ValueError,
     "Failed to convert 'x' to RangeStart enum: Invalid custom type: x", "range_start"),
    (lambda: s().stability_ranges_absolute(1, 5, 2**31), TypeError, "'int' object is not an instance of 'Duration'",
     "window"),
    (lambda: s().resample(5), TypeError, "'int' object is not an instance of 'Duration'", "duration"),
    (lambda: s().unit_conversion(5), TypeError, "'int' object is not an instance of 'str'", "output_unit"),
    (lambda: s().value_map({}), TypeError, "'dict' object is not an instance of 'Sequence'", "mapping"),
    (lambda: s().value_map(["hot"]), TypeError, "'str' object is not an instance of 'RangeMap'", "mapping"),
    (lambda: s().value_map([], 1), TypeError, STRING_INPUT_ERROR % ("'int' object", "'int' object"), "default"),
    (lambda: s().stability_ranges_absolute(None, D), TypeError, FLOAT_INPUT_ERROR, "value"),
    (lambda: s().peaks("1"), TypeError, FLOAT_INPUT_ERROR, "minimum_prominence"),
    (lambda: s().group_by(None, EVERY), TypeError, "'None' is not an instance of 'GroupByTags'", "tags"),
    (lambda: s().threshold_ranges(range_start="CONDITION_START"), ValueError,
     "Failed to convert 'CONDITION_START' to RangeStart enum: Invalid custom type: CONDITION_START", "range_start"),
    (lambda: s().group_within_ranges(None), TypeError, "'None' is not an instance of 'RangeSeries'", "ranges"),
    (lambda: s().threshold_ranges().gt("5"), TypeError, FLOAT_INPUT_ERROR, "threshold"),
    (lambda: s().threshold_ranges().eq("5", "x"), TypeError, FLOAT_INPUT_ERROR, "threshold"),
    (lambda: s().threshold_ranges().ne(5, "x"), TypeError, FLOAT_INPUT_ERROR, "tolerance"),
    (lambda: s().group_within_ranges(RANGES).percentile("95"), TypeError, FLOAT_INPUT_ERROR, "percentile"),
]


@pytest.mark.parametrize("call, kind, message, parameter", ERRORS)
def test_argument_errors(call, kind, message, parameter):
    assert_argument_error(call, kind, message, parameter)


@pytest.mark.parametrize("call, message", [
    (lambda: s().head(), "NumericSeries.head() missing 1 required positional argument: 'num_points'"),
    (lambda: s().bit_test(operand=1), "NumericSeries.bit_test() got an unexpected keyword argument 'operand'"),
    (lambda: s().derivative(1, 2, 3), "NumericSeries.derivative() takes from 0 to 2 positional arguments but 3 "
     "were given"),
    (lambda: s().group_within_ranges(RANGES).percentile(1, 2), "GroupWithinRangesBuilder.percentile() takes 1 "
     "positional arguments but 2 were given"),
])
def test_argument_matching(call, message):
    assert_type_error(call, message)


@pytest.mark.parametrize("call, message", [
    (lambda: s().bit_and(4294967295), POS),
    (lambda: s().signal_filter(LOW, 2**31), POS),
    (lambda: s().stability_ranges_percentage(1, D, -2**31 - 1),
     "integer value exceeds i32 range: TryFromIntError(NegOverflow)"),
    (lambda: s().threshold_ranges(2147483648), POS),
    (lambda: s().rolling_points(2**31), POS),
])
def test_ints_outside_32_bits_panic(call, message):
    assert_panics(call, message)


def threshold_node(options, comparison):
    return node("thresholdRangesV2", '"input":%s%s,"comparison":%s' % (S, options, comparison))


OPTIONS = ',"minPoints":%s,"minDuration":%s,"rangeStart":"PERSISTENCE_START"' % (ilit(3), D2)


@pytest.mark.parametrize("complete, comparison", [
    (lambda b: b.gt(5), node("gt", '"threshold":%s' % flit("5.0"))),
    (lambda b: b.ge(True), node("ge", '"threshold":%s' % flit("1.0"))),
    (lambda b: b.lt(threshold=-0.5), node("lt", '"threshold":%s' % flit("-0.5"))),
    (lambda b: b.le(VAR_P), node("le", '"threshold":{"type":"variable","variable":"p"}')),
    (lambda b: b.eq(1.5), node("eq", '"threshold":%s' % flit("1.5"))),
    (lambda b: b.eq(1.5, None), node("eq", '"threshold":%s' % flit("1.5"))),
    (lambda b: b.ne(1, tolerance=0.25), node("ne", '"threshold":%s,"tolerance":%s' % (flit("1.0"), flit("0.25")))),
])
@pytest.mark.parametrize("options, text", [(lambda x: x.threshold_ranges(), ""),
                                           (lambda x: x.threshold_ranges(3, D, "persistence_start"), OPTIONS)])
def test_threshold_ranges_builder(complete, comparison, options, text):
    builder = options(s())
    first = complete(builder)
    assert type(first) is c.RangeSeries
    assert first.to_json() == complete(builder).to_json() == threshold_node(text, comparison)
    assert builder.gt(0).to_json() == threshold_node(text, node("gt", '"threshold":%s' % flit("0.0")))


@pytest.mark.parametrize("complete, aggregation", [
    (lambda b: b.sum(), '{"type":"sum","sum":{}}'), (lambda b: b.mean(), '{"type":"average","average":{}}'),
    (lambda b: b.min(), '{"type":"min","min":{}}'), (lambda b: b.max(), '{"type":"max","max":{}}'),
    (lambda b: b.count(), '{"type":"count","count":{}}'),
    (lambda b: b.std(), '{"type":"standardDeviation","standardDeviation":{}}'),
    (lambda b: b.root_mean_square(), '{"type":"rootMeanSquare","rootMeanSquare":{}}'),
    (lambda b: b.percentile(95), '{"type":"percentile","percentile":{"percentile":%s}}' % flit("95.0")),
    (lambda b: b.percentile(percentile=VAR_P),
     '{"type":"percentile","percentile":{"percentile":{"type":"variable","variable":"p"}}}'),
])
def test_group_within_ranges_builder(complete, aggregation):
    builder = s().group_within_ranges(RANGES)
    expected = node("groupWithinRangesV2", '"input":%s,"ranges":%s,"aggregation":%s' % (S, STALE, aggregation))
    assert complete(builder).to_json() == complete(builder).to_json() == expected
    with pytest.raises(TypeError):
        builder.sum(1)
