// StructSeries: named series combined into one.
#include "brastel_compute/aggregation_construction.h"
#include "brastel_compute/numeric_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"
#include "classes/series_methods.h"

namespace brastel_python {

using namespace binding;

PyType_Spec* WrappedStructSeries::spec() {
  using objects::StructSeries;
  return class_spec<WrappedStructSeries>(
      static_method<"Combine(inputs)", &brastel_compute::struct_series_combine>,
      time_methods<StructSeries>,
      method<"extract_numeric($self, field_path, data_type=None)",
             on_receiver<StructSeries, &brastel_compute::struct_series_extract_numeric>>,
      aggregation_openers<StructSeries, WrappedStructAggregationBuilder>,
      to_json);
}

}  // namespace brastel_python
