// The compact JSON writer shared by every generated type: one growable buffer,
// appended to in one pass. Errors are values: the first one is kept and the
// enclosing writers stop as soon as they see it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace conjure_object {

enum class WriteErrorKind : std::uint8_t {
  // An unknown-arm object key that is neither text, number nor boolean.
  KeyMustBeString,
  // An unknown-arm object key that is a NaN or infinite float.
  FloatKeyNotFinite,
  // The tree is deeper than the stack of the writing thread allows.
  TooDeep,
};

struct WriteError {
  WriteErrorKind kind;
  std::string message;
};

class JsonWriter {
 public:
  explicit JsonWriter(std::size_t capacity = 128) { buf_.reserve(capacity); }

  // Bytes appended unchanged (punctuation, pre-quoted keys and tags).
  void raw(std::string_view s) { buf_.append(s); }
  void raw(char c) { buf_.push_back(c); }

  // A JSON string: quoted, with only the escapes the wire needs; non-ASCII
  // bytes, the solidus and 0x7F are copied unchanged.
  void string(std::string_view s);

  void boolean(bool b) { raw(b ? std::string_view("true") : std::string_view("false")); }
  void i64(std::int64_t v);
  void u64(std::uint64_t v);
  // Shortest round-trip digits, laid out so a float never reads as an
  // integer ("2.0", "1e-6", "1e+16"); NaN and infinities are "null".
  void f64(double v);
  void f32(float v);

  bool failed() const noexcept { return error_.has_value(); }
  // Keeps the first error only: later ones are consequences of it.
  void fail(WriteErrorKind kind, std::string message);
  const std::optional<WriteError>& error() const noexcept { return error_; }

  // Called on entering every nested node. Returns false (and records
  // TooDeep) when too little stack is left to go one level deeper, so very
  // deep trees fail cleanly instead of overflowing the C stack.
  bool enter();

  const std::string& buffer() const noexcept { return buf_; }
  std::string take() && { return std::move(buf_); }

 private:
  std::string buf_;
  std::optional<WriteError> error_;
};

// Appends the digits of a finite double or float in the wire's float layout;
// exposed for the writer of unknown-arm object keys.
void format_f64(std::string& out, double v);
void format_f32(std::string& out, float v);

}  // namespace conjure_object
