// Exact wire text of the model's traps: key orders that differ between a
// type and its V2, operands written in a fixed order, collections that are
// written even when empty, and the orders of sets and maps.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/model_support.h"
#include "stack_depth.h"

namespace {

using namespace model_test;
using conjure_object::Any;
namespace api = ::io::brastel::api;

struct Golden {
  const char* name;
  std::string actual;
  const char* expected;
};

std::vector<Golden> numeric_goldens() {
  obj::MeanSeries one_input{.inputs = {raw("a")}};
  obj::NumericUnionSeries union_series{.input = {raw("a"), raw("b")},
                                       .operation = obj::NumericUnionOperation(obj::NumericUnionOperation::Value::Max)};
  return {
      {"unary function holds its input as x", json(obj::NumericSeries::abs(obj::Abs{raw("a")})),
       R"({"type":"abs","abs":{"x":{"type":"raw","raw":{"name":"a"}}}})"},
      {"atan2 writes y before x", json(obj::NumericSeries::atan2(obj::Atan2{.y = raw("y"), .x = raw("x")})),
       R"({"type":"atan2","atan2":{"y":{"type":"raw","raw":{"name":"y"}},"x":{"type":"raw","raw":{"name":"x"}}}})"},
      {"power names base and exponent",
       json(obj::NumericSeries::power(obj::Power{.base = raw("b"), .exponent = raw("e")})),
       R"({"type":"power","power":{"base":{"type":"raw","raw":{"name":"b"}},"exponent":{"type":"raw","raw":{"name":"e"}}}})"},
      {"reduction with no inputs is an empty object", json(obj::NumericSeries::mean(obj::MeanSeries{})),
       R"({"type":"mean","mean":{}})"},
      {"reduction with one input", json(obj::NumericSeries::mean(one_input)),
       R"({"type":"mean","mean":{"inputs":[{"type":"raw","raw":{"name":"a"}}]}})"},
      {"union lists its series under the singular key", json(obj::NumericSeries::union_(union_series)),
       R"({"type":"union","union":{"input":[{"type":"raw","raw":{"name":"a"}},{"type":"raw","raw":{"name":"b"}}],"operation":"MAX"}})"},
      {"constant double literal", json(obj::NumericSeries::constant(obj::ConstantNumericSeries::double_(obj::DoubleConstant::literal(2.0)))),
       R"({"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":2.0}}})"},
      {"derivative leaves the absent configuration out",
       json(obj::NumericSeries::derivative(obj::DerivativeSeries{
           .input = raw("a"), .time_unit = api::TimeUnit(api::TimeUnit::Value::Seconds)})),
       R"({"type":"derivative","derivative":{"input":{"type":"raw","raw":{"name":"a"}},"timeUnit":"SECONDS"}})"},
      {"select with nothing set", json(obj::NumericSeries::select_numeric(obj::SelectSeries{})),
       R"({"type":"selectNumeric","selectNumeric":{}})"},
      {"unknown enum value is written as held",
       json(obj::SelectSeries{.storage = obj::SeriesStorage::unknown("COLD_STORE_2")}), R"({"storage":"COLD_STORE_2"})"},
  };
}

std::vector<Golden> order_goldens() {
  using P = obj::RefpropProperty;
  std::map<P, obj::NumericSeries> inputs;
  inputs.emplace(P(P::Value::Viscosity), raw("v"));
  inputs.emplace(P::unknown("AAA"), raw("u"));
  inputs.emplace(P(P::Value::Temperature), raw("t"));
  const auto substance = obj::RefpropSubstance(obj::RefpropSubstance::Value::Nitrogen);
  obj::RefpropSeries v1{.inputs = inputs, .output_property = P(P::Value::Pressure), .substance = substance};
  obj::RefpropSeriesV2 v2{.inputs = inputs, .substance = substance, .output_property = P(P::Value::Pressure)};

  obj::ZscoreSeries zscore{.input = raw("a"),
                           .group_by_tags = {obj::StringConstant::variable("b"), literal("b"), literal("B"),
                                             obj::StringConstant::unknown("z", Any(1)), literal("a"),
                                             obj::StringConstant::variable("a"), literal("b")}};
  std::map<std::string, obj::NumericSeries> named{{"b", raw("1")}, {"a", raw("2")}, {"B", raw("3")}};
  return {
      {"refprop map keys in declaration order, unknown last", json(v1),
       R"({"inputs":{"TEMPERATURE":{"type":"raw","raw":{"name":"t"}},"VISCOSITY":{"type":"raw","raw":{"name":"v"}},"AAA":{"type":"raw","raw":{"name":"u"}}},"outputProperty":"PRESSURE","substance":"NITROGEN"})"},
      {"refprop V2 writes substance before the output property", json(v2),
       R"({"inputs":{"TEMPERATURE":{"type":"raw","raw":{"name":"t"}},"VISCOSITY":{"type":"raw","raw":{"name":"v"}},"AAA":{"type":"raw","raw":{"name":"u"}}},"substance":"NITROGEN","outputProperty":"PRESSURE"})"},
      {"string constant set: literals, then variables, then unknown arms", json(zscore),
       R"({"input":{"type":"raw","raw":{"name":"a"}},"groupByTags":[{"type":"literal","literal":"B"},{"type":"literal","literal":"a"},{"type":"literal","literal":"b"},{"type":"variable","variable":"a"},{"type":"variable","variable":"b"},{"type":"z","z":1}]})"},
      {"empty tag set leaves its key out", json(obj::ZscoreSeries{.input = raw("a")}),
       R"({"input":{"type":"raw","raw":{"name":"a"}}})"},
      {"text map keys sort byte-wise", json(obj::ArithmeticSeries{.inputs = named, .expression = "a+b"}),
       R"({"inputs":{"B":{"type":"raw","raw":{"name":"3"}},"a":{"type":"raw","raw":{"name":"2"}},"b":{"type":"raw","raw":{"name":"1"}}},"expression":"a+b"})"},
  };
}

std::vector<Golden> presence_goldens() {
  const auto range = obj::RangeSeries::raw(obj::Reference{"r"});
  const auto seconds = obj::Duration::seconds(obj::DurationSeconds{obj::IntegerConstant::literal(5)});
  const auto ge = obj::ThresholdOperator(obj::ThresholdOperator::Value::GreaterThanOrEqualTo);
  const auto window = obj::UnboundedBehavior(obj::UnboundedBehavior::Value::WindowBound);
  return {
      {"duration filter: unbounded behaviour last",
       json(obj::DurationFilterRanges{.input = range,
                                      .threshold = obj::DurationConstant::variable("d"),
                                      .operator_ = ge,
                                      .unbounded_behavior = window}),
       R"({"input":{"type":"raw","raw":{"name":"r"}},"threshold":{"type":"variable","variable":"d"},"operator":"GREATER_THAN_OR_EQUAL_TO","unboundedBehavior":"WINDOW_BOUND"})"},
      {"duration filter V2: unbounded behaviour before the comparison",
       json(obj::DurationFilterRangesV2{.input = range, .duration = seconds, .unbounded_behavior = window, .comparison = ge}),
       R"({"input":{"type":"raw","raw":{"name":"r"}},"duration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":5}}},"unboundedBehavior":"WINDOW_BOUND","comparison":"GREATER_THAN_OR_EQUAL_TO"})"},
      {"literal range: absent tags left out", json(obj::LiteralRange{}), "{}"},
      {"literal range: present empty tags written", json(obj::LiteralRange{.tags = std::map<std::string, std::string>{}}),
       R"({"tags":{}})"},
      {"context: present empty function variables written",
       json(obj::Context{.function_variables = std::map<std::string, obj::FunctionVariables>{}}),
       R"({"functionVariables":{}})"},
      {"empty set as a union payload is written", json(obj::StringSetConstant::literal({})),
       R"({"type":"literal","literal":[]})"},
      {"safe longs in decimal",
       json(obj::TimestampConstant::literal(api::Timestamp{.seconds = -9007199254740993, .nanos = 0})),
       R"({"type":"literal","literal":{"seconds":-9007199254740993,"nanos":0}})"},
      {"field-less payload", json(obj::NumericAggregationOperator::count()), R"({"type":"count","count":{}})"},
      {"unknown arm keeps its type text and value",
       json(obj::NumericSeries::unknown("future", Any(Any::Object{{Any("a"), Any(1)}}))),
       R"({"type":"future","future":{"a":1}})"},
  };
}

class GoldenTest : public testing::TestWithParam<Golden> {};

TEST_P(GoldenTest, WritesExactly) { EXPECT_EQ(GetParam().actual, GetParam().expected); }

std::string name_of(const testing::TestParamInfo<Golden>& info) {
  std::string out;
  for (char c : std::string(info.param.name)) out += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return out;
}

INSTANTIATE_TEST_SUITE_P(Numeric, GoldenTest, testing::ValuesIn(numeric_goldens()), name_of);
INSTANTIATE_TEST_SUITE_P(Orders, GoldenTest, testing::ValuesIn(order_goldens()), name_of);
INSTANTIATE_TEST_SUITE_P(Presence, GoldenTest, testing::ValuesIn(presence_goldens()), name_of);

TEST(Copy, SharesTheSubtree) {
  auto chain = raw("a");
  const int depth = test_support::stack_levels(1000);
  for (int i = 0; i < depth; ++i) chain = obj::NumericSeries::negate(obj::Negate{chain});
  const auto copy = chain;
  EXPECT_EQ(&copy.as_negate(), &chain.as_negate());
  EXPECT_EQ(json(copy), json(chain));
}

}  // namespace
