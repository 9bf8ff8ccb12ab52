#include "brastel_compute/enums.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brastel_compute {
namespace {

struct Row {
  std::string_view text;
  std::size_t index;
  std::string_view wire;
};

// Every row of the enum, in order: the text parses to the value of that
// index, the value names itself with the text, and it becomes the known wire
// value of the given name.
template <class E>
void expect_rows(const std::vector<Row>& rows) {
  ASSERT_EQ(rows.size(), E::kTexts.size()) << E::kName << ": every value must have a row";
  for (const Row& row : rows) {
    auto parsed = E::try_from(row.text);
    ASSERT_TRUE(parsed.ok()) << E::kName << " " << row.text << ": " << parsed.error().message;
    EXPECT_EQ(parsed.value().index(), row.index) << E::kName << " " << row.text;
    EXPECT_EQ(parsed.value().text(), row.text);
    auto wire = to_wire(parsed.value());
    EXPECT_EQ(wire.as_str(), row.wire) << E::kName << " " << row.text;
    EXPECT_NE(wire.value(), decltype(wire)::Value::Unknown) << E::kName << " " << row.text;
    EXPECT_EQ(static_cast<std::size_t>(wire.value()), row.index) << E::kName << " " << row.text;
  }
}

TEST(TextNamedEnums, EveryTextParsesToItsRowAndWireValue) {
  expect_rows<TimeUnit>({
      {"days", 0, "DAYS"},
      {"hours", 1, "HOURS"},
      {"minutes", 2, "MINUTES"},
      {"seconds", 3, "SECONDS"},
      {"milliseconds", 4, "MILLISECONDS"},
      {"microseconds", 5, "MICROSECONDS"},
      {"nanoseconds", 6, "NANOSECONDS"},
  });
  expect_rows<NumericDataType>({
      {"int64", 0, "INT64"},
      {"float64", 1, "FLOAT64"},
      {"uint64", 2, "UINT64"},
  });
  expect_rows<RangeStart>({
      {"condition_start", 0, "CONDITION_START"},
      {"persistence_start", 1, "PERSISTENCE_START"},
  });
  expect_rows<RefpropProperty>({
      {"temperature", 0, "TEMPERATURE"},
      {"pressure", 1, "PRESSURE"},
      {"mass_density", 2, "MASS_DENSITY"},
      {"mass_specific_enthalpy", 3, "MASS_SPECIFIC_ENTHALPY"},
      {"mass_specific_internal_energy", 4, "MASS_SPECIFIC_INTERNAL_ENERGY"},
      {"mass_specific_entropy", 5, "MASS_SPECIFIC_ENTROPY"},
      {"viscosity", 6, "VISCOSITY"},
  });
  expect_rows<RefpropSubstance>({
      {"nitrogen", 0, "NITROGEN"},
      {"oxygen", 1, "OXYGEN"},
      {"helium", 2, "HELIUM"},
      {"hydrogen", 3, "HYDROGEN"},
      {"methane", 4, "METHANE"},
      {"propane", 5, "PROPANE"},
      {"butane", 6, "BUTANE"},
      {"water", 7, "WATER"},
      {"xenon", 8, "XENON"},
      {"air", 9, "AIR"},
      {"carbon_dioxide", 10, "CARBON_DIOXIDE"},
      {"argon", 11, "ARGON"},
      {"carbon_monoxide", 12, "CARBON_MONOXIDE"},
      {"jet_a_4658", 13, "JET_A_4658"},
      {"jet_a_3638", 14, "JET_A_3638"},
  });
  expect_rows<SeriesStorage>({
      {"iceberg", 0, "ICEBERG"},
      {"clickhouse", 1, "CLICKHOUSE"},
  });
  expect_rows<UnboundedBehavior>({
      {"infinity", 0, "INFINITY"},
      {"window_bound", 1, "WINDOW_BOUND"},
  });
}

template <class E>
void expect_rejected(const std::vector<std::string>& texts) {
  for (const std::string& text : texts) {
    auto parsed = E::try_from(text);
    ASSERT_FALSE(parsed.ok()) << E::kName << " accepted \"" << text << "\"";
    EXPECT_EQ(parsed.error().message, "Invalid custom type: " + text) << E::kName;
  }
}

TEST(TextNamedEnums, NearMissesAreRejectedWithTheTextUnchanged) {
  expect_rejected<TimeUnit>({
      "Seconds",
      "SECONDS",
      " seconds",
      "seconds ",
      "second",
      "secondss",
      "",
      std::string("seconds\0", 8),
      "weeks",
      "None",
  });
  expect_rejected<NumericDataType>({"Int64", "INT64", "int32", "float", "uint64 "});
  expect_rejected<RangeStart>({"condition-start", "conditionStart", "CONDITION_START", "start"});
  expect_rejected<RefpropProperty>({"Temperature", "mass density", "mass_specific_entropy_", "density"});
  expect_rejected<RefpropSubstance>({"jet_a_4657", "jet_a_3639", "jet_a", "co2", "Nitrogen", "carbon dioxide"});
  expect_rejected<SeriesStorage>({"Iceberg", "click_house", "ICEBERG"});
  expect_rejected<UnboundedBehavior>({"Infinity", "inf", "window bound", "WINDOW_BOUND"});
}

// Texts of one enum are not accepted by another.
TEST(TextNamedEnums, TextsBelongToTheirOwnEnum) {
  expect_rejected<TimeUnit>({"int64", "condition_start", "iceberg"});
  expect_rejected<RefpropSubstance>({"temperature", "pressure"});
  expect_rejected<RefpropProperty>({"nitrogen", "water"});
}

template <class E>
void expect_wire(std::vector<std::pair<E, std::string_view>> rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    auto& [value, name] = rows[i];
    EXPECT_EQ(value.index(), i) << E::kName << " declaration order";
    auto wire = to_wire(value);
    EXPECT_EQ(wire.as_str(), name) << E::kName;
    EXPECT_NE(wire.value(), decltype(wire)::Value::Unknown) << E::kName << " " << name;
  }
}

