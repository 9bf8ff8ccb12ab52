// The module's 31 classes: each one's Python name and held value, and their
// registration order (AllClasses), which is also the order of __all__.
// Each class, Wrapped<Name> registered as <Name>, has its spec() -- its
// method table -- in its family's file in this folder.
#pragma once

#include <optional>
#include <vector>

#include "binding/binding.h"
#include "brastel_compute/conjure/objects.h"
#include "brastel_compute/enums.h"

namespace brastel_python {

namespace objects = ::brastel_compute::conjure::objects;

namespace python_construction {}

// Where the functions that the method tables name come from: the core's
// construction functions, and those of the newer node kinds kept beside the
// module.
namespace bc = ::brastel_compute;
namespace pc = ::brastel_python::python_construction;
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
struct WrappedNumericSeries : ValueClass<"NumericSeries", objects::NumericSeries> { static PyType_Spec* spec(); };
struct WrappedCategoricalSeries : ValueClass<"CategoricalSeries", objects::EnumSeries> { static PyType_Spec* spec(); };
struct WrappedRangeSeries : ValueClass<"RangeSeries", objects::RangeSeries> { static PyType_Spec* spec(); };
struct WrappedStructSeries : ValueClass<"StructSeries", objects::StructSeries> { static PyType_Spec* spec(); };
struct WrappedConstantNumericSeries : ValueClass<"ConstantNumericSeries", objects::ConstantNumericSeries> { static PyType_Spec* spec(); };
struct WrappedIntegerConstant : ValueClass<"IntegerConstant", objects::IntegerConstant> { static PyType_Spec* spec(); };
struct WrappedStringConstant : ValueClass<"StringConstant", objects::StringConstant> { static PyType_Spec* spec(); };
struct WrappedDataset : ValueClass<"Dataset", objects::Dataset> { static PyType_Spec* spec(); };
struct WrappedSampling : ValueClass<"Sampling", objects::Sampling> { static PyType_Spec* spec(); };
struct WrappedBooleanSeries : ValueClass<"BooleanSeries", objects::BooleanSeries> { static PyType_Spec* spec(); };
struct WrappedNumericAggregationBuilder : ValueClass<"NumericAggregationBuilder", objects::AggregationBuilder> { static PyType_Spec* spec(); };
struct WrappedCategoricalAggregationBuilder : ValueClass<"CategoricalAggregationBuilder", objects::AggregationBuilder> { static PyType_Spec* spec(); };
struct WrappedStructAggregationBuilder : ValueClass<"StructAggregationBuilder", objects::AggregationBuilder> { static PyType_Spec* spec(); };
struct WrappedNumericAggregationOperator : ValueClass<"NumericAggregationOperator", objects::NumericAggregationOperator> { static PyType_Spec* spec(); };
struct WrappedNegativeValueConfiguration : ValueClass<"NegativeValueConfiguration", objects::NegativeValueConfiguration> { static PyType_Spec* spec(); };
struct WrappedDuration : ValueClass<"Duration", objects::Duration> { static PyType_Spec* spec(); };
struct WrappedSignalFilterConfiguration : ValueClass<"SignalFilterConfiguration", objects::SignalFilterConfiguration> { static PyType_Spec* spec(); };
struct WrappedFloatConstant : ValueClass<"FloatConstant", objects::DoubleConstant> { static PyType_Spec* spec(); };
struct WrappedUnboundedRangeBehavior : ValueClass<"UnboundedRangeBehavior", objects::UnboundedRangeBehavior> { static PyType_Spec* spec(); };
struct WrappedUdfSource : ValueClass<"UdfSource", objects::UdfSource> { static PyType_Spec* spec(); };
struct WrappedEnumAggregationOperator : ValueClass<"EnumAggregationOperator", objects::EnumAggregationOperator> { static PyType_Spec* spec(); };
struct WrappedGroupByTags : ValueClass<"GroupByTags", objects::GroupByTags> { static PyType_Spec* spec(); };
struct WrappedGroupByTimestamp : ValueClass<"GroupByTimestamp", objects::GroupByTimestamp> { static PyType_Spec* spec(); };
struct WrappedGroupByAlignment : ValueClass<"GroupByAlignment", objects::GroupByAlignment> { static PyType_Spec* spec(); };
struct WrappedRangeMap : ValueClass<"RangeMap", objects::RangeMap> { static PyType_Spec* spec(); };
struct WrappedCategoricalEqualityBuilder : ValueClass<"CategoricalEqualityBuilder", CategoricalEqualityBuilder> { static PyType_Spec* spec(); };
struct WrappedCategoryRangesBuilder : ValueClass<"CategoryRangesBuilder", CategoryRangesBuilder> { static PyType_Spec* spec(); };
struct WrappedDurationFilterBuilder : ValueClass<"DurationFilterBuilder", DurationFilterBuilder> { static PyType_Spec* spec(); };
struct WrappedNumericEqualityBuilder : ValueClass<"NumericEqualityBuilder", NumericEqualityBuilder> { static PyType_Spec* spec(); };
struct WrappedGroupWithinRangesBuilder : ValueClass<"GroupWithinRangesBuilder", GroupWithinRangesBuilder> { static PyType_Spec* spec(); };
struct WrappedThresholdRangesBuilder : ValueClass<"ThresholdRangesBuilder", ThresholdRangesBuilder> { static PyType_Spec* spec(); };
// clang-format on

using AllClasses = binding::ClassList<
    WrappedNumericSeries, WrappedCategoricalSeries, WrappedRangeSeries, WrappedStructSeries, WrappedConstantNumericSeries,
    WrappedIntegerConstant, WrappedStringConstant, WrappedDataset, WrappedSampling, WrappedBooleanSeries,
    WrappedNumericAggregationBuilder, WrappedCategoricalAggregationBuilder, WrappedStructAggregationBuilder,
    WrappedNumericAggregationOperator, WrappedNegativeValueConfiguration, WrappedDuration, WrappedSignalFilterConfiguration,
    WrappedFloatConstant, WrappedUnboundedRangeBehavior, WrappedUdfSource, WrappedEnumAggregationOperator, WrappedGroupByTags,
    WrappedGroupByTimestamp, WrappedGroupByAlignment, WrappedRangeMap, WrappedCategoricalEqualityBuilder,
    WrappedCategoryRangesBuilder, WrappedDurationFilterBuilder, WrappedNumericEqualityBuilder,
    WrappedGroupWithinRangesBuilder, WrappedThresholdRangesBuilder>;

}  // namespace brastel_python

namespace brastel_python::binding {

// A value type held by exactly one class of the module picks that class, as
// a parameter and as a result. AggregationBuilder, held by three, is named
// through Held<Wrapped...AggregationBuilder>.
template <class V>
  requires(HoldersOf<V, AllClasses>::count > 0)
struct ClassOfValue<V> {
  static_assert(HoldersOf<V, AllClasses>::count == 1,
                "several classes hold this type: name the class with Held<Class>");
  using type = typename HoldersOf<V, AllClasses>::first;
};

}  // namespace brastel_python::binding
