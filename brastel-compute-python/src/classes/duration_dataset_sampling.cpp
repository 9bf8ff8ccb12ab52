// Duration, Dataset and Sampling: where and over what span an expression
// reads its data.
#include <string>
#include <utility>
#include <vector>

#include "binding/operators.h"
#include "brastel_compute/aggregation_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

namespace {

// A count of one unit (or the n of a sampling): the variant's factory and
// its one-field payload record. A plain int becomes a checked 32-bit literal.
template <auto Variant, class Payload, class Union = decltype(Variant(std::declval<Payload>()))>
Union count(IntegerConstantInput n) {
  return Variant(Payload{convert(std::move(n))});
}

objects::Duration duration_reference(std::string name) {
  return objects::Duration::reference(objects::Reference{std::move(name)});
}

objects::Duration duration_negative(const objects::Duration& input) {
  return objects::Duration::negate(objects::DurationNegate{input});
}

template <auto Variant, class Payload>
objects::Dataset resource(StringConstantInput rid) {
  return Variant(Payload{convert(std::move(rid))});
}

objects::Dataset dataset_tag(const objects::Dataset& self, StringConstantInput key, StringConstantInput value) {
  return brastel_compute::dataset_tag(self, convert(std::move(key)), convert(std::move(value)));
}

using objects::Dataset;
using objects::Duration;
using objects::Sampling;

}  // namespace

PyType_Spec* DurationClass::spec() {
  return class_spec<DurationClass>(
      static_method<"Reference(name)", &duration_reference>,
      static_method<"Nanoseconds(nanoseconds)", &count<&Duration::nanoseconds, objects::DurationNanoseconds>>,
      static_method<"Milliseconds(milliseconds)", &count<&Duration::milliseconds, objects::DurationMilliseconds>>,
      static_method<"Seconds(seconds)", &count<&Duration::seconds, objects::DurationSeconds>>,
      static_method<"Minutes(minutes)", &count<&Duration::minutes, objects::DurationMinutes>>,
      static_method<"Hours(hours)", &count<&Duration::hours, objects::DurationHours>>,
      static_method<"Days(days)", &count<&Duration::days, objects::DurationDays>>,
      to_json,
      // -d, d1 + d2 and d1 - d2: both operands durations, so no reflected form.
      unary_operator<Py_nb_negative, &duration_negative>,
      binary_operator<Py_nb_add, &brastel_compute::duration_add>,
      binary_operator<Py_nb_subtract, &brastel_compute::duration_subtract>);
}

PyType_Spec* DatasetClass::spec() {
  return class_spec<DatasetClass>(
      static_method<"Asset(rid)", &resource<&Dataset::asset, objects::Asset>>,
      static_method<"Run(rid)", &resource<&Dataset::run, objects::Run>>,
      static_method<"Saved(rid)", &resource<&Dataset::saved, objects::SavedDataset>>,
      static_method<"Combine(inputs)", &brastel_compute::dataset_combine>,
      method<"tag($self, key, value)", &dataset_tag>,
      method<"time_shift($self, offset)", &brastel_compute::dataset_time_shift>,
      to_json);
}

PyType_Spec* SamplingClass::spec() {
  return class_spec<SamplingClass>(
      static_method<"EveryNthPerSeries(n)",
                    &count<&Sampling::every_nth_per_series, objects::EveryNthPerSeriesSampling>>,
      static_method<"HashSubsample(n)", &count<&Sampling::hash_subsample, objects::HashSubsampleSampling>>,
      to_json);
}

}  // namespace brastel_python
