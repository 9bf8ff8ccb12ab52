// The aggregation builders (three classes over one AggregationBuilder, told
// apart by the completions they offer) and the aggregation operators.
#include "brastel_compute/aggregation_construction.h"
#include "brastel_compute/boolean_range_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"
#include "python_construction.h"

namespace brastel_python {

using namespace binding;

namespace {

using objects::EnumAggregationOperator;
using objects::NumericAggregationOperator;

template <NumericAggregationOperator (*Variant)()>
constexpr auto numeric_operator = &empty<NumericAggregationOperator, Variant>;

template <EnumAggregationOperator (*Variant)()>
constexpr auto enum_operator = &empty<EnumAggregationOperator, Variant>;

// The completions every builder class offers: the receiver is the
// AggregationBuilder whatever class holds it, so one body serves all three.
constexpr auto count = method<"count($self)", &bc::numeric_series_numeric_aggregation_count>;
constexpr auto udf = method<"udf($self, source)", &bc::numeric_series_numeric_aggregation_udf>;
constexpr auto rust_udf =
    method<"rust_udf($self, source_code)", &bc::numeric_series_numeric_aggregation_udf_rust>;
constexpr auto enum_udf =
    method<"enum_udf($self, source)", &pc::categorical_series_enum_aggregation_udf>;
constexpr auto rust_enum_udf =
    method<"rust_enum_udf($self, source_code)", &pc::categorical_series_enum_aggregation_udf_rust>;

}  // namespace

PyType_Spec* WrappedNumericAggregationBuilder::spec() {
  return class_spec<WrappedNumericAggregationBuilder>(
      method<"numeric_aggregation($self, operator)", &bc::numeric_series_numeric_aggregation>,
      method<"sum($self)", &bc::numeric_series_numeric_aggregation_sum>,
      method<"mean($self)", &bc::numeric_series_numeric_aggregation_average>,
      method<"min($self)", &bc::numeric_series_numeric_aggregation_min>,
      method<"max($self)", &bc::numeric_series_numeric_aggregation_max>,
      count,
      method<"std($self)", &bc::numeric_series_numeric_aggregation_standard_deviation>,
      method<"root_mean_square($self)", &bc::numeric_series_numeric_aggregation_root_mean_square>,
      method<"percentile($self, percentile)",
             on_receiver<objects::AggregationBuilder, &bc::numeric_series_numeric_aggregation_percentile>>,
      udf, rust_udf, enum_udf, rust_enum_udf, to_json);
}

PyType_Spec* WrappedCategoricalAggregationBuilder::spec() {
  return class_spec<WrappedCategoricalAggregationBuilder>(
      count, udf, rust_udf,
      method<"enum_aggregation($self, operator)", &bc::categorical_series_enum_aggregation>,
      enum_udf, rust_enum_udf, to_json);
}

PyType_Spec* WrappedStructAggregationBuilder::spec() {
  return class_spec<WrappedStructAggregationBuilder>(count, udf, rust_udf, to_json);
}

PyType_Spec* WrappedNumericAggregationOperator::spec() {
  return class_spec<WrappedNumericAggregationOperator>(
      static_method<"Sum()", numeric_operator<&NumericAggregationOperator::sum>>,
      static_method<"Average()", numeric_operator<&NumericAggregationOperator::average>>,
      static_method<"Min()", numeric_operator<&NumericAggregationOperator::min>>,
      static_method<"Max()", numeric_operator<&NumericAggregationOperator::max>>,
      static_method<"Count()", numeric_operator<&NumericAggregationOperator::count>>,
      static_method<"StandardDeviation()", numeric_operator<&NumericAggregationOperator::standard_deviation>>,
      static_method<"RootMeanSquare()", numeric_operator<&NumericAggregationOperator::root_mean_square>>,
      static_method<"Percentile(percentile)", &from_input<&NumericAggregationOperator::percentile, FloatConstantInput>>,
      static_method<"Udf(source)", &from_input<&NumericAggregationOperator::udf, objects::UdfSource>>,
      to_json);
}

PyType_Spec* WrappedEnumAggregationOperator::spec() {
  return class_spec<WrappedEnumAggregationOperator>(
      static_method<"Min()", enum_operator<&EnumAggregationOperator::min>>,
      static_method<"Max()", enum_operator<&EnumAggregationOperator::max>>,
      static_method<"Udf(source)", &from_input<&EnumAggregationOperator::udf, objects::UdfSource>>,
      to_json);
}

}  // namespace brastel_python
