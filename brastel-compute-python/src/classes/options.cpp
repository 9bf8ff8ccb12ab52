// The option classes handed to other classes' methods: negative values,
// signal filters, unbounded ranges, UDF sources, grouping, and RangeMap.
#include "brastel_compute/aggregation_construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"

namespace brastel_python {

using namespace binding;

namespace {

objects::RangeMap range_map_new(StringConstantInput output, std::optional<FloatConstantInput> start,
                                std::optional<FloatConstantInput> end) {
  return brastel_compute::range_map_create(convert(std::move(output)), convert(std::move(start)),
                                           convert(std::move(end)));
}

}  // namespace

PyType_Spec* NegativeValueConfigurationClass::spec() {
  return class_spec<NegativeValueConfigurationClass>(to_json);
}

PyType_Spec* SignalFilterConfigurationClass::spec() { return class_spec<SignalFilterConfigurationClass>(to_json); }

PyType_Spec* UnboundedRangeBehaviorClass::spec() { return class_spec<UnboundedRangeBehaviorClass>(to_json); }

PyType_Spec* UdfSourceClass::spec() { return class_spec<UdfSourceClass>(to_json); }

PyType_Spec* GroupByTagsClass::spec() { return class_spec<GroupByTagsClass>(to_json); }

PyType_Spec* GroupByTimestampClass::spec() { return class_spec<GroupByTimestampClass>(to_json); }

PyType_Spec* GroupByAlignmentClass::spec() { return class_spec<GroupByAlignmentClass>(to_json); }

PyType_Spec* RangeMapClass::spec() {
  return class_spec<RangeMapClass>(constructor<"RangeMap(output, start=None, end=None)", &range_map_new>, to_json);
}

}  // namespace brastel_python