TEST(OperatorEnums, MapToTheWireValueOfTheirRow) {
  expect_wire<ThresholdOperator>({
      {ThresholdOperator::GreaterThan, "GREATER_THAN"},
      {ThresholdOperator::GreaterThanOrEqualTo, "GREATER_THAN_OR_EQUAL_TO"},
      {ThresholdOperator::LessThan, "LESS_THAN"},
      {ThresholdOperator::LessThanOrEqualTo, "LESS_THAN_OR_EQUAL_TO"},
      {ThresholdOperator::EqualTo, "EQUAL_TO"},
      {ThresholdOperator::NotEqualTo, "NOT_EQUAL_TO"},
  });
  expect_wire<EqualityOperator>({
      {EqualityOperator::AllEqual, "ALL_EQUAL"},
      {EqualityOperator::NotAllEqual, "NOT_ALL_EQUAL"},
  });
  expect_wire<EnumFilterOperator>({
      {EnumFilterOperator::IsIn, "IS_IN"},
      {EnumFilterOperator::IsNotIn, "IS_NOT_IN"},
      {EnumFilterOperator::MatchesAnyRegex, "MATCHES_ANY_REGEX"},
  });
  expect_wire<RangePaddingConfiguration>({
      {RangePaddingConfiguration::PadStart, "PAD_START"},
      {RangePaddingConfiguration::PadEnd, "PAD_END"},
      {RangePaddingConfiguration::PadStartAndEnd, "PAD_START_AND_END"},
  });
  expect_wire<PeakType>({
      {PeakType::Peak, "PEAK"},
      {PeakType::Trough, "TROUGH"},
      {PeakType::Both, "BOTH"},
  });
}

// A value cast from outside its enum has no row: each conversion panics with
// its own text.
TEST(EnumsOutOfRange, PanicWithTheirGuardTexts) {
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[] { (void)to_wire(PeakType(static_cast<PeakType::Value>(3))); }, "enum variant string should deserialize"},
      {[] { (void)to_wire(TimeUnit(static_cast<TimeUnit::Value>(200))); }, "enum variant string should deserialize"},
      {[] { (void)to_wire_map_key(RefpropProperty(static_cast<RefpropProperty::Value>(7))); },
       "generated enum option should deserialize"},
  };
  for (const auto& [convert, message] : cases) {
    try {
      convert();
      ADD_FAILURE() << message << ": no panic";
    } catch (const Panic& panic) {
      EXPECT_EQ(std::string(panic.what()), message);
    }
  }
}

}  // namespace
}  // namespace brastel_compute
