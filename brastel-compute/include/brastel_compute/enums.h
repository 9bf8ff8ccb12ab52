// The small enums that callers choose by text ("seconds", "nitrogen") or by
// the method they call (peaks, pad_both). They are never written as JSON:
// the construction functions turn them into the wire enum of the same name
// with to_wire(). Unlike the wire enums they have no unknown value.
//
// Each enum is Enum<Def>, where Def is its table: the values, their texts
// (for the text-named ones) and their wire names. The values are
// reachable as TimeUnit::Seconds, value() gives the plain enumerator for a
// switch, and the text-named ones have text(), find() and try_from().
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "brastel_compute/conjure/objects.h"
#include "brastel_compute/panic.h"
#include "conjure_object/result.h"

namespace brastel_compute {

namespace enum_defs {

// The order of the enumerators is the order of the texts and of the wire
// names: the index selects both. Wire is the wire enum of the same name.

struct TimeUnit {
  static constexpr std::string_view kName = "TimeUnit";
  using Wire = ::io::brastel::api::TimeUnit;
  enum Value : std::uint8_t { Days, Hours, Minutes, Seconds, Milliseconds, Microseconds, Nanoseconds };
  static constexpr std::array<std::string_view, 7> kTexts{
      "days", "hours", "minutes", "seconds", "milliseconds", "microseconds", "nanoseconds"};
  static constexpr std::array<std::string_view, 7> kWire{
      "DAYS", "HOURS", "MINUTES", "SECONDS", "MILLISECONDS", "MICROSECONDS", "NANOSECONDS",
  };
};

struct NumericDataType {
  static constexpr std::string_view kName = "NumericDataType";
  using Wire = conjure::objects::NumericDataType;
  enum Value : std::uint8_t { Int64, Float64, Uint64 };
  static constexpr std::array<std::string_view, 3> kTexts{"int64", "float64", "uint64"};
  static constexpr std::array<std::string_view, 3> kWire{"INT64", "FLOAT64", "UINT64"};
};

struct RangeStart {
  static constexpr std::string_view kName = "RangeStart";
  using Wire = conjure::objects::RangeStart;
  enum Value : std::uint8_t { ConditionStart, PersistenceStart };
  static constexpr std::array<std::string_view, 2> kTexts{"condition_start", "persistence_start"};
  static constexpr std::array<std::string_view, 2> kWire{"CONDITION_START", "PERSISTENCE_START"};
};

struct RefpropProperty {
  static constexpr std::string_view kName = "RefpropProperty";
  using Wire = conjure::objects::RefpropProperty;
  enum Value : std::uint8_t {
    Temperature,
    Pressure,
    MassDensity,
    MassSpecificEnthalpy,
    MassSpecificInternalEnergy,
    MassSpecificEntropy,
    Viscosity,
  };
  static constexpr std::array<std::string_view, 7> kTexts{
      "temperature",
      "pressure",
      "mass_density",
      "mass_specific_enthalpy",
      "mass_specific_internal_energy",
      "mass_specific_entropy",
      "viscosity",
  };
  static constexpr std::array<std::string_view, 7> kWire{
      "TEMPERATURE", "PRESSURE", "MASS_DENSITY", "MASS_SPECIFIC_ENTHALPY",
      "MASS_SPECIFIC_INTERNAL_ENERGY", "MASS_SPECIFIC_ENTROPY", "VISCOSITY",
  };
};

struct RefpropSubstance {
  static constexpr std::string_view kName = "RefpropSubstance";
  using Wire = conjure::objects::RefpropSubstance;
  enum Value : std::uint8_t {
    Nitrogen,
    Oxygen,
    Helium,
    Hydrogen,
    Methane,
    Propane,
    Butane,
    Water,
    Xenon,
    Air,
    CarbonDioxide,
    Argon,
    CarbonMonoxide,
    JetA4658,
    JetA3638,
  };
  static constexpr std::array<std::string_view, 15> kTexts{
      "nitrogen", "oxygen", "helium", "hydrogen", "methane", "propane", "butane", "water",
      "xenon", "air", "carbon_dioxide", "argon", "carbon_monoxide", "jet_a_4658", "jet_a_3638",
  };
  static constexpr std::array<std::string_view, 15> kWire{
      "NITROGEN", "OXYGEN", "HELIUM", "HYDROGEN", "METHANE", "PROPANE", "BUTANE",
      "WATER", "XENON", "AIR", "CARBON_DIOXIDE", "ARGON", "CARBON_MONOXIDE", "JET_A_4658",
      "JET_A_3638",
  };
};

struct SeriesStorage {
  static constexpr std::string_view kName = "SeriesStorage";
  using Wire = conjure::objects::SeriesStorage;
  enum Value : std::uint8_t { Iceberg, Clickhouse };
  static constexpr std::array<std::string_view, 2> kTexts{"iceberg", "clickhouse"};
  static constexpr std::array<std::string_view, 2> kWire{"ICEBERG", "CLICKHOUSE"};
};

struct UnboundedBehavior {
  static constexpr std::string_view kName = "UnboundedBehavior";
  using Wire = conjure::objects::UnboundedBehavior;
  enum Value : std::uint8_t { Infinity, WindowBound };
  static constexpr std::array<std::string_view, 2> kTexts{"infinity", "window_bound"};
  static constexpr std::array<std::string_view, 2> kWire{"INFINITY", "WINDOW_BOUND"};
};

// Operator enums: no text form, the caller's method picks the value.

struct ThresholdOperator {
  static constexpr std::string_view kName = "ThresholdOperator";
  using Wire = conjure::objects::ThresholdOperator;
  enum Value : std::uint8_t {
    GreaterThan,
    GreaterThanOrEqualTo,
    LessThan,
    LessThanOrEqualTo,
    EqualTo,
    NotEqualTo,
  };
  static constexpr std::array<std::string_view, 6> kWire{
      "GREATER_THAN", "GREATER_THAN_OR_EQUAL_TO", "LESS_THAN", "LESS_THAN_OR_EQUAL_TO", "EQUAL_TO",
      "NOT_EQUAL_TO",
  };
};

struct EqualityOperator {
  static constexpr std::string_view kName = "EqualityOperator";
  using Wire = conjure::objects::EqualityOperator;
  enum Value : std::uint8_t { AllEqual, NotAllEqual };
  static constexpr std::array<std::string_view, 2> kWire{"ALL_EQUAL", "NOT_ALL_EQUAL"};
};

struct EnumFilterOperator {
  static constexpr std::string_view kName = "EnumFilterOperator";
  using Wire = conjure::objects::EnumFilterOperator;
  enum Value : std::uint8_t { IsIn, IsNotIn, MatchesAnyRegex };
  static constexpr std::array<std::string_view, 3> kWire{"IS_IN", "IS_NOT_IN", "MATCHES_ANY_REGEX"};
};

struct RangePaddingConfiguration {
  static constexpr std::string_view kName = "RangePaddingConfiguration";
  using Wire = conjure::objects::RangePaddingConfiguration;
  enum Value : std::uint8_t { PadStart, PadEnd, PadStartAndEnd };
  static constexpr std::array<std::string_view, 3> kWire{"PAD_START", "PAD_END", "PAD_START_AND_END"};
};

struct PeakType {
  static constexpr std::string_view kName = "PeakType";
  using Wire = conjure::objects::PeakType;
  enum Value : std::uint8_t { Peak, Trough, Both };
  static constexpr std::array<std::string_view, 3> kWire{"PEAK", "TROUGH", "BOTH"};
};

template <class Def>
concept TextNamed = requires { Def::kTexts; };

}  // namespace enum_defs

template <class Def>
class Enum : public Def {
 public:
  using Value = typename Def::Value;

