// Every construction function of the core, the core enums and the
// conversions into Series.
#pragma once

#include "brastel_compute/aggregation_construction.h"
#include "brastel_compute/boolean_range_construction.h"
#include "brastel_compute/enums.h"
#include "brastel_compute/numeric_construction.h"
#include "brastel_compute/series_from.h"
