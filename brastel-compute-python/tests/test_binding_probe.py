"""The binding layer through the probe module (probe/binding_probe.cpp): one
function per kind of parameter, each returning what it extracted."""

import sys
import threading

import pytest

from conftest import HAS_NOTES, expected_notes, notes_of


def raised(call):
    with pytest.raises(BaseException) as error:
        call()
    return error.value


# ---- argument matching

MATCHING = [
    (lambda p: p.three(), "three() missing 3 required positional arguments: 'a', 'b', and 'c'"),
    (lambda p: p.three("a"), "three() missing 2 required positional arguments: 'b' and 'c'"),
    (lambda p: p.three("a", c="c"), "three() missing 1 required positional argument: 'b'"),
    (lambda p: p.three(b="b"), "three() missing 2 required positional arguments: 'a' and 'c'"),
    (lambda p: p.three(1, 2, 3, 4), "three() takes 3 positional arguments but 4 were given"),
    (lambda p: p.optional(1, 2, 3, 4), "optional() takes from 1 to 3 positional arguments but 4 were given"),
    (lambda p: p.optional(), "optional() missing 1 required positional argument: 'a'"),
    (lambda p: p.optional("a", d=1), "optional() got an unexpected keyword argument 'd'"),
    (lambda p: p.optional("a", "b", b="b"), "optional() got multiple values for argument 'b'"),
    # Too many positionals is reported before any keyword.
    (lambda p: p.optional(1, 2, 3, 4, d=1), "optional() takes from 1 to 3 positional arguments but 4 were given"),
    # Keywords are checked in the order given, before the missing ones.
    (lambda p: p.three("a", x=1, a=2), "three() got an unexpected keyword argument 'x'"),
    (lambda p: p.three("a", a=2, x=1), "three() got multiple values for argument 'a'"),
    (lambda p: p.Probe.Make("t").echo(), "Probe.echo() missing 1 required positional argument: 'a'"),
    (lambda p: p.Probe.Make("t").echo(1, 2, 3, 4),
     "Probe.echo() takes from 1 to 3 positional arguments but 4 were given"),
    (lambda p: p.Probe.Make(), "Probe.Make() missing 1 required positional argument: 'text'"),
    (lambda p: p.RangeMap(1, 2, 3, 4), "RangeMap.__new__() takes from 1 to 3 positional arguments but 4 were given"),
    (lambda p: p.RangeMap("o", stop=1), "RangeMap.__new__() got an unexpected keyword argument 'stop'"),
]


@pytest.mark.parametrize("call, message", MATCHING)
def test_argument_matching(probe, call, message):
    error = raised(lambda: call(probe))
    assert type(error) is TypeError
    assert str(error) == message
    assert notes_of(error) == []


MATCHED = [
    (lambda p: p.three("a", "b", "c"), "a b c"),
    (lambda p: p.three(c="c", b="b", a="a"), "a b c"),
    (lambda p: p.three("a", c="c", b="b"), "a b c"),
    (lambda p: p.optional("a"), "a absent absent"),
    (lambda p: p.optional("a", None, None), "a absent absent"),
    (lambda p: p.optional("a", c="z"), "a absent 'z'"),
    (lambda p: p.optional(a="a", b=None, c="y"), "a absent 'y'"),
    # Keyword names made at run time are not interned: matched by text.
    (lambda p: p.optional(**{"".join(["a"]): "a", "".join(["c", ""]): "q"}), "a absent 'q'"),
    (lambda p: p.Probe.Make("t").echo("a", c="c"), "t: a absent 'c'"),
    (lambda p: p.Probe.Make(text="u").text(), "u"),
    (lambda p: p.Probe.Empty(), "empty"),
]


@pytest.mark.parametrize("call, result", MATCHED)
def test_arguments_fill_parameters(probe, call, result):
    assert call(probe) == result


def test_methods_without_parameters_take_no_arguments(probe):
    for call in (lambda: probe.Probe.Make("t").text(1), lambda: probe.Probe.Empty(1),
                 lambda: probe.Probe.Make("t").text(x=1)):
        assert type(raised(call)) is TypeError


