#include "brastel_compute/enums.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <utility>

#include "brastel_compute/panic.h"

namespace brastel_compute {
namespace {

namespace wire = conjure::objects;

// The quoted wire name of each row, indexed by the core value. The wire
// enum's reader would take a misspelt name as an unknown value without a
// word, so every name is checked at compile time to be one that the wire enum
// knows; which row gets which name is checked by the tests. The last value of
// each enum must be the last row of its table.
template <class Wire, std::size_t N>
consteval bool all_known(const std::array<std::string_view, N>& quoted) {
  for (std::string_view q : quoted) {
    if (q.size() < 3 || q.front() != '"' || q.back() != '"') return false;
    std::string_view name = q.substr(1, q.size() - 2);
    bool found = false;
    for (std::string_view known : Wire::kNames) found = found || known == name;
    if (!found) return false;
  }
  return true;
}

template <class Wire, std::size_t N>
Wire read_wire(const std::array<std::string_view, N>& quoted, std::size_t index,
               const char* guard = "enum variant string should deserialize") {
  auto read = Wire::from_json(quoted[index]);
  if (!read.ok()) throw Panic(guard);
  return std::move(read).value();
}

constexpr std::array<std::string_view, 7> kTimeUnit{
    "\"DAYS\"",
    "\"HOURS\"",
    "\"MINUTES\"",
    "\"SECONDS\"",
    "\"MILLISECONDS\"",
    "\"MICROSECONDS\"",
    "\"NANOSECONDS\"",
};
static_assert(all_known<::io::brastel::api::TimeUnit>(kTimeUnit));
static_assert(kTimeUnit.size() == enum_defs::TimeUnit::kTexts.size());
static_assert(kTimeUnit.size() == TimeUnit::Nanoseconds + 1u);

constexpr std::array<std::string_view, 3> kNumericDataType{
    "\"INT64\"",
    "\"FLOAT64\"",
    "\"UINT64\"",
};
static_assert(all_known<wire::NumericDataType>(kNumericDataType));
static_assert(kNumericDataType.size() == enum_defs::NumericDataType::kTexts.size());
static_assert(kNumericDataType.size() == NumericDataType::Uint64 + 1u);

constexpr std::array<std::string_view, 2> kRangeStart{
    "\"CONDITION_START\"",
    "\"PERSISTENCE_START\"",
};
static_assert(all_known<wire::RangeStart>(kRangeStart));
static_assert(kRangeStart.size() == enum_defs::RangeStart::kTexts.size());
static_assert(kRangeStart.size() == RangeStart::PersistenceStart + 1u);

constexpr std::array<std::string_view, 7> kRefpropProperty{
    "\"TEMPERATURE\"",
    "\"PRESSURE\"",
    "\"MASS_DENSITY\"",
    "\"MASS_SPECIFIC_ENTHALPY\"",
    "\"MASS_SPECIFIC_INTERNAL_ENERGY\"",
    "\"MASS_SPECIFIC_ENTROPY\"",
    "\"VISCOSITY\"",
};
static_assert(all_known<wire::RefpropProperty>(kRefpropProperty));
static_assert(kRefpropProperty.size() == enum_defs::RefpropProperty::kTexts.size());
static_assert(kRefpropProperty.size() == RefpropProperty::Viscosity + 1u);

constexpr std::array<std::string_view, 15> kRefpropSubstance{
    "\"NITROGEN\"",
    "\"OXYGEN\"",
    "\"HELIUM\"",
    "\"HYDROGEN\"",
    "\"METHANE\"",
    "\"PROPANE\"",
    "\"BUTANE\"",
    "\"WATER\"",
    "\"XENON\"",
    "\"AIR\"",
    "\"CARBON_DIOXIDE\"",
    "\"ARGON\"",
    "\"CARBON_MONOXIDE\"",
    "\"JET_A_4658\"",
    "\"JET_A_3638\"",
};
static_assert(all_known<wire::RefpropSubstance>(kRefpropSubstance));
static_assert(kRefpropSubstance.size() == enum_defs::RefpropSubstance::kTexts.size());
static_assert(kRefpropSubstance.size() == RefpropSubstance::JetA3638 + 1u);

constexpr std::array<std::string_view, 2> kSeriesStorage{
    "\"ICEBERG\"",
    "\"CLICKHOUSE\"",
};
static_assert(all_known<wire::SeriesStorage>(kSeriesStorage));
static_assert(kSeriesStorage.size() == enum_defs::SeriesStorage::kTexts.size());
static_assert(kSeriesStorage.size() == SeriesStorage::Clickhouse + 1u);

constexpr std::array<std::string_view, 2> kUnboundedBehavior{
    "\"INFINITY\"",
    "\"WINDOW_BOUND\"",
};
static_assert(all_known<wire::UnboundedBehavior>(kUnboundedBehavior));
static_assert(kUnboundedBehavior.size() == enum_defs::UnboundedBehavior::kTexts.size());
static_assert(kUnboundedBehavior.size() == UnboundedBehavior::WindowBound + 1u);

constexpr std::array<std::string_view, 6> kThresholdOperator{
    "\"GREATER_THAN\"",
    "\"GREATER_THAN_OR_EQUAL_TO\"",
    "\"LESS_THAN\"",
    "\"LESS_THAN_OR_EQUAL_TO\"",
    "\"EQUAL_TO\"",
    "\"NOT_EQUAL_TO\"",
};
static_assert(all_known<wire::ThresholdOperator>(kThresholdOperator));
static_assert(kThresholdOperator.size() == ThresholdOperator::NotEqualTo + 1u);

constexpr std::array<std::string_view, 2> kEqualityOperator{
    "\"ALL_EQUAL\"",
    "\"NOT_ALL_EQUAL\"",
};
static_assert(all_known<wire::EqualityOperator>(kEqualityOperator));
static_assert(kEqualityOperator.size() == EqualityOperator::NotAllEqual + 1u);

constexpr std::array<std::string_view, 3> kEnumFilterOperator{
    "\"IS_IN\"",
    "\"IS_NOT_IN\"",
    "\"MATCHES_ANY_REGEX\"",
};
static_assert(all_known<wire::EnumFilterOperator>(kEnumFilterOperator));
static_assert(kEnumFilterOperator.size() == EnumFilterOperator::MatchesAnyRegex + 1u);

constexpr std::array<std::string_view, 3> kRangePaddingConfiguration{
    "\"PAD_START\"",
    "\"PAD_END\"",
    "\"PAD_START_AND_END\"",
};
static_assert(all_known<wire::RangePaddingConfiguration>(kRangePaddingConfiguration));
static_assert(kRangePaddingConfiguration.size() == RangePaddingConfiguration::PadStartAndEnd + 1u);

constexpr std::array<std::string_view, 3> kPeakType{
    "\"PEAK\"",
    "\"TROUGH\"",
    "\"BOTH\"",
};
static_assert(all_known<wire::PeakType>(kPeakType));
static_assert(kPeakType.size() == PeakType::Both + 1u);

}  // namespace

::io::brastel::api::TimeUnit to_wire(TimeUnit value) {
  return read_wire<::io::brastel::api::TimeUnit>(kTimeUnit, value.index());
}

conjure::objects::NumericDataType to_wire(NumericDataType value) {
  return read_wire<wire::NumericDataType>(kNumericDataType, value.index());
}

conjure::objects::RangeStart to_wire(RangeStart value) {
  return read_wire<wire::RangeStart>(kRangeStart, value.index());
}

conjure::objects::RefpropProperty to_wire(RefpropProperty value) {
  return read_wire<wire::RefpropProperty>(kRefpropProperty, value.index());
}

conjure::objects::RefpropProperty to_wire_map_key(RefpropProperty value) {
  return read_wire<wire::RefpropProperty>(kRefpropProperty, value.index(),
                                          "generated enum option should deserialize");
}

conjure::objects::RefpropSubstance to_wire(RefpropSubstance value) {
  return read_wire<wire::RefpropSubstance>(kRefpropSubstance, value.index());
}

conjure::objects::SeriesStorage to_wire(SeriesStorage value) {
  return read_wire<wire::SeriesStorage>(kSeriesStorage, value.index());
}

conjure::objects::UnboundedBehavior to_wire(UnboundedBehavior value) {
  return read_wire<wire::UnboundedBehavior>(kUnboundedBehavior, value.index());
}

conjure::objects::ThresholdOperator to_wire(ThresholdOperator value) {
  return read_wire<wire::ThresholdOperator>(kThresholdOperator, value.index());
}

conjure::objects::EqualityOperator to_wire(EqualityOperator value) {
  return read_wire<wire::EqualityOperator>(kEqualityOperator, value.index());
}

conjure::objects::EnumFilterOperator to_wire(EnumFilterOperator value) {
  return read_wire<wire::EnumFilterOperator>(kEnumFilterOperator, value.index());
}

conjure::objects::RangePaddingConfiguration to_wire(RangePaddingConfiguration value) {
  return read_wire<wire::RangePaddingConfiguration>(kRangePaddingConfiguration, value.index());
}

conjure::objects::PeakType to_wire(PeakType value) {
  return read_wire<wire::PeakType>(kPeakType, value.index());
}

}  // namespace brastel_compute
