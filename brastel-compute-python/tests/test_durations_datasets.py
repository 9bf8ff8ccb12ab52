"""Duration, Dataset and Sampling: factories, methods and their errors."""

import pytest

from brastel.compute import _compute as c
from conftest import (H1, STRING_INPUT_ERROR, assert_argument_error, assert_method_table, assert_type_error,
                      expected_notes, notes_of, slit)

RUN = '{"type":"run","run":{"rid":{"type":"literal","literal":"r1"}}}'
ASSET = '{"type":"asset","asset":{"rid":{"type":"literal","literal":"x"}}}'
VAR_W = '{"type":"variable","variable":"w"}'


def ilit(n):
    return '{"type":"literal","literal":%d}' % n


def count_node(tag, field, constant):
    return '{"type":"%s","%s":{"%s":%s}}' % (tag, tag, field, constant)




def panic_of(call):
    with pytest.raises(BaseException) as info:
        call()
    assert type(info.value).__name__ == "PanicException"
    assert not isinstance(info.value, Exception)
    return str(info.value)


# (class, factory, parameter, node tag) of every factory that takes one integer count.
COUNT_FACTORIES = [
    ("Duration", "Nanoseconds", "nanoseconds", "nanoseconds"),
    ("Duration", "Milliseconds", "milliseconds", "milliseconds"),
    ("Duration", "Seconds", "seconds", "seconds"),
    ("Duration", "Minutes", "minutes", "minutes"),
    ("Duration", "Hours", "hours", "hours"),
    ("Duration", "Days", "days", "days"),
    ("Sampling", "EveryNthPerSeries", "n", "everyNthPerSeries"),
    ("Sampling", "HashSubsample", "n", "hashSubsample"),
]

COUNTS = [
    pytest.param(lambda: 3, ilit(3), id="int"),
    pytest.param(lambda: 0, ilit(0), id="zero"),
    pytest.param(lambda: -2, ilit(-2), id="negative"),
    pytest.param(lambda: True, ilit(1), id="bool"),
    pytest.param(lambda: 2147483647, ilit(2147483647), id="i32-max"),
    pytest.param(lambda: -2147483648, ilit(-2147483648), id="i32-min"),
    pytest.param(lambda: c.IntegerConstant.Reference("w"), VAR_W, id="variable"),
    pytest.param(lambda: c.IntegerConstant.Literal(5), ilit(5), id="integer-constant"),
]


@pytest.mark.parametrize("cls, factory, param, tag", COUNT_FACTORIES)
@pytest.mark.parametrize("make, constant", COUNTS)
def test_count_factories(cls, factory, param, tag, make, constant):
    make_node = getattr(getattr(c, cls), factory)
    expected = count_node(tag, param, constant)
    assert make_node(make()).to_json() == expected
    assert make_node(**{param: make()}).to_json() == expected


@pytest.mark.parametrize("cls, factory, param, tag", COUNT_FACTORIES)
@pytest.mark.parametrize("value, message", [
    (2147483648, "integer value exceeds i32 range: TryFromIntError(PosOverflow)"),
    (-2147483649, "integer value exceeds i32 range: TryFromIntError(NegOverflow)"),
])
def test_count_outside_32_bits_panics(cls, factory, param, tag, value, message):
    assert panic_of(lambda: getattr(getattr(c, cls), factory)(value)) == message


INTEGER_INPUT_ERROR = ("failed to extract enum IntegerConstantInput ('Wrapped | Integer')\n"
                       "- variant Wrapped (Wrapped): TypeError: failed to extract field "
                       "IntegerConstantInput::Wrapped.0, caused by TypeError: %s is not an instance of "
                       "'IntegerConstant'\n- variant Integer (Integer): TypeError: failed to extract field "
                       "IntegerConstantInput::Integer.0, caused by %s: ")