def test_module_functions_carry_their_module(probe):
    assert probe.three.__module__ == probe.__name__
    assert probe.three.__self__ is probe
    assert probe.three.__doc__ is None
    assert probe.three.__text_signature__ == "(a, b, c)"
    assert probe.optional.__text_signature__ == "(a, b=None, c=None)"


# ---- notes: the failing parameter is named, never a matching error or a later one

def test_note_names_the_failing_parameter(probe):
    error = raised(lambda: probe.three("a", "b", 3))
    assert str(error) == "'int' object is not an instance of 'str'"
    assert notes_of(error) == expected_notes("c")


def test_first_failing_argument_ends_the_call(probe):
    error = raised(lambda: probe.three(1, 2, 3))
    assert notes_of(error) == expected_notes("a")


def test_notes_absent_before_3_11(probe):
    error = raised(lambda: probe.number("x"))
    if HAS_NOTES:
        assert error.__notes__ == ["while processing 'x'"]
    else:
        assert not hasattr(error, "__notes__")


# ---- plain values

class Index:
    def __init__(self, value):
        self.value = value

    def __index__(self):
        return self.value


class Real:
    def __float__(self):
        return 0.5


class Failing:
    def __float__(self):
        raise KeyError("no float")

    def __index__(self):
        raise KeyError("no index")


VALUES = [
    (lambda p: p.number(2).to_json(), '{"type":"literal","literal":2.0}'),
    (lambda p: p.number(True).to_json(), '{"type":"literal","literal":1.0}'),
    (lambda p: p.number(Real()).to_json(), '{"type":"literal","literal":0.5}'),
    (lambda p: p.number(Index(3)).to_json(), '{"type":"literal","literal":3.0}'),
    (lambda p: p.integer(-2**63), str(-2**63)),
    (lambda p: p.integer(2**63 - 1), str(2**63 - 1)),
    (lambda p: p.integer(False), "0"),
    (lambda p: p.integer(Index(9)), "9"),
    (lambda p: p.text("é\u2603\U0001f600"), "é\u2603\U0001f600"),
    (lambda p: p.text(type("S", (str,), {})("sub")), "sub"),
    (lambda p: p.text("a\0b"), "a\0b"),
]


@pytest.mark.parametrize("call, result", VALUES)
def test_plain_values(probe, call, result):
    assert call(probe) == result


PLAIN_FAILURES = [
    (lambda p: p.number("1"), TypeError, "must be real number, not str"),
    (lambda p: p.number(Failing()), KeyError, "'no float'"),
    (lambda p: p.number(10**400), OverflowError, None),
    (lambda p: p.integer(1.0), TypeError, "'float' object cannot be interpreted as an integer"),
    (lambda p: p.integer(2**63), OverflowError, None),
    (lambda p: p.integer(Failing()), KeyError, "'no index'"),
    (lambda p: p.text(1), TypeError, "'int' object is not an instance of 'str'"),
    (lambda p: p.text(None), TypeError, "'None' is not an instance of 'str'"),
    (lambda p: p.text("\udc80"), UnicodeEncodeError, None),
]


@pytest.mark.parametrize("call, kind, message", PLAIN_FAILURES)
def test_plain_value_failures(probe, call, kind, message):
    error = raised(lambda: call(probe))
    assert type(error) is kind
    if message is not None:
        assert str(error) == message
    assert notes_of(error) == expected_notes("x")


# ---- class arguments

def test_class_argument_messages(probe):
    d = probe.duration("d")
    assert probe.duration_list([d, d]) == '[{"type":"reference","reference":{"name":"d"}},' \
                                          '{"type":"reference","reference":{"name":"d"}}]'
    cases = [
        (None, "'None' is not an instance of 'Duration'"),
        (1.5, "'float' object is not an instance of 'Duration'"),
        (probe.numeric_series("x"), "'NumericSeries' object is not an instance of 'Duration'"),
        (Index.__init__, "'function' object is not an instance of 'Duration'"),
    ]
    for value, message in cases:
        error = raised(lambda: probe.duration_list([d, value]))
        assert (type(error), str(error)) == (TypeError, message)
        assert notes_of(error) == expected_notes("values")


def test_class_argument_names_the_qualified_type(probe):
    class Outer:
        class Inner:
            pass

    error = raised(lambda: probe.duration_list([Outer.Inner()]))
    assert str(error) == ("'test_class_argument_names_the_qualified_type.<locals>.Outer.Inner' object "
                          "is not an instance of 'Duration'")


