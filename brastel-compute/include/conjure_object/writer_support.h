// What generated writers share: values of every primitive and collection
// kind, the member logic of records (which fields are left out), and the
// unknown arm of unions.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "conjure_object/any.h"
#include "conjure_object/json_writer.h"
#include "conjure_object/node.h"
#include "conjure_object/safe_long.h"

namespace conjure_object {

// The payload of a union's unknown arm: any type text and any JSON value.
struct UnknownVariant {
  std::string type;
  Any value;

  friend bool operator==(const UnknownVariant&, const UnknownVariant&) = default;
  friend std::weak_ordering operator<=>(const UnknownVariant& a, const UnknownVariant& b) {
    if (auto c = a.type <=> b.type; c != 0) return c;
    return a.value <=> b.value;
  }
};

void write_unknown(JsonWriter& w, const UnknownVariant& v);

inline void write_value(JsonWriter& w, const std::string& v) { w.string(v); }
inline void write_value(JsonWriter& w, bool v) { w.boolean(v); }
inline void write_value(JsonWriter& w, std::int32_t v) { w.i64(v); }
inline void write_value(JsonWriter& w, SafeLong v) { w.i64(v.value); }
inline void write_value(JsonWriter& w, double v) { w.f64(v); }
inline void write_value(JsonWriter& w, const Any& v) { write(w, v); }

// Generated types (records, unions, enums) are found by argument-dependent
// lookup of their own `write`.
template <class T>
  requires requires(JsonWriter& w, const T& v) { write(w, v); }
void write_value(JsonWriter& w, const T& v) {
  write(w, v);
}

template <class Range>
void write_elements(JsonWriter& w, const Range& items) {
  w.raw('[');
  bool first = true;
  for (const auto& item : items) {
    if (!first) w.raw(',');
    first = false;
    write_value(w, item);
  }
  w.raw(']');
}

template <class T>
void write_value(JsonWriter& w, const std::vector<T>& v) {
  write_elements(w, v);
}

template <class T, class C>
void write_value(JsonWriter& w, const std::set<T, C>& v) {
  write_elements(w, v);
}

inline void write_key(JsonWriter& w, const std::string& k) { w.string(k); }
template <class E>
  requires requires(const E& e) { e.as_str(); }
void write_key(JsonWriter& w, const E& k) {
  w.string(k.as_str());
}

template <class K, class V, class C>
void write_value(JsonWriter& w, const std::map<K, V, C>& v) {
  w.raw('{');
  bool first = true;
  for (const auto& [key, value] : v) {
    if (!first) w.raw(',');
    first = false;
    write_key(w, key);
    w.raw(':');
    write_value(w, value);
  }
  w.raw('}');
}

// Writes one record: members in declaration order, "," between them.
class ObjectWriter {
 public:
  explicit ObjectWriter(JsonWriter& w) : w_(w) { w_.raw('{'); }
  void finish() { w_.raw('}'); }

  // `key` is the member's key already quoted and followed by ':'.
  template <class T>
  void required(std::string_view key, const T& v) {
    begin(key);
    write_value(w_, v);
  }
  // Absent: neither key nor value.
  template <class T>
  void optional(std::string_view key, const std::optional<T>& v) {
    if (v) required(key, *v);
  }
  // Left out when empty; an optional collection goes through optional()
  // instead, and is written whenever present.
  template <class C>
  void collection(std::string_view key, const C& v) {
    if (!v.empty()) required(key, v);
  }

 private:
  void begin(std::string_view key) {
    if (!first_) w_.raw(',');
    first_ = false;
    w_.raw(key);
  }

  JsonWriter& w_;
  bool first_ = true;
};

// Three-way comparison for the orders of sets and map keys.
template <class T>
std::weak_ordering weak_compare(const T& a, const T& b) {
  if constexpr (std::is_floating_point_v<T>) {
    return std::weak_order(a, b);
  } else {
    return std::compare_weak_order_fallback(a, b);
  }
}

// Stage tag of a staged builder whose required fields are all set.
struct Complete {};

}  // namespace conjure_object

namespace conjure_object {

template <class T>
void write_value(JsonWriter& w, const Box<T>& v) {
  write_value(w, *v);
}

}  // namespace conjure_object
