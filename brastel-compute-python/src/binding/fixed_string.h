// Text usable as a template argument, so that a method's text signature is
// part of its type: everything derived from it (name, doc, parameter names)
// is computed by the compiler, once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace brastel_python::binding {

template <std::size_t N>
struct FixedString {
  char data[N]{};

  constexpr FixedString() = default;
  constexpr FixedString(const char (&text)[N]) { std::copy_n(text, N, data); }

  static constexpr std::size_t size() { return N - 1; }
  constexpr std::string_view view() const { return {data, N - 1}; }
  // NUL-terminated, for the C API.
  constexpr const char* c_str() const { return data; }
};

template <std::size_t A, std::size_t B>
constexpr FixedString<A + B - 1> operator+(const FixedString<A>& a, const FixedString<B>& b) {
  FixedString<A + B - 1> out;
  std::copy_n(a.data, A - 1, out.data);
  std::copy_n(b.data, B, out.data + A - 1);
  return out;
}

}  // namespace brastel_python::binding