def test_held_class_argument_takes_only_its_class(probe):
    numeric = probe.numeric_rolling_points(probe.numeric_series("n"), 3)
    categorical = probe.categorical_rolling_points(probe.categorical_series("c"), 3)
    assert type(numeric).__name__ == "NumericAggregationBuilder"
    assert type(categorical).__name__ == "CategoricalAggregationBuilder"
    assert numeric.to_json() == ('{"type":"rollingPoints","rollingPoints":{"input":{"type":"numeric","numeric":'
                                 '{"type":"raw","raw":{"name":"n"}}},"points":{"type":"literal","literal":3}}}')
    assert probe.numeric_builder_only(numeric) == numeric.to_json()
    error = raised(lambda: probe.numeric_builder_only(categorical))
    assert str(error) == "'CategoricalAggregationBuilder' object is not an instance of 'NumericAggregationBuilder'"


# ---- input unions

NUMERIC_HEAD = ("failed to extract enum NumericSeriesInput "
                "('Wrapped | Number | FloatConstant | ConstantNumericSeries')")


def union_lines(union, variants, causes):
    lines = []
    for variant, cause in zip(variants, causes):
        lines.append(f"- variant {variant} ({variant}): TypeError: failed to extract field "
                     f"{union}::{variant}.0, caused by {cause}")
    return lines


def test_numeric_series_input_message(probe):
    error = raised(lambda: probe.numeric_series_input("x"))
    assert type(error) is TypeError and error.__cause__ is None
    assert str(error).split("\n") == [NUMERIC_HEAD] + union_lines(
        "NumericSeriesInput", ["Wrapped", "Number", "FloatConstant", "ConstantNumericSeries"],
        ["TypeError: 'str' object is not an instance of 'NumericSeries'",
         "TypeError: must be real number, not str",
         "TypeError: 'str' object is not an instance of 'FloatConstant'",
         "TypeError: 'str' object is not an instance of 'ConstantNumericSeries'"])
    assert notes_of(error) == expected_notes("value")


def test_union_variant_lines_carry_the_cause_chain(probe):
    class Chained:
        def __float__(self):
            try:
                raise KeyError("inner")
            except KeyError as inner:
                raise ValueError("outer") from inner

    lines = str(raised(lambda: probe.float_constant_input(Chained()))).split("\n")
    assert lines[0] == "failed to extract enum FloatConstantInput ('Wrapped | Number')"
    assert lines[2] == ("- variant Number (Number): TypeError: failed to extract field FloatConstantInput::Number.0, "
                        "caused by ValueError: outer, caused by KeyError: 'inner'")


def test_union_renders_an_unprintable_cause(probe):
    class Unprintable(Exception):
        def __str__(self):
            raise RuntimeError("no")

    class Raises:
        def __float__(self):
            raise Unprintable()

    lines = str(raised(lambda: probe.float_constant_input(Raises()))).split("\n")
    assert lines[2].endswith("caused by test_union_renders_an_unprintable_cause.<locals>.Unprintable: "
                             "<exception str() failed>")


UNION_FAILURES = [
    ("constant_numeric_series_input", "x", "ConstantNumericSeriesInput", ["Wrapped", "Number", "FloatConstant"],
     ["TypeError: 'str' object is not an instance of 'ConstantNumericSeries'",
      "TypeError: must be real number, not str",
      "TypeError: 'str' object is not an instance of 'FloatConstant'"]),
    ("integer_constant_input", 3.0, "IntegerConstantInput", ["Wrapped", "Integer"],
     ["TypeError: 'float' object is not an instance of 'IntegerConstant'",
      "TypeError: 'float' object cannot be interpreted as an integer"]),
    ("string_constant_input", 5, "StringConstantInput", ["Wrapped", "String"],
     ["TypeError: 'int' object is not an instance of 'StringConstant'",
      "TypeError: 'int' object is not an instance of 'str'"]),
    ("string_constant_input", None, "StringConstantInput", ["Wrapped", "String"],
     ["TypeError: 'None' is not an instance of 'StringConstant'",
      "TypeError: 'None' is not an instance of 'str'"]),
    ("float_constant_input", "1", "FloatConstantInput", ["Wrapped", "Number"],
     ["TypeError: 'str' object is not an instance of 'FloatConstant'",
      "TypeError: must be real number, not str"]),
    # An object of another of the module's classes: every variant explained.
    ("numeric_series_input", lambda p: p.Duration.Hours(1), "NumericSeriesInput",
     ["Wrapped", "Number", "FloatConstant", "ConstantNumericSeries"],
     ["TypeError: 'Duration' object is not an instance of 'NumericSeries'",
      "TypeError: must be real number, not _compute.Duration",
      "TypeError: 'Duration' object is not an instance of 'FloatConstant'",
      "TypeError: 'Duration' object is not an instance of 'ConstantNumericSeries'"]),
]


