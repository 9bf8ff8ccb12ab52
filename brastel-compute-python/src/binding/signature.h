// A text signature ("Reference(name)", "derivative($self, time_unit=None)")
// read by the compiler: the Python name, whether a receiver comes first, and
// each parameter's name and whether it is optional ("=None"). A malformed
// signature does not compile.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "binding/fixed_string.h"

namespace brastel_python::binding {

inline constexpr std::size_t kMaxParameters = 12;

struct ParsedSignature {
  std::string_view name;
  bool has_self = false;
  std::size_t count = 0;     // parameters, the receiver not counted
  std::size_t required = 0;  // the leading parameters without "=None"
  std::array<std::string_view, kMaxParameters> params{};
};

namespace detail {

constexpr bool is_identifier(std::string_view s) {
  if (s.empty() || (s[0] >= '0' && s[0] <= '9')) return false;
  for (char c : s) {
    bool ok = c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!ok) return false;
  }
  return true;
}

// Throwing in a constant expression is how a bad signature fails to compile.
constexpr void require(bool ok, const char* why) {
  if (!ok) throw why;
}

}  // namespace detail

constexpr ParsedSignature parse_signature(std::string_view sig) {
  using detail::require;
  ParsedSignature out;
  std::size_t open = sig.find('(');
  require(open != std::string_view::npos && sig.ends_with(")"), "signature must read name(...)");
  out.name = sig.substr(0, open);
  require(detail::is_identifier(out.name), "signature name must be an identifier");
  std::string_view rest = sig.substr(open + 1, sig.size() - open - 2);
  bool first = true;
  bool seen_optional = false;
  while (!rest.empty()) {
    std::size_t comma = rest.find(", ");
    std::string_view item = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 2);
    require(!(comma != std::string_view::npos && rest.empty()), "trailing comma in signature");
    if (item == "$self") {
      require(first, "$self must come first");
      out.has_self = true;
    } else {
      bool optional = item.ends_with("=None");
      if (optional) item.remove_suffix(5);
      require(detail::is_identifier(item), "parameter names must be identifiers");
      require(optional || !seen_optional, "required parameters must precede optional ones");
      require(out.count < kMaxParameters, "too many parameters");
      for (std::size_t i = 0; i < out.count; ++i) require(out.params[i] != item, "parameter named twice");
      seen_optional = seen_optional || optional;
      out.params[out.count++] = item;
      if (!optional) ++out.required;
    }
    first = false;
  }
  return out;
}

// Everything the binding needs from one signature, made at compile time.
template <FixedString Sig>
struct Signature {
  static constexpr ParsedSignature parsed = parse_signature(Sig.view());
  // The Python name, NUL-terminated (PyMethodDef::ml_name).
  static constexpr auto name = [] {
    FixedString<parsed.name.size() + 1> out;
    for (std::size_t i = 0; i < parsed.name.size(); ++i) out.data[i] = Sig.data[i];
    return out;
  }();
  // CPython's signature form: inspect.signature reads it, help() shows no doc.
  static constexpr auto doc = Sig + FixedString("\n--\n\n");
};

}  // namespace brastel_python::binding
