// An arbitrary JSON value: the payload of a union's unknown arm, kept and
// written back unchanged. Object keys may be of any kind (as a decoded value
// of another format could hold); only texts, numbers and booleans can be
// written as JSON keys.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "conjure_object/json_writer.h"

namespace conjure_object {

class Any {
 public:
  using Array = std::vector<Any>;
  using Object = std::vector<std::pair<Any, Any>>;  // in the value's own order

  enum class Kind : std::uint8_t { Null, Bool, I64, U64, F32, F64, String, Array, Object };

  Any() = default;  // null
  Any(std::nullptr_t) {}
  Any(bool v) : v_(v) {}
  Any(int v) : v_(std::int64_t{v}) {}
  Any(std::int64_t v) : v_(v) {}
  Any(std::uint64_t v) : v_(v) {}
  Any(float v) : v_(v) {}
  Any(double v) : v_(v) {}
  Any(const char* v) : v_(std::string(v)) {}
  Any(std::string v) : v_(std::move(v)) {}
  // Made non-const so the last owner may take the children apart on
  // destruction (see release_tree).
  Any(Array v) : v_(std::shared_ptr<const Array>(std::make_shared<Array>(std::move(v)))) {}
  Any(Object v) : v_(std::shared_ptr<const Object>(std::make_shared<Object>(std::move(v)))) {}

  Any(const Any&) = default;
  Any(Any&&) noexcept = default;
  Any& operator=(const Any&) = default;
  Any& operator=(Any&&) noexcept = default;
  ~Any() {
    if (v_.index() >= 7) release_tree();
  }

  Kind kind() const noexcept { return static_cast<Kind>(v_.index()); }
  bool as_bool() const { return std::get<1>(v_); }
  std::int64_t as_i64() const { return std::get<2>(v_); }
  std::uint64_t as_u64() const { return std::get<3>(v_); }
  float as_f32() const { return std::get<4>(v_); }
  double as_f64() const { return std::get<5>(v_); }
  const std::string& as_string() const { return std::get<6>(v_); }
  const Array& as_array() const { return *std::get<7>(v_); }
  const Object& as_object() const { return *std::get<8>(v_); }

  // Total order: by kind, then by value (arrays and objects element-wise);
  // floats compare by their bit patterns' numeric order with NaN last.
  // That is: -0.0 before 0.0, and all NaNs equivalent to one another.
  // Neither operator recurses, so any depth compares.
  friend bool operator==(const Any& a, const Any& b);
  friend std::weak_ordering operator<=>(const Any& a, const Any& b);

 private:
  // Frees a tree without recursion, so that arbitrarily deep values can be
  // destroyed on any stack.
  void release_tree() noexcept;
  static void detach_children(Any& v, std::vector<Any>& work);

  // Arrays and objects are shared: the value is immutable, so a copy is O(1).
  std::variant<std::monostate, bool, std::int64_t, std::uint64_t, float, double, std::string,
               std::shared_ptr<const Array>, std::shared_ptr<const Object>>
      v_;
};

void write(JsonWriter& w, const Any& v);

}  // namespace conjure_object