@pytest.mark.parametrize("function, value, union, variants, causes", UNION_FAILURES)
def test_union_messages(probe, function, value, union, variants, causes):
    value = value(probe) if callable(value) else value
    error = raised(lambda: getattr(probe, function)(value))
    assert type(error) is TypeError
    head = f"failed to extract enum {union} ('{' | '.join(variants)}')"
    assert str(error).split("\n") == [head] + union_lines(union, variants, causes)


def test_integer_input_overflow_is_the_interpreters(probe):
    lines = str(raised(lambda: probe.integer_constant_input(2**63))).split("\n")
    assert lines[2].startswith("- variant Integer (Integer): TypeError: failed to extract field "
                               "IntegerConstantInput::Integer.0, caused by OverflowError: ")


UNIONS_TAKEN = [
    (lambda p: p.numeric_series_input(p.numeric_series("s")), '{"type":"raw","raw":{"name":"s"}}'),
    (lambda p: p.numeric_series_input(5), '{"type":"constant","constant":{"type":"double","double":'
                                          '{"type":"literal","literal":5.0}}}'),
    (lambda p: p.numeric_series_input(True), '{"type":"constant","constant":{"type":"double","double":'
                                             '{"type":"literal","literal":1.0}}}'),
    (lambda p: p.numeric_series_input(p.FloatConstant.Reference("f")),
     '{"type":"constant","constant":{"type":"double","double":{"type":"variable","variable":"f"}}}'),
    (lambda p: p.numeric_series_input(p.ConstantNumericSeries.Float(2)),
     '{"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":2.0}}}'),
    (lambda p: p.constant_numeric_series_input(p.ConstantNumericSeries.Float(p.FloatConstant.Reference("k"))),
     '{"type":"double","double":{"type":"variable","variable":"k"}}'),
    (lambda p: p.constant_numeric_series_input(1.5), '{"type":"double","double":{"type":"literal","literal":1.5}}'),
    (lambda p: p.constant_numeric_series_input(p.FloatConstant.Literal(3)),
     '{"type":"double","double":{"type":"literal","literal":3.0}}'),
    (lambda p: p.integer_constant_input(p.IntegerConstant.Reference("n")), '{"type":"variable","variable":"n"}'),
    (lambda p: p.integer_constant_input(2147483647), '{"type":"literal","literal":2147483647}'),
    (lambda p: p.integer_constant_input(-2147483648), '{"type":"literal","literal":-2147483648}'),
    (lambda p: p.string_constant_input("t"), '{"type":"literal","literal":"t"}'),
    (lambda p: p.string_constant_input(p.StringConstant.Reference("v")), '{"type":"variable","variable":"v"}'),
    (lambda p: p.float_constant_input(7), '{"type":"literal","literal":7.0}'),
    (lambda p: p.float_constant_input(p.FloatConstant.Reference("r")), '{"type":"variable","variable":"r"}'),
]


@pytest.mark.parametrize("call, json", UNIONS_TAKEN)
def test_union_variants_taken(probe, call, json):
    assert call(probe).to_json() == json


@pytest.mark.parametrize("value, message", [
    (2147483648, "integer value exceeds i32 range: TryFromIntError(PosOverflow)"),
    (-2147483649, "integer value exceeds i32 range: TryFromIntError(NegOverflow)"),
])
def test_integer_input_is_range_checked_when_converted(probe, value, message):
    error = raised(lambda: probe.integer_constant_input(value))
    assert type(error).__name__ == "PanicException" and str(error) == message
    assert notes_of(error) == []  # raised by the body, after extraction