  constexpr Enum(Value value) noexcept : value_(value) {}

  constexpr Value value() const noexcept { return value_; }
  // Position in declaration order.
  constexpr std::size_t index() const noexcept { return static_cast<std::size_t>(value_); }

  friend constexpr bool operator==(Enum, Enum) noexcept = default;

  // The text that names the value.
  constexpr std::string_view text() const noexcept
    requires enum_defs::TextNamed<Def>
  {
    return Def::kTexts[index()];
  }

  // The value whose text is exactly the given one (case-sensitive, whole).
  // Made once per enum, in enums.cpp: inlined, its compares with every text
  // would swell each function that reads an enum argument.
  static std::optional<Enum> find(std::string_view text) noexcept
    requires enum_defs::TextNamed<Def>;

  // As find; anything else fails with "Invalid custom type: " followed by the
  // text as given.
  static conjure_object::Result<Enum> try_from(std::string_view text)
    requires enum_defs::TextNamed<Def>
  {
    if (std::optional<Enum> found = find(text)) return *found;
    std::string message = "Invalid custom type: ";
    message.append(text);
    return conjure_object::Error{std::move(message)};
  }

 private:
  Value value_;
};

using TimeUnit = Enum<enum_defs::TimeUnit>;
using NumericDataType = Enum<enum_defs::NumericDataType>;
using RangeStart = Enum<enum_defs::RangeStart>;
using RefpropProperty = Enum<enum_defs::RefpropProperty>;
using RefpropSubstance = Enum<enum_defs::RefpropSubstance>;
using SeriesStorage = Enum<enum_defs::SeriesStorage>;
using UnboundedBehavior = Enum<enum_defs::UnboundedBehavior>;
using ThresholdOperator = Enum<enum_defs::ThresholdOperator>;
using EqualityOperator = Enum<enum_defs::EqualityOperator>;
using EnumFilterOperator = Enum<enum_defs::EnumFilterOperator>;
using RangePaddingConfiguration = Enum<enum_defs::RangePaddingConfiguration>;
using PeakType = Enum<enum_defs::PeakType>;

namespace enum_defs {

// The wire value of each row, found at compile time by the row's name among
// the wire enum's names: a call only indexes this table. A name that the
// wire enum lacks stops the build.
template <class Def>
consteval std::array<typename Def::Wire::Value, Def::kWire.size()> wire_values() {
  std::array<typename Def::Wire::Value, Def::kWire.size()> values{};
  for (std::size_t row = 0; row < Def::kWire.size(); ++row) {
    std::size_t known = 0;
    while (known < Def::Wire::kNames.size() && Def::Wire::kNames[known] != Def::kWire[row]) ++known;
    if (known == Def::Wire::kNames.size()) throw "a row names a value that its wire enum does not know";
    values[row] = static_cast<typename Def::Wire::Value>(known);
  }
  return values;
}

template <class Def>
inline constexpr auto kWireValues = wire_values<Def>();

template <class Def>
typename Def::Wire wire_value(std::size_t index, const char* guard) {
  // A value cast from outside the enum's range has no row.
  if (index >= kWireValues<Def>.size()) throw Panic(guard);
  return typename Def::Wire(kWireValues<Def>[index]);
}

}  // namespace enum_defs

// The wire value of the same row; a value without a row is a Panic ("enum
// variant string should deserialize").
template <class Def>
typename Def::Wire to_wire(Enum<Def> value) {
  return enum_defs::wire_value<Def>(value.index(), "enum variant string should deserialize");
}

// As to_wire, for the property keys of a refprop input map, whose guard has
// its own text ("generated enum option should deserialize").
inline conjure::objects::RefpropProperty to_wire_map_key(RefpropProperty value) {
  return enum_defs::wire_value<enum_defs::RefpropProperty>(value.index(), "generated enum option should deserialize");
}

// An absent value stays absent.
template <class Def>
auto to_wire(std::optional<Enum<Def>> value) -> std::optional<decltype(to_wire(*value))> {
  if (!value) return std::nullopt;
  return to_wire(*value);
}

}  // namespace brastel_compute
