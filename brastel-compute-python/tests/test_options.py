"""Option classes (grouping, UDF source, negative values, signal filters,
unbounded ranges) and RangeMap with its constructor."""

import pytest

from brastel.compute import _compute as c
from conftest import (H1, STRING_INPUT_ERROR, assert_argument_error, assert_method_table, assert_type_error, flit,
                      own_methods, slit)


def var(name):
    return '{"type":"variable","variable":"%s"}' % name


@pytest.mark.parametrize("call, expected", [
    (lambda: c.NegativeValueConfiguration.AllowNegativeValues(),
     '{"type":"allowNegativeValues","allowNegativeValues":{}}'),
    (lambda: c.NegativeValueConfiguration.SetNegativeValuesToZero(),
     '{"type":"setNegativeValuesToZero","setNegativeValuesToZero":{}}'),
    (lambda: c.NegativeValueConfiguration.ExcludeNegativeValues(),
     '{"type":"excludeNegativeValues","excludeNegativeValues":{}}'),
    (lambda: c.UnboundedRangeBehavior.ClampToWindow(), '{"type":"clampToWindow","clampToWindow":{}}'),
    (lambda: c.UnboundedRangeBehavior.Drop(), '{"type":"drop","drop":{}}'),
    (lambda: c.GroupByTags.Current(), '{"type":"current","current":{}}'),
    (lambda: c.GroupByTimestamp.Current(), '{"type":"current","current":{}}'),
    (lambda: c.GroupByAlignment.ContextDefaults(), '{"type":"contextDefaults","contextDefaults":{}}'),
    (lambda: c.GroupByTimestamp.Every(c.Duration.Hours(1)), '{"type":"every","every":%s}' % H1),
    (lambda: c.GroupByTimestamp.Every(every=-c.Duration.Hours(1)),
     '{"type":"every","every":{"type":"negate","negate":{"input":%s}}}' % H1),
    (lambda: c.UdfSource.Rust(""), '{"type":"rust","rust":{"sourceCode":""}}'),
    (lambda: c.UdfSource.Rust(source_code="  fn f(x: f64) -> f64 {\n\tx\n}  "),
     '{"type":"rust","rust":{"sourceCode":"  fn f(x: f64) -> f64 {\\n\\tx\\n}  "}}'),
])
def test_option_factories(call, expected):
    assert call().to_json() == expected


@pytest.mark.parametrize("tag, key_low, key_high", [
    ("BandPass", "lowPassbandFrequency", "highPassbandFrequency"),
    ("BandStop", "lowStopbandFrequency", "highStopbandFrequency"),
])
@pytest.mark.parametrize("low, high, low_json, high_json", [
    (10, 2, flit("10.0"), flit("2.0")),
    (0.5, -1, flit("0.5"), flit("-1.0")),
    (c.FloatConstant.Reference("lo"), True, var("lo"), flit("1.0")),
    (1e16, float("nan"), flit("1e+16"), flit("null")),
])
def test_band_filters_keep_argument_order(tag, key_low, key_high, low, high, low_json, high_json):
    wire = tag[0].lower() + tag[1:]
    expected = '{"type":"%s","%s":{"%s":%s,"%s":%s}}' % (wire, wire, key_low, low_json, key_high, high_json)
    factory = getattr(c.SignalFilterConfiguration, tag)
    assert factory(low, high).to_json() == expected
    params = {"BandPass": ("low_passband_frequency", "high_passband_frequency"),
              "BandStop": ("low_stopband_frequency", "high_stopband_frequency")}[tag]
    assert factory(**{params[1]: high, params[0]: low}).to_json() == expected


@pytest.mark.parametrize("tag", ["LowPass", "HighPass"])
@pytest.mark.parametrize("value, text", [
    (5, flit("5.0")),
    (5.0, flit("5.0")),
    (-0.0, flit("-0.0")),
    (1e-6, flit("1e-6")),
    (c.FloatConstant.Reference("f"), var("f")),
    (c.FloatConstant.Literal(2), flit("2.0")),
])
def test_single_cutoff_filters(tag, value, text):
    wire = tag[0].lower() + tag[1:]
    expected = '{"type":"%s","%s":{"cutoffFrequency":%s}}' % (wire, wire, text)
    factory = getattr(c.SignalFilterConfiguration, tag)
    assert factory(value).to_json() == expected
    assert factory(cutoff_frequency=value).to_json() == expected


@pytest.mark.parametrize("tags, expected", [
    (lambda: [], "{}"),
    (lambda: (), "{}"),
    (lambda: ["b", "a", "b"], '{"tags":[%s,%s]}' % (slit("a"), slit("b"))),
    (lambda: ("ab", "a", "B", ""), '{"tags":[%s,%s,%s,%s]}' % (slit(""), slit("B"), slit("a"), slit("ab"))),
    (lambda: [c.StringConstant.Reference("v"), "a"], '{"tags":[%s,%s]}' % (slit("a"), var("v"))),
    (lambda: [c.StringConstant.Reference("z"), c.StringConstant.Reference("y"), "z",
              c.StringConstant.Literal("z"), c.StringConstant.Reference("y")],
     '{"tags":[%s,%s,%s]}' % (slit("z"), var("y"), var("z"))),
])
def test_subset_is_an_ordered_set(tags, expected):
    assert c.GroupByTags.Subset(tags()).to_json() == '{"type":"subset","subset":%s}' % expected


