// Small leaf values for the construction tests (of the core and of the
// Python module's construction functions), each with a short, known JSON text
// (spelled out in full in the expectations), and the table of cases those
// tests check.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "brastel_compute/conjure/objects.h"
#include "conjure_object/json_writer.h"

namespace brastel_compute::testing {

namespace obj = conjure::objects;

template <class T>
std::string json(const T& value) {
  conjure_object::JsonWriter w;
  write(w, value);
  return std::string(w.buffer());
}

// One named case: the JSON a call wrote and the JSON it must write.
struct Case {
  const char* name;
  std::string actual;
  std::string expected;
};

inline void expect_cases(const std::vector<Case>& cases) {
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;
}

// {"type":"raw","raw":{"name":"<name>"}}
inline obj::NumericSeries num(std::string name) { return obj::NumericSeries::raw(obj::Reference{.name = std::move(name)}); }
inline obj::EnumSeries cat(std::string name) { return obj::EnumSeries::raw(obj::Reference{.name = std::move(name)}); }
inline obj::RangeSeries ranges(std::string name) { return obj::RangeSeries::raw(obj::Reference{.name = std::move(name)}); }
inline obj::StructSeries strct(std::string name) { return obj::StructSeries::raw(obj::Reference{.name = std::move(name)}); }

// {"type":"greaterThan","greaterThan":{"left":{"type":"raw","raw":{"name":"p"}},"right":{"type":"raw","raw":{"name":"q"}}}}
inline obj::BooleanSeries cond() {
  return obj::BooleanSeries::greater_than(obj::GreaterThanSeries{.left = num("p"), .right = num("q")});
}

// {"type":"literal","literal":<v>}
inline obj::IntegerConstant int_lit(std::int32_t v) { return obj::IntegerConstant::literal(v); }
inline obj::DoubleConstant dbl(double v) { return obj::DoubleConstant::literal(v); }
inline obj::StringConstant str(std::string v) { return obj::StringConstant::literal(std::move(v)); }
// {"type":"variable","variable":"<name>"}
inline obj::StringConstant str_var(std::string name) { return obj::StringConstant::variable(std::move(name)); }

// {"type":"seconds","seconds":{"seconds":{"type":"literal","literal":<s>}}}
inline obj::Duration secs(std::int32_t s) { return obj::Duration::seconds(obj::DurationSeconds{.seconds = int_lit(s)}); }

// {"type":"reference","reference":{"name":{"type":"literal","literal":"<name>"}}}
inline obj::Dataset dataset(std::string name) {
  return obj::Dataset::reference(obj::DatasetReference{.name = str(std::move(name))});
}

}  // namespace brastel_compute::testing
