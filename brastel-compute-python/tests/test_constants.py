"""IntegerConstant, StringConstant, FloatConstant and ConstantNumericSeries."""

import inspect
import math

import pytest

from brastel.compute import _compute as c
from conftest import assert_type_error, expected_notes, notes_of, own_methods

I32_MAX = 2147483647
I32_MIN = -2147483648


class Index:
    def __index__(self):
        return 7


class Real:
    def __float__(self):
        return 2.5


JSON = [
    (lambda: c.IntegerConstant.Literal(5), '{"type":"literal","literal":5}'),
    (lambda: c.IntegerConstant.Literal(I32_MAX), '{"type":"literal","literal":2147483647}'),
    (lambda: c.IntegerConstant.Literal(I32_MIN), '{"type":"literal","literal":-2147483648}'),
    (lambda: c.IntegerConstant.Literal(True), '{"type":"literal","literal":1}'),
    (lambda: c.IntegerConstant.Literal(Index()), '{"type":"literal","literal":7}'),
    (lambda: c.IntegerConstant.Literal(literal=-3), '{"type":"literal","literal":-3}'),
    (lambda: c.IntegerConstant.Reference("n"), '{"type":"variable","variable":"n"}'),
    (lambda: c.StringConstant.Literal(""), '{"type":"literal","literal":""}'),
    (lambda: c.StringConstant.Literal('a "q"\n\\'), '{"type":"literal","literal":"a \\"q\\"\\n\\\\"}'),
    (lambda: c.StringConstant.Reference(" v é "), '{"type":"variable","variable":" v é "}'),
    (lambda: c.StringConstant.Reference(variable=""), '{"type":"variable","variable":""}'),
    (lambda: c.FloatConstant.Literal(1), '{"type":"literal","literal":1.0}'),
    (lambda: c.FloatConstant.Literal(1.5), '{"type":"literal","literal":1.5}'),
    (lambda: c.FloatConstant.Literal(-0.1), '{"type":"literal","literal":-0.1}'),
    (lambda: c.FloatConstant.Literal(False), '{"type":"literal","literal":0.0}'),
    (lambda: c.FloatConstant.Literal(Real()), '{"type":"literal","literal":2.5}'),
    (lambda: c.FloatConstant.Literal(float("inf")), '{"type":"literal","literal":null}'),
    (lambda: c.FloatConstant.Literal(float("nan")), '{"type":"literal","literal":null}'),
    (lambda: c.FloatConstant.Reference("k"), '{"type":"variable","variable":"k"}'),
    (lambda: c.ConstantNumericSeries.Float(2), '{"type":"double","double":{"type":"literal","literal":2.0}}'),
    (lambda: c.ConstantNumericSeries.Float(value=0.25),
     '{"type":"double","double":{"type":"literal","literal":0.25}}'),
    (lambda: c.ConstantNumericSeries.Float(c.FloatConstant.Reference("k")),
     '{"type":"double","double":{"type":"variable","variable":"k"}}'),
]


@pytest.mark.parametrize("make, expected", JSON)
def test_json(make, expected):
    value = make()
    assert value.to_json() == expected
    assert value.to_json() == expected  # unchanged by being written


def test_each_call_makes_a_new_object():
    a, b = c.FloatConstant.Reference("k"), c.FloatConstant.Reference("k")
    assert a is not b and a.to_json() == b.to_json()
    inner = c.FloatConstant.Literal(3)
    outer = c.ConstantNumericSeries.Float(inner)
    assert outer is not inner and inner.to_json() == '{"type":"literal","literal":3.0}'


SIGNATURES = {
    "ConstantNumericSeries": ["Float(value)", "to_json($self)"],
    "IntegerConstant": ["Literal(literal)", "Reference(variable)", "to_json($self)"],
    "StringConstant": ["Literal(literal)", "Reference(variable)", "to_json($self)"],
    "FloatConstant": ["Literal(literal)", "Reference(variable)", "to_json($self)"],
}


@pytest.mark.parametrize("name", SIGNATURES)
def test_method_tables_and_signatures(name):
    cls = getattr(c, name)
    assert own_methods(cls) == [sig.split("(")[0] for sig in SIGNATURES[name]]
    for sig in SIGNATURES[name]:
        method_name, params = sig[:-1].split("(")
        raw = vars(cls)[method_name]
        if params.startswith("$self"):
            assert str(inspect.signature(getattr(cls, method_name))) == "(self, /)"
        else:
            assert isinstance(raw, staticmethod)
            assert str(inspect.signature(getattr(cls, method_name))) == f"({params})"
        assert getattr(cls, method_name).__doc__ is None  # the signature and nothing else
        assert getattr(cls, method_name).__text_signature__ == "(" + params + ")"


MATCHING = [
    (lambda: c.IntegerConstant.Literal(), "IntegerConstant.Literal() missing 1 required positional argument: 'literal'"),
    (lambda: c.StringConstant.Reference(),
     "StringConstant.Reference() missing 1 required positional argument: 'variable'"),
    (lambda: c.FloatConstant.Literal(1, 2), "FloatConstant.Literal() takes 1 positional arguments but 2 were given"),
    (lambda: c.ConstantNumericSeries.Float(1, 2, 3),
     "ConstantNumericSeries.Float() takes 1 positional arguments but 3 were given"),
    (lambda: c.FloatConstant.Literal(value=1), "FloatConstant.Literal() got an unexpected keyword argument 'value'"),
    (lambda: c.FloatConstant.Literal(1, literal=1),
     "FloatConstant.Literal() got multiple values for argument 'literal'"),
    (lambda: c.IntegerConstant.Reference("x", other=1),
     "IntegerConstant.Reference() got an unexpected keyword argument 'other'"),
]