FLOAT_INPUT_ERROR = ("failed to extract enum FloatConstantInput ('Wrapped | Number')\n"
                     "- variant Wrapped (Wrapped): TypeError: failed to extract field "
                     "FloatConstantInput::Wrapped.0, caused by TypeError: %s is not an instance of "
                     "'FloatConstant'\n- variant Number (Number): TypeError: failed to extract field "
                     "FloatConstantInput::Number.0, caused by ")

ARGUMENT_ERRORS = [
    (lambda: c.GroupByTags.Subset("ab"), "Can't extract `str` to `Vec`", "tags"),
    (lambda: c.GroupByTags.Subset({"a"}), "'set' object is not an instance of 'Sequence'", "tags"),
    (lambda: c.GroupByTags.Subset(["a", 1]), STRING_INPUT_ERROR % ("'int' object", "'int' object"), "tags"),
    (lambda: c.GroupByTags.Subset(None), "'None' is not an instance of 'Sequence'", "tags"),
    (lambda: c.GroupByTimestamp.Every(3600), "'int' object is not an instance of 'Duration'", "every"),
    (lambda: c.GroupByTimestamp.Every(None), "'None' is not an instance of 'Duration'", "every"),
    (lambda: c.UdfSource.Rust(b"x"), "'bytes' object is not an instance of 'str'", "source_code"),
    (lambda: c.UdfSource.Rust(None), "'None' is not an instance of 'str'", "source_code"),
    (lambda: c.SignalFilterConfiguration.LowPass("5"), FLOAT_INPUT_ERROR % "'str' object" + "...",
     "cutoff_frequency"),
    (lambda: c.SignalFilterConfiguration.HighPass(None), FLOAT_INPUT_ERROR % "'None'" + "...",
     "cutoff_frequency"),
    (lambda: c.SignalFilterConfiguration.BandPass("a", "b"), FLOAT_INPUT_ERROR % "'str' object" + "...",
     "low_passband_frequency"),
    (lambda: c.SignalFilterConfiguration.BandPass(1, "b"), FLOAT_INPUT_ERROR % "'str' object" + "...",
     "high_passband_frequency"),
    (lambda: c.SignalFilterConfiguration.BandStop([], 1), FLOAT_INPUT_ERROR % "'list' object" + "...",
     "low_stopband_frequency"),
    (lambda: c.SignalFilterConfiguration.BandStop(1, 10 ** 400), FLOAT_INPUT_ERROR % "'int' object" + "...",
     "high_stopband_frequency"),
    (lambda: c.RangeMap(1), STRING_INPUT_ERROR % ("'int' object", "'int' object"), "output"),
    (lambda: c.RangeMap(None), STRING_INPUT_ERROR % ("'None'", "'None'"), "output"),
    (lambda: c.RangeMap("x", "a"), FLOAT_INPUT_ERROR % "'str' object" + "...", "start"),
    (lambda: c.RangeMap("x", None, "b"), FLOAT_INPUT_ERROR % "'str' object" + "...", "end"),
    (lambda: c.RangeMap(1, "a", "b"), STRING_INPUT_ERROR % ("'int' object", "'int' object"), "output"),
    (lambda: c.RangeMap("x", end=c.Duration.Days(1)), FLOAT_INPUT_ERROR % "'Duration' object" + "...", "end"),
]


@pytest.mark.parametrize("call, message, param", ARGUMENT_ERRORS)
def test_argument_errors(call, message, param):
    assert_argument_error(call, TypeError, message, param)


@pytest.mark.parametrize("call", [
    lambda: c.NegativeValueConfiguration.AllowNegativeValues(1),
    lambda: c.UnboundedRangeBehavior.Drop(None),
    lambda: c.GroupByTags.Current(x=1),
    lambda: c.GroupByAlignment.ContextDefaults(1),
])
def test_factories_without_parameters_refuse_arguments(call):
    with pytest.raises(TypeError):
        call()


@pytest.mark.parametrize("call, message", [
    (lambda: c.SignalFilterConfiguration.BandPass(1),
     "SignalFilterConfiguration.BandPass() missing 1 required positional argument: 'high_passband_frequency'"),
    (lambda: c.SignalFilterConfiguration.BandStop(),
     "SignalFilterConfiguration.BandStop() missing 2 required positional arguments: "
     "'low_stopband_frequency' and 'high_stopband_frequency'"),
    (lambda: c.GroupByTags.Subset([], []), "GroupByTags.Subset() takes 1 positional arguments but 2 were given"),
    (lambda: c.UdfSource.Rust(code="x"), "UdfSource.Rust() got an unexpected keyword argument 'code'"),
])
def test_parameter_matching(call, message):
    assert_type_error(call, message)