# ---- series of any kind

def test_wrapped_series(probe):
    assert probe.series(probe.categorical_series("c")) == '{"type":"enum","enum":{"type":"raw","raw":{"name":"c"}}}'
    assert probe.series(probe.numeric_series("n")) == '{"type":"numeric","numeric":{"type":"raw","raw":{"name":"n"}}}'
    for value in (1, None, probe.duration("d")):
        error = raised(lambda: probe.series(value))
        assert (type(error), str(error)) == (
            TypeError,
            "Expected one of: enum (Class(CategoricalSeries)), numeric (Class(NumericSeries)), struct "
            "(Class(StructSeries))")
        assert error.__cause__ is None
        assert notes_of(error) == expected_notes("value")


# ---- text-named enums

ENUMS = [
    ("time_unit", "TimeUnit", ["days", "hours", "minutes", "seconds", "milliseconds", "microseconds",
                               "nanoseconds"]),
    ("numeric_data_type", "NumericDataType", ["int64", "float64", "uint64"]),
    ("range_start", "RangeStart", ["condition_start", "persistence_start"]),
    ("refprop_property", "RefpropProperty", ["temperature", "pressure", "mass_density", "mass_specific_enthalpy",
                                             "mass_specific_internal_energy", "mass_specific_entropy",
                                             "viscosity"]),
    ("refprop_substance", "RefpropSubstance", ["nitrogen", "oxygen", "helium", "hydrogen", "methane", "propane",
                                               "butane", "water", "xenon", "air", "carbon_dioxide", "argon",
                                               "carbon_monoxide", "jet_a_4658", "jet_a_3638"]),
    ("series_storage", "SeriesStorage", ["iceberg", "clickhouse"]),
    ("unbounded_behavior", "UnboundedBehavior", ["infinity", "window_bound"]),
]


@pytest.mark.parametrize("function, name, texts", ENUMS)
def test_enum_texts(probe, function, name, texts):
    parse = getattr(probe, function)
    assert [parse(text) for text in texts] == texts
    for bad in (texts[0].upper(), " " + texts[0], texts[0] + "\0", "", None, 7):
        error = raised(lambda: parse(bad))
        text = str(bad)
        assert (type(error), str(error)) == (
            ValueError, f"Failed to convert '{text}' to {name} enum: Invalid custom type: {text}")
        assert notes_of(error) == expected_notes("value")


def test_enum_takes_str_of_any_object(probe):
    class Unit:
        def __str__(self):
            return "seconds"

    assert probe.time_unit(Unit()) == "seconds"
    assert probe.optional_time_unit() == "absent"
    assert probe.optional_time_unit(None) == "absent"
    assert probe.optional_time_unit(unit="days") == "days"


def test_enum_text_of_lone_surrogate_is_replaced(probe):
    error = raised(lambda: probe.range_start("a\udc80b"))
    assert str(error) == ("Failed to convert 'a\ufffdb' to RangeStart enum: Invalid custom type: a\ufffdb")


def test_enum_unprintable_object_goes_to_the_unraisable_hook(probe, monkeypatch):
    class Unprintable:
        def __str__(self):
            raise ZeroDivisionError("no text")

    seen = []
    monkeypatch.setattr(sys, "unraisablehook", seen.append)
    value = Unprintable()
    error = raised(lambda: probe.series_storage(value))
    assert str(error) == ("Failed to convert '<unprintable Unprintable object>' to SeriesStorage enum: "
                          "Invalid custom type: <unprintable Unprintable object>")
    assert len(seen) == 1
    assert type(seen[0].exc_value) is ZeroDivisionError
    assert seen[0].object is value


# ---- lists

LISTS = [
    (lambda p: p.string_list([]), "[]"),
    (lambda p: p.string_list(("b", "a", "b")), '[{"type":"literal","literal":"b"},{"type":"literal","literal":"a"},'
                                               '{"type":"literal","literal":"b"}]'),
    (lambda p: p.string_list([p.StringConstant.Reference("v"), "t"]),
     '[{"type":"variable","variable":"v"},{"type":"literal","literal":"t"}]'),
    (lambda p: p.numeric_list(b"\x01\x02"),
     '[{"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":1.0}}},'
     '{"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":2.0}}}]'),
    (lambda p: p.numeric_list(range(1)),
     '[{"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":0.0}}}]'),
    (lambda p: p.series_list([p.numeric_series("n")]), '[{"type":"numeric","numeric":{"type":"raw","raw":'
                                                       '{"name":"n"}}}]'),
]