@pytest.mark.parametrize("cls, factory, param, tag", COUNT_FACTORIES)
@pytest.mark.parametrize("value, type_name, cause", [
    (1.5, "'float' object", "TypeError"),
    ("3", "'str' object", "TypeError"),
    (None, "'None'", "TypeError"),
    (2 ** 63, "'int' object", "OverflowError"),
])
def test_count_of_the_wrong_kind(cls, factory, param, tag, value, type_name, cause):
    with pytest.raises(TypeError) as info:
        getattr(getattr(c, cls), factory)(value)
    assert str(info.value).startswith(INTEGER_INPUT_ERROR % (type_name, cause))
    assert notes_of(info.value) == expected_notes(param)


@pytest.mark.parametrize("name", ["win", "", " spaced ", "ünï", 'q"\\'])
def test_duration_reference(name):
    escaped = name.replace("\\", "\\\\").replace('"', '\\"')
    assert c.Duration.Reference(name).to_json() == '{"type":"reference","reference":{"name":"%s"}}' % escaped


RIDS = [
    pytest.param(lambda: "r1", slit("r1"), id="str"),
    pytest.param(lambda: "", slit(""), id="empty"),
    pytest.param(lambda: c.StringConstant.Reference("ds"), '{"type":"variable","variable":"ds"}', id="variable"),
    pytest.param(lambda: c.StringConstant.Literal("lit"), slit("lit"), id="string-constant"),
]


@pytest.mark.parametrize("factory, tag", [("Asset", "asset"), ("Run", "run"), ("Saved", "saved")])
@pytest.mark.parametrize("make, rid", RIDS)
def test_resource_factories(factory, tag, make, rid):
    expected = '{"type":"%s","%s":{"rid":%s}}' % (tag, tag, rid)
    assert getattr(c.Dataset, factory)(make()).to_json() == expected
    assert getattr(c.Dataset, factory)(rid=make()).to_json() == expected


@pytest.mark.parametrize("inputs, expected", [
    (lambda: [], '{"type":"combine","combine":{}}'),
    (lambda: (), '{"type":"combine","combine":{}}'),
    (lambda: [c.Dataset.Run("r1")], '{"type":"combine","combine":{"inputs":[%s]}}' % RUN),
    (lambda: [c.Dataset.Asset("x"), c.Dataset.Run("r1"), c.Dataset.Asset("x")],
     '{"type":"combine","combine":{"inputs":[%s,%s,%s]}}' % (ASSET, RUN, ASSET)),
])
def test_combine(inputs, expected):
    assert c.Dataset.Combine(inputs()).to_json() == expected


def test_combine_keeps_a_repeated_object_twice():
    a = c.Dataset.Run("r1")
    assert c.Dataset.Combine([a, a]).to_json() == '{"type":"combine","combine":{"inputs":[%s,%s]}}' % (RUN, RUN)


def test_tag_and_time_shift():
    a = c.Dataset.Run("r1")
    tagged = a.tag("unit", "m")
    assert tagged.to_json() == '{"type":"tag","tag":{"input":%s,"key":%s,"value":%s}}' % (
        RUN, slit("unit"), slit("m"))
    by_keyword = a.tag(value=c.StringConstant.Reference("v"), key="k")
    assert by_keyword.to_json() == '{"type":"tag","tag":{"input":%s,"key":%s,"value":%s}}' % (
        RUN, slit("k"), '{"type":"variable","variable":"v"}')
    shifted = a.time_shift(c.Duration.Hours(1))
    assert shifted.to_json() == '{"type":"timeShift","timeShift":{"input":%s,"offset":%s}}' % (RUN, H1)
    assert a.to_json() == RUN


def test_chained_dataset_methods_nest():
    expr = c.Dataset.Run("r1").tag("k", "v").time_shift(-c.Duration.Hours(1))
    tag = '{"type":"tag","tag":{"input":%s,"key":%s,"value":%s}}' % (RUN, slit("k"), slit("v"))
    negated = '{"type":"negate","negate":{"input":%s}}' % H1
    assert expr.to_json() == '{"type":"timeShift","timeShift":{"input":%s,"offset":%s}}' % (tag, negated)