@pytest.mark.parametrize("call, expected", [
    (lambda: c.RangeMap("high"), '{"output":%s}' % slit("high")),
    (lambda: c.RangeMap("high", 10), '{"start":%s,"output":%s}' % (flit("10.0"), slit("high"))),
    (lambda: c.RangeMap("high", None, None), '{"output":%s}' % slit("high")),
    (lambda: c.RangeMap(output="x", end=3), '{"end":%s,"output":%s}' % (flit("3.0"), slit("x"))),
    (lambda: c.RangeMap("x", start=None, end=3), '{"end":%s,"output":%s}' % (flit("3.0"), slit("x"))),
    (lambda: c.RangeMap(end=1, start=5, output="x"),
     '{"start":%s,"end":%s,"output":%s}' % (flit("5.0"), flit("1.0"), slit("x"))),
    (lambda: c.RangeMap(c.StringConstant.Reference("o"), c.FloatConstant.Reference("s"), 2.5),
     '{"start":%s,"end":%s,"output":%s}' % (var("s"), flit("2.5"), var("o"))),
    (lambda: c.RangeMap("", True, False), '{"start":%s,"end":%s,"output":%s}' % (flit("1.0"), flit("0.0"), slit(""))),
])
def test_range_map(call, expected):
    rm = call()
    assert type(rm) is c.RangeMap
    assert rm.to_json() == expected


@pytest.mark.parametrize("call, message", [
    (lambda: c.RangeMap(), "RangeMap.__new__() missing 1 required positional argument: 'output'"),
    (lambda: c.RangeMap(start=1), "RangeMap.__new__() missing 1 required positional argument: 'output'"),
    (lambda: c.RangeMap("x", 1, 2, 3), "RangeMap.__new__() takes from 1 to 3 positional arguments but 4 were given"),
    (lambda: c.RangeMap("x", width=1), "RangeMap.__new__() got an unexpected keyword argument 'width'"),
    (lambda: c.RangeMap("x", output="y"), "RangeMap.__new__() got multiple values for argument 'output'"),
])
def test_range_map_parameter_matching(call, message):
    assert_type_error(call, message)


def test_range_map_class():
    assert c.RangeMap.__text_signature__ == "(output, start=None, end=None)"
    assert own_methods(c.RangeMap) == ["to_json"]
    with pytest.raises(TypeError):
        type("Sub", (c.RangeMap,), {})
    rm = c.RangeMap("x")
    with pytest.raises(AttributeError):
        rm.output = "y"


METHOD_TABLES = [
    ("NegativeValueConfiguration", ["AllowNegativeValues", "SetNegativeValuesToZero", "ExcludeNegativeValues",
                                    "to_json"]),
    ("SignalFilterConfiguration", ["LowPass", "HighPass", "BandPass", "BandStop", "to_json"]),
    ("UnboundedRangeBehavior", ["ClampToWindow", "Drop", "to_json"]),
    ("GroupByTags", ["Current", "Subset", "to_json"]),
    ("GroupByTimestamp", ["Current", "Every", "to_json"]),
    ("GroupByAlignment", ["ContextDefaults", "to_json"]),
    ("UdfSource", ["Rust", "to_json"]),
]


@pytest.mark.parametrize("cls, methods", METHOD_TABLES)
def test_method_tables(cls, methods):
    assert_method_table(getattr(c, cls), methods)


@pytest.mark.parametrize("method, signature", [
    (lambda: c.NegativeValueConfiguration.AllowNegativeValues, "()"),
    (lambda: c.SignalFilterConfiguration.LowPass, "(cutoff_frequency)"),
    (lambda: c.SignalFilterConfiguration.BandPass, "(low_passband_frequency, high_passband_frequency)"),
    (lambda: c.SignalFilterConfiguration.BandStop, "(low_stopband_frequency, high_stopband_frequency)"),
    (lambda: c.UnboundedRangeBehavior.Drop, "()"),
    (lambda: c.GroupByTags.Subset, "(tags)"),
    (lambda: c.GroupByTimestamp.Every, "(every)"),
    (lambda: c.UdfSource.Rust, "(source_code)"),
])
def test_text_signatures(method, signature):
    assert method().__text_signature__ == signature


def test_factories_copy_and_return_new_objects():
    d = c.Duration.Hours(1)
    every = c.GroupByTimestamp.Every(d)
    assert d.to_json() == H1
    assert c.GroupByTags.Current() is not c.GroupByTags.Current()
    assert c.SignalFilterConfiguration.LowPass(5).to_json() == c.SignalFilterConfiguration.LowPass(5.0).to_json()
    assert every.to_json() == c.GroupByTimestamp.Every(d).to_json()