@pytest.mark.parametrize("call, json", LISTS)
def test_lists(probe, call, json):
    assert call(probe) == json


class LyingLength:
    """A sequence whose length is not the number of its items."""

    def __len__(self):
        return 2**62

    def __getitem__(self, index):
        if index >= 2:
            raise IndexError
        return "x"


def test_length_only_sizes_the_list(probe):
    assert probe.string_list(LyingLength()) == '[{"type":"literal","literal":"x"},{"type":"literal","literal":"x"}]'


LIST_FAILURES = [
    (lambda p: p.string_list("ab"), "Can't extract `str` to `Vec`"),
    (lambda p: p.numeric_list(type("S", (str,), {})("ab")), "Can't extract `str` to `Vec`"),
    (lambda p: p.string_list({"a"}), "'set' object is not an instance of 'Sequence'"),
    (lambda p: p.string_list({"a": 1}), "'dict' object is not an instance of 'Sequence'"),
    (lambda p: p.string_list(x for x in "a"), "'generator' object is not an instance of 'Sequence'"),
    (lambda p: p.string_list(None), "'None' is not an instance of 'Sequence'"),
    (lambda p: p.series_list([p.numeric_series("n"), 2]),
     "Expected one of: enum (Class(CategoricalSeries)), numeric (Class(NumericSeries)), struct "
     "(Class(StructSeries))"),
]


@pytest.mark.parametrize("call, message", LIST_FAILURES)
def test_list_failures(probe, call, message):
    error = raised(lambda: call(probe))
    assert (type(error), str(error)) == (TypeError, message)
    assert notes_of(error) == expected_notes("values")


def test_first_failing_element_is_reported_unchanged(probe):
    error = raised(lambda: probe.string_list(["a", 1, None]))
    assert str(error).split("\n")[0] == "failed to extract enum StringConstantInput ('Wrapped | String')"
    assert "'int' object" in str(error) and "'None'" not in str(error)


# ---- dicts

def test_dict_keeps_its_order(probe):
    assert probe.float_dict({"on": 1, "off": 0.5}) == \
        '{"on":{"type":"literal","literal":1.0},"off":{"type":"literal","literal":0.5}}'
    assert probe.float_dict({}) == "{}"
    assert probe.float_dict({"k": probe.FloatConstant.Reference("v")}) == '{"k":{"type":"variable","variable":"v"}}'


def test_dict_through_construction_is_ordered_by_key(probe):
    a, b = probe.numeric_series("x"), probe.categorical_series("y")
    one = probe.series_dict({"b": a, "a": b}).to_json()
    two = probe.series_dict({"a": b, "b": a}).to_json()
    assert one == two == ('{"type":"combine","combine":{"inputs":{"a":{"type":"enum","enum":{"type":"raw","raw":'
                          '{"name":"y"}}},"b":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"x"}}}}}}')


def test_repeated_text_keeps_first_place_and_later_value(probe):
    class Distinct(str):
        __hash__ = object.__hash__

        def __eq__(self, other):
            return self is other

    mapping = {Distinct("k"): 1, "z": 2, Distinct("k"): 3}
    assert len(mapping) == 3
    assert probe.float_dict(mapping) == '{"k":{"type":"literal","literal":3.0},"z":{"type":"literal","literal":2.0}}'


DICT_FAILURES = [
    (lambda p: p.float_dict([("a", 1)]), "'list' object is not an instance of 'dict'"),
    (lambda p: p.float_dict(None), "'None' is not an instance of 'dict'"),
    (lambda p: p.float_dict({"a": 1, 2: 1}), "'int' object is not an instance of 'str'"),
]


@pytest.mark.parametrize("call, message", DICT_FAILURES)
def test_dict_failures(probe, call, message):
    error = raised(lambda: call(probe))
    assert (type(error), str(error)) == (TypeError, message)
    assert notes_of(error) == expected_notes("mapping")