ARGUMENT_ERRORS = [
    (lambda: c.Duration.Reference(5), "'int' object is not an instance of 'str'", "name"),
    (lambda: c.Duration.Reference(None), "'None' is not an instance of 'str'", "name"),
    (lambda: c.Dataset.Run(5), STRING_INPUT_ERROR % ("'int' object", "'int' object"), "rid"),
    (lambda: c.Dataset.Asset(b"x"), STRING_INPUT_ERROR % ("'bytes' object", "'bytes' object"), "rid"),
    (lambda: c.Dataset.Combine("ab"), "Can't extract `str` to `Vec`", "inputs"),
    (lambda: c.Dataset.Combine([c.Dataset.Run("r"), 1]), "'int' object is not an instance of 'Dataset'", "inputs"),
    (lambda: c.Dataset.Combine({c.Dataset.Run("r")}), "'set' object is not an instance of 'Sequence'", "inputs"),
    (lambda: c.Dataset.Run("r").tag(1, 2), STRING_INPUT_ERROR % ("'int' object", "'int' object"), "key"),
    (lambda: c.Dataset.Run("r").tag("k", 2.5), STRING_INPUT_ERROR % ("'float' object", "'float' object"), "value"),
    (lambda: c.Dataset.Run("r").time_shift(3600), "'int' object is not an instance of 'Duration'", "offset"),
    (lambda: c.Dataset.Run("r").time_shift(None), "'None' is not an instance of 'Duration'", "offset"),
]


@pytest.mark.parametrize("call, message, param", ARGUMENT_ERRORS)
def test_argument_errors(call, message, param):
    assert_argument_error(call, TypeError, message, param)


@pytest.mark.parametrize("call, message", [
    (lambda: c.Duration.Days(), "Duration.Days() missing 1 required positional argument: 'days'"),
    (lambda: c.Duration.Days(1, 2), "Duration.Days() takes 1 positional arguments but 2 were given"),
    (lambda: c.Sampling.HashSubsample(m=1), "Sampling.HashSubsample() got an unexpected keyword argument 'm'"),
    (lambda: c.Dataset.Run("r").tag("k"), "Dataset.tag() missing 1 required positional argument: 'value'"),
    (lambda: c.Dataset.Run("r").tag("k", key="k"), "Dataset.tag() got multiple values for argument 'key'"),
    (lambda: c.Dataset.Run("r").time_shift(),
     "Dataset.time_shift() missing 1 required positional argument: 'offset'"),
])
def test_parameter_matching(call, message):
    assert_type_error(call, message)


METHOD_TABLES = [
    ("Duration", ["Reference", "Nanoseconds", "Milliseconds", "Seconds", "Minutes", "Hours", "Days", "to_json"]),
    ("Dataset", ["Asset", "Run", "Saved", "Combine", "tag", "time_shift", "to_json"]),
    ("Sampling", ["EveryNthPerSeries", "HashSubsample", "to_json"]),
]


@pytest.mark.parametrize("cls, methods", METHOD_TABLES)
def test_method_tables(cls, methods):
    assert_method_table(getattr(c, cls), methods)


@pytest.mark.parametrize("method, signature", [
    (lambda: c.Duration.Reference, "(name)"),
    (lambda: c.Duration.Nanoseconds, "(nanoseconds)"),
    (lambda: c.Duration.Days, "(days)"),
    (lambda: c.Dataset.Combine, "(inputs)"),
    (lambda: c.Dataset.tag, "($self, key, value)"),
    (lambda: c.Dataset.time_shift, "($self, offset)"),
    (lambda: c.Sampling.EveryNthPerSeries, "(n)"),
    (lambda: c.Sampling.HashSubsample, "(n)"),
])
def test_text_signatures(method, signature):
    assert method().__text_signature__ == signature


def test_results_are_new_objects_with_equal_json():
    a, b = c.Duration.Days(2), c.Duration.Days(2)
    assert a is not b and a.to_json() == b.to_json()
    ds = c.Dataset.Run("r1")
    assert ds.tag("k", "v") is not ds.tag("k", "v")
