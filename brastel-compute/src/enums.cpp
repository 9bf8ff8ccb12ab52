#include "brastel_compute/enums.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace brastel_compute {

template <class Def>
std::optional<Enum<Def>> Enum<Def>::find(std::string_view text) noexcept
  requires enum_defs::TextNamed<Def>
{
  for (std::size_t i = 0; i < Def::kTexts.size(); ++i) {
    if (Def::kTexts[i] == text) return Enum(static_cast<Value>(i));
  }
  return std::nullopt;
}

template std::optional<TimeUnit> TimeUnit::find(std::string_view) noexcept;
template std::optional<NumericDataType> NumericDataType::find(std::string_view) noexcept;
template std::optional<RangeStart> RangeStart::find(std::string_view) noexcept;
template std::optional<RefpropProperty> RefpropProperty::find(std::string_view) noexcept;
template std::optional<RefpropSubstance> RefpropSubstance::find(std::string_view) noexcept;
template std::optional<SeriesStorage> SeriesStorage::find(std::string_view) noexcept;
template std::optional<UnboundedBehavior> UnboundedBehavior::find(std::string_view) noexcept;

namespace {

// Every table has a row per value, the given last value being the last row,
// and, for the text-named ones, a text per row. Each table's wire values are
// made here, so that a wire name the wire enum lacks stops the build even
// where no caller converts that enum (enums.h). Which row gets which name
// is checked by the tests.
template <class Def>
consteval bool rows_hold(typename Def::Value last) {
  if constexpr (enum_defs::TextNamed<Def>) {
    if (Def::kTexts.size() != Def::kWire.size()) return false;
  }
  return enum_defs::kWireValues<Def>.size() == static_cast<std::size_t>(last) + 1;
}

static_assert(rows_hold<enum_defs::TimeUnit>(TimeUnit::Nanoseconds));
static_assert(rows_hold<enum_defs::NumericDataType>(NumericDataType::Uint64));
static_assert(rows_hold<enum_defs::RangeStart>(RangeStart::PersistenceStart));
static_assert(rows_hold<enum_defs::RefpropProperty>(RefpropProperty::Viscosity));
static_assert(rows_hold<enum_defs::RefpropSubstance>(RefpropSubstance::JetA3638));
static_assert(rows_hold<enum_defs::SeriesStorage>(SeriesStorage::Clickhouse));
static_assert(rows_hold<enum_defs::UnboundedBehavior>(UnboundedBehavior::WindowBound));
static_assert(rows_hold<enum_defs::ThresholdOperator>(ThresholdOperator::NotEqualTo));
static_assert(rows_hold<enum_defs::EqualityOperator>(EqualityOperator::NotAllEqual));
static_assert(rows_hold<enum_defs::EnumFilterOperator>(EnumFilterOperator::MatchesAnyRegex));
static_assert(rows_hold<enum_defs::RangePaddingConfiguration>(RangePaddingConfiguration::PadStartAndEnd));
static_assert(rows_hold<enum_defs::PeakType>(PeakType::Both));

}  // namespace
}  // namespace brastel_compute
