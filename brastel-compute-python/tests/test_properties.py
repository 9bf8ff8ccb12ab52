"""Properties of the wire text over generated inputs: floats in their exact
layout, texts escaped only where JSON needs it, integer literals in range,
tag sets in byte order."""

import json
import math
import re
import struct

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

from brastel.compute import _compute as c

LITERAL = re.compile(r'^\{"type":"literal","literal":(.*)\}$', re.S)


def literal_text(obj):
    return LITERAL.match(obj.to_json()).group(1)


def expected_float(x):
    """The float layout, from Python's own shortest round-trip digits."""
    if not math.isfinite(x):
        return "null"
    if x == 0:
        return "-0.0" if math.copysign(1, x) < 0 else "0.0"
    # repr gives the shortest round-trip digits; take them and the decimal
    # exponent of the first significant one.
    m = re.fullmatch(r"(\d+)(?:\.(\d+))?(?:e([+-]\d+))?", repr(abs(x)))
    whole, frac, exp = m.group(1), m.group(2) or "", int(m.group(3) or 0)
    significant = (whole + frac).lstrip("0")
    leading_zeros = len(whole + frac) - len(significant)
    e = exp + len(whole) - 1 - leading_zeros
    digits = significant.rstrip("0")
    sign = "-" if x < 0 else ""
    n = len(digits)
    if e < -5 or e > 15:
        body = digits[0] + ("." + digits[1:] if n > 1 else "") + "e" + ("-" if e < 0 else "+") + str(abs(e))
    elif e < 0:
        body = "0." + "0" * (-e - 1) + digits
    elif n <= e + 1:
        body = digits + "0" * (e + 1 - n) + ".0"
    else:
        body = digits[: e + 1] + "." + digits[e + 1 :]
    return sign + body


@pytest.mark.parametrize("x, text", [
    (2.0, "2.0"), (0.1, "0.1"), (12.5, "12.5"), (1e-5, "0.00001"), (1e-6, "1e-6"),
    (1.5e-7, "1.5e-7"), (1e15, "1000000000000000.0"), (1e16, "1e+16"), (-0.0, "-0.0"),
])
def test_reference_layout_agrees_with_the_fixed_examples(x, text):
    assert expected_float(x) == text


@settings(max_examples=2000, deadline=None)
@given(st.floats(allow_nan=True, allow_infinity=True))
def test_float_literals_round_trip_in_the_wire_layout(x):
    text = literal_text(c.FloatConstant.Literal(x))
    assert text == expected_float(x)
    if math.isfinite(x):
        back = json.loads(text)
        assert struct.pack("<d", back) == struct.pack("<d", x)


@settings(max_examples=500, deadline=None)
@given(st.text())
def test_texts_read_back_unchanged_and_escape_only_what_json_needs(s):
    text = literal_text(c.StringConstant.Literal(s))
    assert json.loads(text) == s
    # Escapes: the short forms, and \u00XX for the other control characters.
    escapes = re.findall(r"\\(u[0-9a-fA-F]{4}|.)", text)
    assert all(re.fullmatch(r'u00[01][0-9a-f]|[btnfr"\\]', esc) for esc in escapes)
    for ch in s:
        if ord(ch) >= 0x20 and ch not in '"\\':
            assert ch in text


@settings(max_examples=500, deadline=None)
@given(st.integers(min_value=-(2**31), max_value=2**31 - 1))
def test_integer_literals_in_range(n):
    assert literal_text(c.IntegerConstant.Literal(n)) == str(n)


@settings(max_examples=100, deadline=None)
@given(st.integers(min_value=2**31, max_value=2**63 - 1), st.booleans())
def test_integer_literals_out_of_range_panic(n, negative):
    value = -n - 1 if negative else n
    with pytest.raises(BaseException) as raised:
        c.IntegerConstant.Literal(value)
    assert type(raised.value).__name__ == "PanicException"
    side = "NegOverflow" if negative else "PosOverflow"
    assert str(raised.value) == f"integer value exceeds i32 range: TryFromIntError({side})"


@settings(max_examples=300, deadline=None)
@given(st.lists(st.text(max_size=4)))
def test_tag_subsets_are_sorted_by_utf8_bytes_without_duplicates(tags):
    out = json.loads(c.GroupByTags.Subset(tags).to_json())["subset"].get("tags", [])
    expected = sorted(set(tags), key=lambda t: t.encode())
    assert [t["literal"] for t in out] == expected
