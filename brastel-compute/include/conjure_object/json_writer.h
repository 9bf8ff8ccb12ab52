// The compact JSON writer shared by every generated type: one growable buffer,
// appended to in one pass through an inline cursor. Errors are values: the
// first one is kept and the enclosing writers stop as soon as they see it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "conjure_object/stack_guard.h"

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

// Longest text of one float in the wire layout ("-0.0000" plus 17 digits, or
// "-d.dddddddddddddddde-308"), with room to spare.
inline constexpr std::size_t kMaxFloatText = 40;

class JsonWriter {
 public:
  // The buffer is the one the writing thread's previous writer left behind
  // when it is large enough (so a writer finds its pages already mapped),
  // else a new one of at least `capacity` bytes: mapped, or from malloc
  // where the system refuses the mapping. A thread keeps a buffer of at
  // most 1 MiB between writers, never one that came from malloc that way; a
  // bigger one, or such a one, goes back when its writer is destroyed.
  explicit JsonWriter(std::size_t capacity = 128);
  ~JsonWriter();
  JsonWriter(const JsonWriter&) = delete;
  JsonWriter& operator=(const JsonWriter&) = delete;

  // Bytes appended unchanged (punctuation, pre-quoted keys and tags).
  void raw(std::string_view s) {
    reserve(s.size());
    std::memcpy(cur_, s.data(), s.size());
    cur_ += s.size();
  }
  void raw(char c) {
    reserve(1);
    *cur_++ = c;
  }

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
  // deep trees fail cleanly instead of overflowing the C stack; throws
  // std::bad_alloc where the stack could go deeper but the kernel refuses
  // to grow it. The thread's limit is read once, when the writer is made.
  bool enter() {
    if (stack_here() >= stack_limit_) [[likely]]
      return true;
    return past_limit();
  }

  std::string_view buffer() const noexcept { return {begin_, static_cast<std::size_t>(cur_ - begin_)}; }

  // Room for n more bytes at the cursor.
  void reserve(std::size_t n) {
    if (static_cast<std::size_t>(end_ - cur_) < n) [[unlikely]]
      grow(n);
  }

 private:
  void grow(std::size_t n);
  bool past_limit();

  char* begin_;
  char* cur_;
  char* end_;
  std::uintptr_t stack_limit_;
  // Whether the buffer is mapped rather than from malloc: it is resized and
  // released the way it was made.
  bool mapped_;
  std::optional<WriteError> error_;
};

// Writes the digits of a finite double or float in the wire's float layout
// at out (room for kMaxFloatText bytes); returns the count written. Exposed
// for the writer of unknown-arm object keys.
std::size_t format_f64(char* out, double v);
std::size_t format_f32(char* out, float v);

}  // namespace conjure_object
