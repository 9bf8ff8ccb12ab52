// Staged builders: a record can only be built once every required field is
// set; optional setters replace what an earlier call set.
#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "brastel_compute/conjure/builders.h"
#include "model/model_support.h"

namespace {

using namespace model_test;
namespace trv2 = obj::threshold_ranges_v2;

template <class B>
concept Buildable = requires(B b) { std::move(b).build(); };

static_assert(!Buildable<trv2::Builder<trv2::InputStage>>);
static_assert(!Buildable<trv2::Builder<trv2::ComparisonStage>>);
template <class B>
concept HasMinPoints = requires(B b) { std::move(b).min_points(std::nullopt); };

static_assert(Buildable<trv2::Builder<trv2::Complete>>);
// Optional setters exist only once the required fields are set.
static_assert(!HasMinPoints<trv2::Builder<trv2::ComparisonStage>>);
static_assert(HasMinPoints<trv2::Builder<trv2::Complete>>);
static_assert(!Buildable<obj::stability_detection_ranges_v2::Builder<obj::stability_detection_ranges_v2::ThresholdStage>>);
static_assert(!Buildable<obj::group_within_ranges_series_v2::Builder<obj::group_within_ranges_series_v2::AggregationStage>>);
// A record whose fields are all optional starts complete.
static_assert(Buildable<decltype(obj::select_series::builder())>);

obj::ThresholdRangesComparison gt(double v) {
  return obj::ThresholdRangesComparison::gt(obj::ThresholdRangesOrderedComparison{obj::DoubleConstant::literal(v)});
}

TEST(StagedBuilder, AbsentOptionalsAreLeftOut) {
  auto record = trv2::builder().input(raw("a")).comparison(gt(1.5)).min_points(std::nullopt).build();
  EXPECT_EQ(json(record),
            R"({"input":{"type":"raw","raw":{"name":"a"}},"comparison":{"type":"gt","gt":{"threshold":{"type":"literal","literal":1.5}}}})");
}

TEST(StagedBuilder, LaterSetterCallWins) {
  auto record = trv2::builder()
                    .input(raw("a"))
                    .comparison(gt(1.5))
                    .min_points(obj::IntegerConstant::literal(3))
                    .min_points(obj::IntegerConstant::literal(4))
                    .min_duration(obj::Duration::reference(obj::Reference{"d"}))
                    .min_duration(std::nullopt)
                    .build();
  EXPECT_EQ(json(record),
            R"({"input":{"type":"raw","raw":{"name":"a"}},"minPoints":{"type":"literal","literal":4},"comparison":{"type":"gt","gt":{"threshold":{"type":"literal","literal":1.5}}}})");
}

TEST(StagedBuilder, SelectPropertyTakesItsDatasetLast) {
  auto record = obj::select_property::builder().property_name("p").dataset(std::nullopt).build();
  EXPECT_EQ(json(record), R"({"propertyName":"p"})");
}

}  // namespace
