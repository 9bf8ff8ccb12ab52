#include "brastel_compute/enums.h"

#include <cstddef>
#include <string_view>

namespace brastel_compute {
namespace {

// The wire enum's reader would take a misspelt name as an unknown value
// without a word, so every quoted wire name of a table is checked here, at
// compile time, to be one that the wire enum knows; so is the length of each
// table: a row per value, the given last value being the last row. Which row
// gets which name is checked by the tests.
template <class Def>
consteval bool rows_hold(typename Def::Value last) {
  for (std::string_view quoted : Def::kWire) {
    if (quoted.size() < 3 || quoted.front() != '"' || quoted.back() != '"') return false;
    std::string_view name = quoted.substr(1, quoted.size() - 2);
    bool found = false;
    for (std::string_view known : Def::Wire::kNames) found = found || known == name;
    if (!found) return false;
  }
  if constexpr (enum_defs::TextNamed<Def>) {
    if (Def::kTexts.size() != Def::kWire.size()) return false;
  }
  return Def::kWire.size() == static_cast<std::size_t>(last) + 1;
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
