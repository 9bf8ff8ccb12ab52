// The three conversions into Series: a categorical, numeric or struct series
// becomes the Series variant "enum", "numeric" or "struct" holding it. The
// generated Series class is closed, so they are free functions here. A
// BooleanSeries has no place in a Series.
#pragma once

#include <utility>

#include "brastel_compute/conjure/objects.h"

namespace brastel_compute::conjure::objects {

inline Series series_from(EnumSeries value) { return Series::enum_(std::move(value)); }
inline Series series_from(NumericSeries value) { return Series::numeric(std::move(value)); }
inline Series series_from(StructSeries value) { return Series::struct_(std::move(value)); }

}  // namespace brastel_compute::conjure::objects
