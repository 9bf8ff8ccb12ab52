// A strict JSON syntax check for tests: is `text` exactly one JSON value?
#pragma once

#include <cctype>
#include <string_view>

namespace test_support {

class JsonCheck {
 public:
  static bool valid(std::string_view text) {
    JsonCheck c(text);
    return c.value() && c.pos_ == text.size();
  }

 private:
  explicit JsonCheck(std::string_view t) : t_(t) {}

  bool eat(char ch) {
    if (pos_ < t_.size() && t_[pos_] == ch) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool literal(std::string_view word) {
    if (t_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }
  bool string() {
    if (!eat('"')) return false;
    while (pos_ < t_.size()) {
      unsigned char ch = t_[pos_++];
      if (ch == '"') return true;
      if (ch < 0x20) return false;
      if (ch == '\\') {
        if (pos_ >= t_.size()) return false;
        char e = t_[pos_++];
        if (e == 'u') {
          for (int i = 0; i < 4; ++i) {
            if (pos_ >= t_.size() || !std::isxdigit(static_cast<unsigned char>(t_[pos_++]))) return false;
          }
        } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
          return false;
        }
      }
    }
    return false;
  }
  bool digits() {
    std::size_t start = pos_;
    while (pos_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[pos_]))) ++pos_;
    return pos_ > start;
  }
  bool number() {
    eat('-');
    if (eat('0')) {
    } else if (!digits()) {
      return false;
    }
    if (eat('.') && !digits()) return false;
    if (eat('e') || eat('E')) {
      if (!eat('+')) eat('-');
      if (!digits()) return false;
    }
    return true;
  }
  bool value() {
    if (pos_ >= t_.size()) return false;
    switch (t_[pos_]) {
      case '{': {
        ++pos_;
        if (eat('}')) return true;
        do {
          if (!string() || !eat(':') || !value()) return false;
        } while (eat(','));
        return eat('}');
      }
      case '[': {
        ++pos_;
        if (eat(']')) return true;
        do {
          if (!value()) return false;
        } while (eat(','));
        return eat(']');
      }
      case '"':
        return string();
      case 't':
        return literal("true");
      case 'f':
        return literal("false");
      case 'n':
        return literal("null");
      default:
        return number();
    }
  }

  std::string_view t_;
  std::size_t pos_ = 0;
};

}  // namespace test_support
