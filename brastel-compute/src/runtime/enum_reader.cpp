#include "conjure_object/enum_reader.h"

#include <cstdint>
#include <optional>

namespace conjure_object {
namespace {

// Deepest nesting of arrays and objects the reader accepts; its recursion
// stays far from the end of any stack.
constexpr int kMaxDepth = 128;

// What the enum reader needs of the parsed value: a top-level string's text,
// or a top-level object's member count and its first member. Nested values
// are checked for syntax only.
struct TopLevel {
  enum class Kind { String, Object, Other } kind = Kind::Other;
  std::string text;        // String: the decoded text; Object: the first key
  std::size_t members = 0;  // Object only
  bool first_is_null = false;
};

class Parser {
 public:
  explicit Parser(std::string_view in) : in_(in) {}

  // Parses the one value that must make up the whole input.
  std::optional<Error> parse(TopLevel& top) {
    skip_ws();
    if (!value(&top, 0)) return std::move(error_);
    skip_ws();
    if (pos_ != in_.size()) return Error{"trailing characters"};
    return std::nullopt;
  }

 private:
  bool at_end() const { return pos_ >= in_.size(); }
  char peek() const { return in_[pos_]; }

  void skip_ws() {
    while (!at_end()) {
      const char c = peek();
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r') break;
      ++pos_;
    }
  }

  // Records a syntax error at the current byte (or at the end of the input),
  // with a 1-based line and the column of that byte (0 on an empty line end).
  bool fail(std::string_view what) {
    std::size_t line = 1;
    std::size_t line_start = 0;
    const std::size_t upto = pos_ < in_.size() ? pos_ : in_.size();
    for (std::size_t i = 0; i < upto; ++i) {
      if (in_[i] == '\n') {
        ++line;
        line_start = i + 1;
      }
    }
    const std::size_t column = upto - line_start + (pos_ < in_.size() ? 1 : 0);
    error_ = Error{std::string(what) + " at line " + std::to_string(line) + " column " +
                   std::to_string(column)};
    return false;
  }

  bool value(TopLevel* top, int depth) {
    if (at_end()) return fail("EOF while parsing a value");
    switch (peek()) {
      case '"': {
        std::string text;
        if (!string(top ? &text : nullptr)) return false;
        if (top) {
          top->kind = TopLevel::Kind::String;
          top->text = std::move(text);
        }
        return true;
      }
      case '{':
        return object(top, depth + 1);
      case '[':
        return array(depth + 1);
      case 't':
        return literal("true");
      case 'f':
        return literal("false");
      case 'n':
        return literal("null");
      default:
        if (peek() == '-' || (peek() >= '0' && peek() <= '9')) return number();
        return fail("expected value");
    }
  }

  bool literal(std::string_view word) {
    for (char c : word) {
      if (at_end()) return fail("EOF while parsing a value");
      if (peek() != c) return fail("expected ident");
      ++pos_;
    }
    return true;
  }

  bool digits() {
    if (at_end()) return fail("EOF while parsing a value");
    if (peek() < '0' || peek() > '9') return fail("invalid number");
    while (!at_end() && peek() >= '0' && peek() <= '9') ++pos_;
    return true;
  }

  bool number() {
    if (peek() == '-') ++pos_;
    if (at_end()) return fail("EOF while parsing a value");
    if (peek() == '0') {
      ++pos_;
      if (!at_end() && peek() >= '0' && peek() <= '9') return fail("invalid number");
    } else if (!digits()) {
      return false;
    }
    if (!at_end() && peek() == '.') {
      ++pos_;
      if (!digits()) return false;
    }
    if (!at_end() && (peek() == 'e' || peek() == 'E')) {
      ++pos_;
      if (!at_end() && (peek() == '+' || peek() == '-')) ++pos_;
      if (!digits()) return false;
    }
    return true;
  }

  bool hex4(std::uint32_t& out) {
    out = 0;
    for (int i = 0; i < 4; ++i) {
      if (at_end()) return fail("EOF while parsing a string");
      const char c = peek();
      std::uint32_t d;
      if (c >= '0' && c <= '9') {
        d = static_cast<std::uint32_t>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        d = static_cast<std::uint32_t>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        d = static_cast<std::uint32_t>(c - 'A' + 10);
      } else {
        return fail("invalid escape");
      }
      out = out * 16 + d;
      ++pos_;
    }
    return true;
  }

  static void put_utf8(std::string& s, std::uint32_t cp) {
    if (cp < 0x80) {
      s.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      s.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      s.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      s.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      s.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }

  // One UTF-8 encoded character copied as is; rejects malformed sequences,
  // overlong forms, surrogates and values above U+10FFFF.
  bool utf8_char(std::string* out) {
    const auto b0 = static_cast<unsigned char>(peek());
    std::size_t len;
    std::uint32_t cp;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      len = 2;
      cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      len = 3;
      cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      len = 4;
      cp = b0 & 0x07;
    } else {
      return fail("invalid UTF-8");
    }
    if (in_.size() - pos_ < len) return fail("invalid UTF-8");
    for (std::size_t i = 1; i < len; ++i) {
      const auto b = static_cast<unsigned char>(in_[pos_ + i]);
      if ((b & 0xC0) != 0x80) return fail("invalid UTF-8");
      cp = (cp << 6) | (b & 0x3F);
    }
    const std::uint32_t min = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      return fail("invalid UTF-8");
    }
    if (out) out->append(in_.substr(pos_, len));
    pos_ += len;
    return true;
  }

