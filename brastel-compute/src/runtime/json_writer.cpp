#include "conjure_object/json_writer.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>
#include <utility>

#include "conjure_object/stack_guard.h"

namespace conjure_object {
namespace {

// For each byte: 0 when copied as is, otherwise the letter after the
// backslash ('u' for the \u00XX form).
constexpr std::array<char, 256> kEscape = [] {
  std::array<char, 256> t{};
  for (int c = 0; c < 0x20; ++c) t[c] = 'u';
  t['\b'] = 'b';
  t['\t'] = 't';
  t['\n'] = 'n';
  t['\f'] = 'f';
  t['\r'] = 'r';
  t['"'] = '"';
  t['\\'] = '\\';
  return t;
}();

constexpr char kHex[] = "0123456789abcdef";

// Longest layout: "-0.0000" plus 17 digits, or "-d.dddddddddddddddde-308".
constexpr std::size_t kFloatBuf = 40;

// Lays out a finite, non-zero magnitude whose shortest round-trip digits and
// decimal exponent come from to_chars' scientific form ("d.ddde+XX").
std::size_t layout_float(char* out, const char* sci, const char* sci_end) {
  char digits[24];
  std::size_t n = 0;
  const char* p = sci;
  for (; p != sci_end && *p != 'e'; ++p) {
    if (*p != '.') digits[n++] = *p;
  }
  int e = 0;
  if (p != sci_end) {
    ++p;  // 'e'
    const bool neg = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    for (; p != sci_end; ++p) e = e * 10 + (*p - '0');
    if (neg) e = -e;
  }

  char* o = out;
  if (e < -5 || e > 15) {
    *o++ = digits[0];
    if (n > 1) {
      *o++ = '.';
      std::memcpy(o, digits + 1, n - 1);
      o += n - 1;
    }
    *o++ = 'e';
    *o++ = e < 0 ? '-' : '+';
    o = std::to_chars(o, out + kFloatBuf, e < 0 ? -e : e).ptr;
  } else if (e < 0) {
    *o++ = '0';
    *o++ = '.';
    for (int i = 0; i < -e - 1; ++i) *o++ = '0';
    std::memcpy(o, digits, n);
    o += n;
  } else if (n <= static_cast<std::size_t>(e) + 1) {
    std::memcpy(o, digits, n);
    o += n;
    for (std::size_t i = n; i < static_cast<std::size_t>(e) + 1; ++i) *o++ = '0';
    *o++ = '.';
    *o++ = '0';
  } else {
    const std::size_t whole = static_cast<std::size_t>(e) + 1;
    std::memcpy(o, digits, whole);
    o += whole;
    *o++ = '.';
    std::memcpy(o, digits + whole, n - whole);
    o += n - whole;
  }
  return static_cast<std::size_t>(o - out);
}

template <class F>
void format_float(std::string& out, F v) {
  if (!std::isfinite(v)) {
    out.append("null");
    return;
  }
  char buf[kFloatBuf];
  char* o = buf;
  if (std::signbit(v)) {
    *o++ = '-';
    v = -v;
  }
  if (v == F{0}) {
    *o++ = '0';
    *o++ = '.';
    *o++ = '0';
  } else {
    // Scientific with no precision gives the shortest round-trip digits of
    // the value's own type.
    char sci[32];
    const auto r = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific);
    o += layout_float(o, sci, r.ptr);
  }
  out.append(buf, static_cast<std::size_t>(o - buf));
}

}  // namespace

void format_f64(std::string& out, double v) { format_float(out, v); }
void format_f32(std::string& out, float v) { format_float(out, v); }

void JsonWriter::string(std::string_view s) {
  buf_.push_back('"');
  const char* run = s.data();
  const char* const end = s.data() + s.size();
  for (const char* p = run; p != end; ++p) {
    const char esc = kEscape[static_cast<unsigned char>(*p)];
    if (esc == 0) continue;
    buf_.append(run, static_cast<std::size_t>(p - run));
    run = p + 1;
    if (esc == 'u') {
      const auto c = static_cast<unsigned char>(*p);
      const char u[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
      buf_.append(u, sizeof u);
    } else {
      const char two[2] = {'\\', esc};
      buf_.append(two, sizeof two);
    }
  }
  buf_.append(run, static_cast<std::size_t>(end - run));
  buf_.push_back('"');
}

void JsonWriter::i64(std::int64_t v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  buf_.append(buf, static_cast<std::size_t>(r.ptr - buf));
}

void JsonWriter::u64(std::uint64_t v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  buf_.append(buf, static_cast<std::size_t>(r.ptr - buf));
}

void JsonWriter::f64(double v) { format_f64(buf_, v); }
void JsonWriter::f32(float v) { format_f32(buf_, v); }

void JsonWriter::fail(WriteErrorKind kind, std::string message) {
  if (!error_) error_ = WriteError{kind, std::move(message)};
}

bool JsonWriter::enter() {
  if (!stack_nearly_exhausted()) return true;
  fail(WriteErrorKind::TooDeep, "recursion limit exceeded while writing JSON");
  return false;
}

}  // namespace conjure_object
