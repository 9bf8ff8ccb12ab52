// The operators of NumericSeries and BooleanSeries, kept apart from their
// method tables; each class lists them as one entry of its spec().
#pragma once

#include "binding/operators.h"
#include "brastel_compute/boolean_range_construction.h"
#include "brastel_compute/numeric_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

namespace operators {

// Numbers and constants may stand on either side; the left operand as
// written always comes first.
template <auto Build>
constexpr auto arithmetic = from_inputs<Build>;

template <auto Build>
constexpr auto comparison = on_receiver<objects::NumericSeries, Build>;

}  // namespace operators

inline constexpr auto numeric_series_operators = binding::declarations(
    binding::unary_operator<Py_nb_negative, unary<&objects::NumericSeries::negate>>,
    binding::binary_operator<Py_nb_add, operators::arithmetic<&brastel_compute::numeric_series_add>,
                             binding::reflected>,
    binding::binary_operator<Py_nb_subtract, operators::arithmetic<&brastel_compute::numeric_series_subtract>,
                             binding::reflected>,
    binding::binary_operator<Py_nb_multiply, operators::arithmetic<&brastel_compute::numeric_series_multiply>,
                             binding::reflected>,
    binding::binary_operator<Py_nb_remainder, operators::arithmetic<&brastel_compute::numeric_series_modulo>,
                             binding::reflected>,
    binding::binary_operator<Py_nb_true_divide, operators::arithmetic<&brastel_compute::numeric_series_divide>,
                             binding::reflected>,
    binding::binary_operator<Py_nb_floor_divide,
                             operators::arithmetic<&brastel_compute::numeric_series_floor_divide>, binding::reflected>,
    binding::binary_operator<Py_nb_power, operators::arithmetic<&brastel_compute::numeric_series_power>,
                             binding::reflected>,
    binding::rich_comparison<operators::comparison<&brastel_compute::boolean_series_less_than>,
                             operators::comparison<&brastel_compute::boolean_series_less_than_or_equal_to>,
                             operators::comparison<&brastel_compute::boolean_series_equal_to>,
                             operators::comparison<&brastel_compute::boolean_series_not_equal_to>,
                             operators::comparison<&brastel_compute::boolean_series_greater_than>,
                             operators::comparison<&brastel_compute::boolean_series_greater_than_or_equal_to>>);

// Both operands BooleanSeries objects; no reflected form.
inline constexpr auto boolean_series_operators =
    binding::declarations(binding::binary_operator<Py_nb_and, &brastel_compute::boolean_series_and>,
                          binding::binary_operator<Py_nb_or, &brastel_compute::boolean_series_or>);

}  // namespace brastel_python