  bool escape(std::string* out) {
    if (at_end()) return fail("EOF while parsing a string");
    const char c = peek();
    ++pos_;
    char plain;
    switch (c) {
      case '"': plain = '"'; break;
      case '\\': plain = '\\'; break;
      case '/': plain = '/'; break;
      case 'b': plain = '\b'; break;
      case 'f': plain = '\f'; break;
      case 'n': plain = '\n'; break;
      case 'r': plain = '\r'; break;
      case 't': plain = '\t'; break;
      case 'u': {
        std::uint32_t cp;
        if (!hex4(cp)) return false;
        if (cp >= 0xDC00 && cp <= 0xDFFF) return fail("lone trailing surrogate in hex escape");
        if (cp >= 0xD800 && cp <= 0xDBFF) {
          if (in_.size() - pos_ < 2 || in_[pos_] != '\\' || in_[pos_ + 1] != 'u') {
            return fail("lone leading surrogate in hex escape");
          }
          pos_ += 2;
          std::uint32_t low;
          if (!hex4(low)) return false;
          if (low < 0xDC00 || low > 0xDFFF) return fail("lone leading surrogate in hex escape");
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
        if (out) put_utf8(*out, cp);
        return true;
      }
      default:
        --pos_;
        return fail("invalid escape");
    }
    if (out) out->push_back(plain);
    return true;
  }

  // A string starting at the opening quote; its decoded text goes to `out`
  // when given.
  bool string(std::string* out) {
    ++pos_;  // opening quote
    for (;;) {
      // Copy the plain ASCII run in one go.
      const std::size_t run = pos_;
      while (!at_end()) {
        const auto c = static_cast<unsigned char>(peek());
        if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80) break;
        ++pos_;
      }
      if (out) out->append(in_.substr(run, pos_ - run));
      if (at_end()) return fail("EOF while parsing a string");
      const auto c = static_cast<unsigned char>(peek());
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c == '\\') {
        ++pos_;
        if (!escape(out)) return false;
      } else if (c < 0x20) {
        return fail("control character (\\u0000-\\u001F) found while parsing a string");
      } else if (!utf8_char(out)) {
        return false;
      }
    }
  }

  bool array(int depth) {
    if (depth > kMaxDepth) {
      error_ = Error{"recursion limit exceeded"};
      return false;
    }
    ++pos_;  // '['
    skip_ws();
    if (at_end()) return fail("EOF while parsing a list");
    if (peek() == ']') {
      ++pos_;
      return true;
    }
    for (;;) {
      if (!value(nullptr, depth)) return false;
      skip_ws();
      if (at_end()) return fail("EOF while parsing a list");
      if (peek() == ']') {
        ++pos_;
        return true;
      }
      if (peek() != ',') return fail("expected `,` or `]`");
      ++pos_;
      skip_ws();
      if (!at_end() && peek() == ']') return fail("trailing comma");
    }
  }

  bool object(TopLevel* top, int depth) {
    if (depth > kMaxDepth) {
      error_ = Error{"recursion limit exceeded"};
      return false;
    }
    ++pos_;  // '{'
    if (top) top->kind = TopLevel::Kind::Object;
    skip_ws();
    if (at_end()) return fail("EOF while parsing an object");
    if (peek() == '}') {
      ++pos_;
      return true;
    }
    for (std::size_t n = 0;; ++n) {
      if (at_end()) return fail("EOF while parsing an object");
      if (peek() != '"') return fail("key must be a string");
      const bool keep = top != nullptr && n == 0;
      std::string key;
      if (!string(keep ? &key : nullptr)) return false;
      skip_ws();
      if (at_end()) return fail("EOF while parsing an object");
      if (peek() != ':') return fail("expected `:`");
      ++pos_;
      skip_ws();
      if (keep) {
        top->text = std::move(key);
        top->first_is_null = !at_end() && peek() == 'n';  // only null starts with 'n'
      }
      if (!value(nullptr, depth)) return false;
      if (top) top->members = n + 1;
      skip_ws();
      if (at_end()) return fail("EOF while parsing an object");
      if (peek() == '}') {
        ++pos_;
        return true;
      }
      if (peek() != ',') return fail("expected `,` or `}`");
      ++pos_;
      skip_ws();
      if (!at_end() && peek() == '}') return fail("trailing comma");
    }
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  Error error_;
};

std::optional<std::size_t> find_known(std::string_view text,
                                      std::span<const std::string_view> known_names) {
  for (std::size_t i = 0; i < known_names.size(); ++i) {
    if (known_names[i] == text) return i;
  }
  return std::nullopt;
}

bool is_unknown_text(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return true;
}

}  // namespace

Result<EnumRead> read_enum(std::string_view json, std::span<const std::string_view> known_names,
                           std::string_view enum_name) {
  TopLevel top;
  if (auto err = Parser(json).parse(top)) return std::move(*err);

  if (top.kind == TopLevel::Kind::String) {
    if (auto i = find_known(top.text, known_names)) return EnumRead{KnownValue{*i}};
    if (is_unknown_text(top.text)) return EnumRead{UnknownValue{std::move(top.text)}};
  } else if (top.kind == TopLevel::Kind::Object && top.members == 1 && top.first_is_null) {
    if (auto i = find_known(top.text, known_names)) return EnumRead{KnownValue{*i}};
  }
  return Error{"data did not match any variant of untagged enum " + std::string(enum_name)};
}

}  // namespace conjure_object
