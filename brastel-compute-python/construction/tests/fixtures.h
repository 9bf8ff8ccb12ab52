// Small leaf values with short, known JSON texts (spelled out in full in the
// expectations).
#pragma once

#include <cstdint>
#include <string>

#include "brastel_compute/conjure/objects.h"
#include "conjure_object/json_writer.h"

namespace brastel_python::testing {

namespace obj = ::brastel_compute::conjure::objects;

template <class T>
std::string json(const T& value) {
  conjure_object::JsonWriter w;
  write(w, value);
  return w.buffer();
}

// {"type":"raw","raw":{"name":"<name>"}}
inline obj::NumericSeries num(std::string name) { return obj::NumericSeries::raw(obj::Reference{.name = std::move(name)}); }
inline obj::EnumSeries cat(std::string name) { return obj::EnumSeries::raw(obj::Reference{.name = std::move(name)}); }
inline obj::RangeSeries ranges(std::string name) { return obj::RangeSeries::raw(obj::Reference{.name = std::move(name)}); }

// {"type":"lessThan","lessThan":{"left":{"type":"raw","raw":{"name":"p"}},"right":{"type":"raw","raw":{"name":"q"}}}}
inline obj::BooleanSeries cond() {
  return obj::BooleanSeries::less_than(obj::LessThanSeries{.left = num("p"), .right = num("q")});
}

// {"type":"literal","literal":<v>}
inline obj::IntegerConstant int_lit(std::int32_t v) { return obj::IntegerConstant::literal(v); }
inline obj::DoubleConstant dbl(double v) { return obj::DoubleConstant::literal(v); }
inline obj::StringConstant str(std::string v) { return obj::StringConstant::literal(std::move(v)); }

// {"type":"seconds","seconds":{"seconds":{"type":"literal","literal":<s>}}}
inline obj::Duration secs(std::int32_t s) { return obj::Duration::seconds(obj::DurationSeconds{.seconds = int_lit(s)}); }

}  // namespace brastel_python::testing
