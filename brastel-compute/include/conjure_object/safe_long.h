// A signed 64-bit integer of the API, written in decimal without range check.
#pragma once

#include <compare>
#include <cstdint>

namespace conjure_object {

struct SafeLong {
  std::int64_t value = 0;

  constexpr SafeLong() = default;
  constexpr SafeLong(std::int64_t v) : value(v) {}
  friend constexpr auto operator<=>(SafeLong, SafeLong) = default;
};

}  // namespace conjure_object
