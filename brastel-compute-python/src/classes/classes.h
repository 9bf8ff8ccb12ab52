// The module's 31 classes: each one's Python name and held value, and their
// registration order (AllClasses), which is also the order of __all__.
// Each class's spec() -- its method table -- lives in its family's file in
// this folder.
#pragma once

#include <optional>
#include <vector>

#include "binding/binding.h"
#include "brastel_compute/conjure/objects.h"
#include "brastel_compute/enums.h"

namespace brastel_python {

namespace objects = ::brastel_compute::conjure::objects;
using binding::ValueClass;

// The pending inputs and options of the range builders: the node is built
// when a method of the builder names the operation.
struct CategoricalEqualityBuilder {
  std::vector<objects::EnumSeries> inputs;
  std::optional<objects::IntegerConstant> min_points;
  std::optional<objects::Duration> min_duration;
  std::optional<brastel_compute::RangeStart> range_start;
};

struct CategoryRangesBuilder {
  objects::EnumSeries input;
  std::optional<objects::IntegerConstant> min_points;
  std::optional<objects::Duration> min_duration;
  std::optional<brastel_compute::RangeStart> range_start;
};

struct DurationFilterBuilder {
  objects::RangeSeries input;
  std::optional<brastel_compute::UnboundedBehavior> unbounded_behavior;
};

struct NumericEqualityBuilder {
  std::vector<objects::NumericSeries> inputs;
  std::optional<objects::DoubleConstant> tolerance;
  std::optional<objects::IntegerConstant> min_points;
  std::optional<objects::Duration> min_duration;
  std::optional<brastel_compute::RangeStart> range_start;
};

struct GroupWithinRangesBuilder {
  objects::NumericSeries input;
  objects::RangeSeries ranges;
};

struct ThresholdRangesBuilder {
  objects::NumericSeries input;
  std::optional<objects::IntegerConstant> min_points;
  std::optional<objects::Duration> min_duration;
  std::optional<brastel_compute::RangeStart> range_start;
};

// clang-format off
struct NumericSeriesClass : ValueClass<"NumericSeries", objects::NumericSeries> { static PyType_Spec* spec(); };
struct CategoricalSeriesClass : ValueClass<"CategoricalSeries", objects::EnumSeries> { static PyType_Spec* spec(); };
struct RangeSeriesClass : ValueClass<"RangeSeries", objects::RangeSeries> { static PyType_Spec* spec(); };
struct StructSeriesClass : ValueClass<"StructSeries", objects::StructSeries> { static PyType_Spec* spec(); };
struct ConstantNumericSeriesClass : ValueClass<"ConstantNumericSeries", objects::ConstantNumericSeries> { static PyType_Spec* spec(); };
struct IntegerConstantClass : ValueClass<"IntegerConstant", objects::IntegerConstant> { static PyType_Spec* spec(); };
struct StringConstantClass : ValueClass<"StringConstant", objects::StringConstant> { static PyType_Spec* spec(); };
struct DatasetClass : ValueClass<"Dataset", objects::Dataset> { static PyType_Spec* spec(); };
struct SamplingClass : ValueClass<"Sampling", objects::Sampling> { static PyType_Spec* spec(); };
struct BooleanSeriesClass : ValueClass<"BooleanSeries", objects::BooleanSeries> { static PyType_Spec* spec(); };
struct NumericAggregationBuilderClass : ValueClass<"NumericAggregationBuilder", objects::AggregationBuilder> { static PyType_Spec* spec(); };
struct CategoricalAggregationBuilderClass : ValueClass<"CategoricalAggregationBuilder", objects::AggregationBuilder> { static PyType_Spec* spec(); };
struct StructAggregationBuilderClass : ValueClass<"StructAggregationBuilder", objects::AggregationBuilder> { static PyType_Spec* spec(); };
struct NumericAggregationOperatorClass : ValueClass<"NumericAggregationOperator", objects::NumericAggregationOperator> { static PyType_Spec* spec(); };
struct NegativeValueConfigurationClass : ValueClass<"NegativeValueConfiguration", objects::NegativeValueConfiguration> { static PyType_Spec* spec(); };
struct DurationClass : ValueClass<"Duration", objects::Duration> { static PyType_Spec* spec(); };
struct SignalFilterConfigurationClass : ValueClass<"SignalFilterConfiguration", objects::SignalFilterConfiguration> { static PyType_Spec* spec(); };
struct FloatConstantClass : ValueClass<"FloatConstant", objects::DoubleConstant> { static PyType_Spec* spec(); };
struct UnboundedRangeBehaviorClass : ValueClass<"UnboundedRangeBehavior", objects::UnboundedRangeBehavior> { static PyType_Spec* spec(); };
struct UdfSourceClass : ValueClass<"UdfSource", objects::UdfSource> { static PyType_Spec* spec(); };
struct EnumAggregationOperatorClass : ValueClass<"EnumAggregationOperator", objects::EnumAggregationOperator> { static PyType_Spec* spec(); };
struct GroupByTagsClass : ValueClass<"GroupByTags", objects::GroupByTags> { static PyType_Spec* spec(); };
struct GroupByTimestampClass : ValueClass<"GroupByTimestamp", objects::GroupByTimestamp> { static PyType_Spec* spec(); };
struct GroupByAlignmentClass : ValueClass<"GroupByAlignment", objects::GroupByAlignment> { static PyType_Spec* spec(); };
struct RangeMapClass : ValueClass<"RangeMap", objects::RangeMap> { static PyType_Spec* spec(); };
struct CategoricalEqualityBuilderClass : ValueClass<"CategoricalEqualityBuilder", CategoricalEqualityBuilder> { static PyType_Spec* spec(); };
struct CategoryRangesBuilderClass : ValueClass<"CategoryRangesBuilder", CategoryRangesBuilder> { static PyType_Spec* spec(); };
struct DurationFilterBuilderClass : ValueClass<"DurationFilterBuilder", DurationFilterBuilder> { static PyType_Spec* spec(); };
struct NumericEqualityBuilderClass : ValueClass<"NumericEqualityBuilder", NumericEqualityBuilder> { static PyType_Spec* spec(); };
struct GroupWithinRangesBuilderClass : ValueClass<"GroupWithinRangesBuilder", GroupWithinRangesBuilder> { static PyType_Spec* spec(); };
struct ThresholdRangesBuilderClass : ValueClass<"ThresholdRangesBuilder", ThresholdRangesBuilder> { static PyType_Spec* spec(); };
// clang-format on

using AllClasses = binding::ClassList<
    NumericSeriesClass, CategoricalSeriesClass, RangeSeriesClass, StructSeriesClass, ConstantNumericSeriesClass,
    IntegerConstantClass, StringConstantClass, DatasetClass, SamplingClass, BooleanSeriesClass,
    NumericAggregationBuilderClass, CategoricalAggregationBuilderClass, StructAggregationBuilderClass,
    NumericAggregationOperatorClass, NegativeValueConfigurationClass, DurationClass, SignalFilterConfigurationClass,
    FloatConstantClass, UnboundedRangeBehaviorClass, UdfSourceClass, EnumAggregationOperatorClass, GroupByTagsClass,
    GroupByTimestampClass, GroupByAlignmentClass, RangeMapClass, CategoricalEqualityBuilderClass,
    CategoryRangesBuilderClass, DurationFilterBuilderClass, NumericEqualityBuilderClass,
    GroupWithinRangesBuilderClass, ThresholdRangesBuilderClass>;

}  // namespace brastel_python

namespace brastel_python::binding {

// A value type held by exactly one class of the module picks that class, as
// a parameter and as a result. AggregationBuilder, held by three, is named
// through Held<...AggregationBuilderClass>.
template <class V>
  requires(HoldersOf<V, AllClasses>::count > 0)
struct ClassOfValue<V> {
  static_assert(HoldersOf<V, AllClasses>::count == 1,
                "several classes hold this type: name the class with Held<Class>");
  using type = typename HoldersOf<V, AllClasses>::first;
};

}  // namespace brastel_python::binding
