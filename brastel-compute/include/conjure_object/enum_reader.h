// Reading a wire enum from its quoted name. Shared by every generated enum:
// the enum passes its known names and its short name for the error text.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "conjure_object/result.h"

namespace conjure_object {

struct KnownValue {
  std::size_t index;  // position in the known names
};
struct UnknownValue {
  std::string text;  // decoded text, made only of A-Z, 0-9 and _
};
using EnumRead = std::variant<KnownValue, UnknownValue>;

// Parses the whole JSON text `json`. A JSON string equal to a known name, or
// an object whose single member maps a known name to null, gives that known
// value; a non-empty string of A-Z, 0-9 and _ gives the unknown value;
// anything else fails with "data did not match any variant of untagged enum
// <enum_name>". JSON syntax errors fail with the parser's message, and text
// other than whitespace after the value with "trailing characters".
Result<EnumRead> read_enum(std::string_view json, std::span<const std::string_view> known_names,
                           std::string_view enum_name);

}  // namespace conjure_object
