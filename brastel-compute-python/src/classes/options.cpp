// The option classes handed to other classes' methods: negative values,
// signal filters, unbounded ranges, UDF sources, grouping, and RangeMap.
#include <optional>
#include <string>
#include <vector>

#include "brastel_compute/aggregation_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

namespace {

template <auto Variant>
constexpr auto cutoff = &from_input<Variant, FloatConstantInput>;

using objects::GroupByAlignment;
using objects::GroupByTags;
using objects::GroupByTimestamp;
using objects::NegativeValueConfiguration;
using objects::SignalFilterConfiguration;
using objects::UnboundedRangeBehavior;

}  // namespace

PyType_Spec* WrappedNegativeValueConfiguration::spec() {
  return class_spec<WrappedNegativeValueConfiguration>(
      static_method<"AllowNegativeValues()",
                    &empty<NegativeValueConfiguration, &NegativeValueConfiguration::allow_negative_values>>,
      static_method<"SetNegativeValuesToZero()",
                    &empty<NegativeValueConfiguration, &NegativeValueConfiguration::set_negative_values_to_zero>>,
      static_method<"ExcludeNegativeValues()",
                    &empty<NegativeValueConfiguration, &NegativeValueConfiguration::exclude_negative_values>>,
      to_json);
}

PyType_Spec* WrappedSignalFilterConfiguration::spec() {
  return class_spec<WrappedSignalFilterConfiguration>(
      static_method<"LowPass(cutoff_frequency)",
                    cutoff<&SignalFilterConfiguration::low_pass>>,
      static_method<"HighPass(cutoff_frequency)",
                    cutoff<&SignalFilterConfiguration::high_pass>>,
      static_method<"BandPass(low_passband_frequency, high_passband_frequency)",
                    from_inputs<&brastel_compute::signal_filter_configuration_band_pass>>,
      static_method<"BandStop(low_stopband_frequency, high_stopband_frequency)",
                    from_inputs<&brastel_compute::signal_filter_configuration_band_stop>>,
      to_json);
}

PyType_Spec* WrappedUnboundedRangeBehavior::spec() {
  return class_spec<WrappedUnboundedRangeBehavior>(
      static_method<"ClampToWindow()", &empty<UnboundedRangeBehavior, &UnboundedRangeBehavior::clamp_to_window>>,
      static_method<"Drop()", &empty<UnboundedRangeBehavior, &UnboundedRangeBehavior::drop>>,
      to_json);
}

PyType_Spec* WrappedUdfSource::spec() {
  return class_spec<WrappedUdfSource>(
      static_method<"Rust(source_code)", &from_input<&objects::UdfSource::rust, std::string>>, to_json);
}

PyType_Spec* WrappedGroupByTags::spec() {
  return class_spec<WrappedGroupByTags>(
      static_method<"Current()", &empty<GroupByTags, &GroupByTags::current>>,
      static_method<"Subset(tags)", from_inputs<&brastel_compute::group_by_tags_subset>>,
      to_json);
}

PyType_Spec* WrappedGroupByTimestamp::spec() {
  return class_spec<WrappedGroupByTimestamp>(
      static_method<"Current()", &empty<GroupByTimestamp, &GroupByTimestamp::current>>,
      static_method<"Every(every)", &GroupByTimestamp::every>,
      to_json);
}

PyType_Spec* WrappedGroupByAlignment::spec() {
  return class_spec<WrappedGroupByAlignment>(
      static_method<"ContextDefaults()", &empty<GroupByAlignment, &GroupByAlignment::context_defaults>>,
      to_json);
}

PyType_Spec* WrappedRangeMap::spec() {
  return class_spec<WrappedRangeMap>(
      constructor<"RangeMap(output, start=None, end=None)",
                  from_inputs<&brastel_compute::range_map_create>>,
      to_json);
}

}  // namespace brastel_python
