// Duration, Dataset and Sampling: where and over what span an expression
// reads its data.
#include <string>

#include "binding/operators.h"
#include "brastel_compute/aggregation_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

namespace {

// A count of one unit (or the n of a sampling). A plain int becomes a checked
// 32-bit literal.
template <auto Variant>
constexpr auto count = &from_input<Variant, IntegerConstantInput>;

// The rid of a dataset.
template <auto Variant>
constexpr auto resource = &from_input<Variant, StringConstantInput>;

using objects::Dataset;
using objects::Duration;
using objects::Sampling;

}  // namespace

PyType_Spec* WrappedDuration::spec() {
  return class_spec<WrappedDuration>(
      static_method<"Reference(name)", &from_input<&Duration::reference, std::string>>,
      static_method<"Nanoseconds(nanoseconds)", count<&Duration::nanoseconds>>,
      static_method<"Milliseconds(milliseconds)", count<&Duration::milliseconds>>,
      static_method<"Seconds(seconds)", count<&Duration::seconds>>,
      static_method<"Minutes(minutes)", count<&Duration::minutes>>,
      static_method<"Hours(hours)", count<&Duration::hours>>,
      static_method<"Days(days)", count<&Duration::days>>,
      to_json,
      // -d, d1 + d2 and d1 - d2: both operands durations, so no reflected form.
      unary_operator<Py_nb_negative, &from_input<&Duration::negate, Duration>>,
      binary_operator<Py_nb_add, &brastel_compute::duration_add>,
      binary_operator<Py_nb_subtract, &brastel_compute::duration_subtract>);
}

PyType_Spec* WrappedDataset::spec() {
  return class_spec<WrappedDataset>(
      static_method<"Asset(rid)", resource<&Dataset::asset>>,
      static_method<"Run(rid)", resource<&Dataset::run>>,
      static_method<"Saved(rid)", resource<&Dataset::saved>>,
      static_method<"Combine(inputs)", &brastel_compute::dataset_combine>,
      method<"tag($self, key, value)", on_receiver<Dataset, &brastel_compute::dataset_tag>>,
      method<"time_shift($self, offset)", &brastel_compute::dataset_time_shift>,
      to_json);
}

PyType_Spec* WrappedSampling::spec() {
  return class_spec<WrappedSampling>(
      static_method<"EveryNthPerSeries(n)", count<&Sampling::every_nth_per_series>>,
      static_method<"HashSubsample(n)", count<&Sampling::hash_subsample>>,
      to_json);
}

}  // namespace brastel_python
