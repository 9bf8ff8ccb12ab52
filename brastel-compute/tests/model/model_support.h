// Small helpers shared by the object-model tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "brastel_compute/conjure/objects.h"

namespace model_test {

namespace obj = ::brastel_compute::conjure::objects;

template <class T>
std::string json(const T& value) {
  conjure_object::JsonWriter w;
  write(w, value);
  EXPECT_FALSE(w.failed());
  return std::string(w.buffer());
}

inline obj::NumericSeries raw(std::string name) { return obj::NumericSeries::raw(obj::Reference{std::move(name)}); }

inline obj::StringConstant literal(std::string text) { return obj::StringConstant::literal(std::move(text)); }

}  // namespace model_test