@pytest.mark.parametrize("call, message", MATCHING)
def test_argument_matching(call, message):
    assert notes_of(assert_type_error(call, message)) == []


@pytest.mark.parametrize("args", [(1,), ()])
def test_to_json_takes_no_arguments(args):
    value = c.IntegerConstant.Literal(1)
    with pytest.raises(TypeError):
        value.to_json(*args, extra=1) if not args else value.to_json(*args)


BAD_ARGUMENTS = [
    (lambda: c.IntegerConstant.Literal(1.0), TypeError, "'float' object cannot be interpreted as an integer", "literal"),
    (lambda: c.IntegerConstant.Literal("1"), TypeError, None, "literal"),
    (lambda: c.IntegerConstant.Literal(2**63), OverflowError, None, "literal"),
    (lambda: c.IntegerConstant.Literal(None), TypeError, None, "literal"),
    (lambda: c.IntegerConstant.Reference(5), TypeError, "'int' object is not an instance of 'str'", "variable"),
    (lambda: c.StringConstant.Literal(5), TypeError, "'int' object is not an instance of 'str'", "literal"),
    (lambda: c.StringConstant.Literal(None), TypeError, "'None' is not an instance of 'str'", "literal"),
    (lambda: c.StringConstant.Reference(b"x"), TypeError, "'bytes' object is not an instance of 'str'", "variable"),
    (lambda: c.FloatConstant.Literal("2"), TypeError, "must be real number, not str", "literal"),
    (lambda: c.FloatConstant.Literal(10**400), OverflowError, None, "literal"),
    (lambda: c.FloatConstant.Reference(1.5), TypeError, "'float' object is not an instance of 'str'", "variable"),
]


@pytest.mark.parametrize("call, kind, message, parameter", BAD_ARGUMENTS)
def test_bad_arguments_raise_the_extraction_error_with_a_note(call, kind, message, parameter):
    with pytest.raises(kind) as error:
        call()
    assert type(error.value) is kind
    if message is not None:
        assert str(error.value) == message
    assert notes_of(error.value) == expected_notes(parameter)


FLOAT_INPUT_HEAD = "failed to extract enum FloatConstantInput ('Wrapped | Number')"


def test_float_lists_why_each_variant_failed():
    with pytest.raises(TypeError) as error:
        c.ConstantNumericSeries.Float("2")
    assert str(error.value) == (
        FLOAT_INPUT_HEAD + "\n"
        "- variant Wrapped (Wrapped): TypeError: failed to extract field FloatConstantInput::Wrapped.0, "
        "caused by TypeError: 'str' object is not an instance of 'FloatConstant'\n"
        "- variant Number (Number): TypeError: failed to extract field FloatConstantInput::Number.0, "
        "caused by TypeError: must be real number, not str")
    assert error.value.__cause__ is None
    assert notes_of(error.value) == expected_notes("value")


def test_float_refuses_other_constant_classes():
    with pytest.raises(TypeError) as error:
        c.ConstantNumericSeries.Float(c.IntegerConstant.Literal(1))
    lines = str(error.value).split("\n")
    assert lines[0] == FLOAT_INPUT_HEAD
    assert lines[1].endswith("caused by TypeError: 'IntegerConstant' object is not an instance of 'FloatConstant'")
    assert lines[2].startswith("- variant Number (Number): TypeError: failed to extract field "
                               "FloatConstantInput::Number.0, caused by TypeError: ")
    assert len(lines) == 3


PANICS = [
    (I32_MAX + 1, "integer value exceeds i32 range: TryFromIntError(PosOverflow)"),
    (I32_MIN - 1, "integer value exceeds i32 range: TryFromIntError(NegOverflow)"),
    (2**63 - 1, "integer value exceeds i32 range: TryFromIntError(PosOverflow)"),
    (-2**63, "integer value exceeds i32 range: TryFromIntError(NegOverflow)"),
]


@pytest.mark.parametrize("value, message", PANICS)
def test_literal_outside_32_bits_panics(value, message, capfd):
    with pytest.raises(BaseException) as error:
        c.IntegerConstant.Literal(value)
    panic = error.value
    assert not isinstance(panic, Exception)
    assert type(panic).__name__ == "PanicException"
    assert type(panic).__module__ == "pyo3_runtime"
    assert type(panic).__bases__ == (BaseException,)
    assert str(panic) == message
    assert notes_of(panic) == []
    report = capfd.readouterr().err
    assert report.startswith("thread 'main' (")
    assert ") panicked at " in report
    assert report.endswith(":\n" + message + "\n")


def test_panic_exception_class_is_made_once():
    kinds = set()
    for value in (I32_MAX + 1, I32_MIN - 1):
        try:
            c.IntegerConstant.Literal(value)
        except BaseException as error:  # noqa: B036 - PanicException derives from BaseException
            kinds.add(type(error))
    assert len(kinds) == 1


def test_non_finite_literals_are_kept():
    assert math.isinf(float("inf"))
    assert c.ConstantNumericSeries.Float(float("-inf")).to_json() == \
        '{"type":"double","double":{"type":"literal","literal":null}}'