def test_dict_changing_while_read_panics(probe):
    mapping = {}

    class Grows:
        def __float__(self):
            mapping["new"] = 1.0
            return 1.0

    class Swaps:
        def __float__(self):
            del mapping["a"]
            mapping["c"] = 1.0
            return 1.0

    mapping.update(a=Grows(), b=2.0)
    error = raised(lambda: probe.float_dict(mapping))
    assert type(error).__name__ == "PanicException"
    assert str(error) == "dictionary changed size during iteration"

    mapping.clear()
    mapping.update(a=Swaps(), b=2.0)
    error = raised(lambda: probe.float_dict(mapping))
    assert type(error).__name__ == "PanicException"
    assert str(error) == "dictionary keys changed during iteration"


def test_refprop_keys(probe):
    assert probe.refprop({"viscosity": 1, "pressure": probe.numeric_series("p")}) == "viscosity pressure"
    # Of several bad keys, the first in the dict's order; no note (raised by the body).
    for mapping, key in [({"pressure": 1, "bad": 2, "worse": 3}, "bad"), ({"worse": 3, "bad": 2}, "worse")]:
        error = raised(lambda: probe.refprop(mapping))
        assert (type(error), str(error)) == (
            ValueError, f"Invalid enum key '{key}' for RefpropProperty in map: Invalid custom type: {key}")
        assert notes_of(error) == []


def test_refprop_bad_value_wins_over_bad_key(probe):
    error = raised(lambda: probe.refprop({"bad": 1, "pressure": "x"}))
    assert type(error) is TypeError
    assert str(error).startswith(NUMERIC_HEAD)
    assert notes_of(error) == expected_notes("inputs")


# ---- the exception boundary

def test_panic_reaches_python_with_its_report(probe, capfd):
    error = raised(lambda: probe.panic("bad state"))
    assert type(error).__name__ == "PanicException" and str(error) == "bad state"
    assert isinstance(error, BaseException) and not isinstance(error, Exception)
    report = capfd.readouterr().err
    assert report.startswith("thread 'main' (")
    assert "binding_probe.cpp:" in report
    assert report.endswith(":\nbad state\n")


def test_panic_on_another_thread_names_it_unnamed(probe, capfd):
    errors = []
    worker = threading.Thread(target=lambda: errors.append(raised(lambda: probe.panic("elsewhere"))))
    worker.start()
    worker.join()
    assert str(errors[0]) == "elsewhere"
    assert capfd.readouterr().err.startswith("thread '<unnamed>' (")


def test_cpp_failures_become_python_exceptions(probe):
    assert type(raised(probe.bad_alloc)) is MemoryError
    error = raised(probe.cpp_error)
    assert (type(error), str(error)) == (SystemError, "unexpected state")


def test_too_deep_to_write_is_a_recursion_error(probe):
    series = probe.deep_numeric_series(300_000)
    outcome = []

    def write():
        try:
            series.to_json()
            outcome.append("written")
        except RecursionError as error:
            outcome.append(str(error))

    # A thread with a small stack reaches the writer's limit quickly.
    old = threading.stack_size(1 << 20)
    try:
        worker = threading.Thread(target=write)
        worker.start()
        worker.join()
    finally:
        threading.stack_size(old)
    assert outcome == ["recursion limit exceeded while writing JSON"]
    del series  # freeing a deep tree does not recurse either


class IndexOnly:
    def __index__(self):
        return 7


# Which variant takes a value: a number is anything with __float__ or
# __index__; an object of a class is taken by its own class's variant.
@pytest.mark.parametrize("function, value, expected", [
    ("float_constant_input", IndexOnly(), '{"type":"literal","literal":7.0}'),
    ("float_constant_input", True, '{"type":"literal","literal":1.0}'),
    ("numeric_series_input", lambda p: p.FloatConstant.Reference("f"),
     '{"type":"constant","constant":{"type":"double","double":{"type":"variable","variable":"f"}}}'),
    ("numeric_series_input", lambda p: p.ConstantNumericSeries.Float(2),
     '{"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":2.0}}}'),
])
def test_union_variant_taken(probe, function, value, expected):
    value = value(probe) if callable(value) else value
    assert getattr(probe, function)(value).to_json() == expected
