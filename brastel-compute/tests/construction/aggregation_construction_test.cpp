#include "brastel_compute/aggregation_construction.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "brastel_compute/series_from.h"
#include "fixtures.h"

namespace brastel_compute {
namespace {

using namespace testing;
using obj::series_from;

// {"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}}
obj::AggregationBuilder rolling() { return aggregation_builder_rolling_time(series_from(num("a")), secs(60)); }

TEST(AggregationConstruction, OperatorIsTheOneTheNameGives) {
  expect_cases({
      {"given", json(numeric_series_numeric_aggregation(rolling(), obj::NumericAggregationOperator::count())),
       R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}},"operator":{"type":"count","count":{}}}})"},
      {"sum", json(numeric_series_numeric_aggregation_sum(rolling())),
       R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}},"operator":{"type":"sum","sum":{}}}})"},
      {"average", json(numeric_series_numeric_aggregation_average(rolling())),
       R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}},"operator":{"type":"average","average":{}}}})"},
      {"min", json(numeric_series_numeric_aggregation_min(rolling())),
       R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}},"operator":{"type":"min","min":{}}}})"},
      {"max", json(numeric_series_numeric_aggregation_max(rolling())),
       R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}},"operator":{"type":"max","max":{}}}})"},
      {"count", json(numeric_series_numeric_aggregation_count(rolling())),
       R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}},"operator":{"type":"count","count":{}}}})"},
      {"standard deviation", json(numeric_series_numeric_aggregation_standard_deviation(rolling())),
       R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}},"operator":{"type":"standardDeviation","standardDeviation":{}}}})"},
      {"root mean square", json(numeric_series_numeric_aggregation_root_mean_square(rolling())),
       R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}},"operator":{"type":"rootMeanSquare","rootMeanSquare":{}}}})"},
      {"percentile", json(numeric_series_numeric_aggregation_percentile(rolling(), dbl(99.5))),
       R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}},"operator":{"type":"percentile","percentile":{"percentile":{"type":"literal","literal":99.5}}}}})"},
      {"udf", json(numeric_series_numeric_aggregation_udf(rolling(), obj::UdfSource::rust(obj::RustUdfSource{.source_code = "fn"}))),
       R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}},"operator":{"type":"udf","udf":{"source":{"type":"rust","rust":{"sourceCode":"fn"}}}}}})"},
      {"rust udf", json(numeric_series_numeric_aggregation_udf_rust(rolling(), "fn")),
       R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}},"operator":{"type":"udf","udf":{"source":{"type":"rust","rust":{"sourceCode":"fn"}}}}}})"},
  });
}

TEST(AggregationConstruction, BuildersHoldTheirSeriesAndWindow) {
  expect_cases({
      {"rolling time", json(rolling()),
       R"({"type":"rollingTime","rollingTime":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}})"},
      {"rolling points", json(aggregation_builder_rolling_points(series_from(strct("s")), int_lit(7))),
       R"({"type":"rollingPoints","rollingPoints":{"input":{"type":"struct","struct":{"type":"raw","raw":{"name":"s"}}},"points":{"type":"literal","literal":7}}})"},
      {"group by without alignment",
       json(aggregation_builder_group_by(series_from(cat("c")), obj::GroupByTags::current(),
                                         obj::GroupByTimestamp::every(secs(10)), std::nullopt)),
       R"({"type":"groupBy","groupBy":{"input":{"type":"enum","enum":{"type":"raw","raw":{"name":"c"}}},"tags":{"type":"current","current":{}},"timestamp":{"type":"every","every":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":10}}}}}})"},
      {"group by with alignment",
       json(aggregation_builder_group_by(series_from(num("a")), group_by_tags_subset({str("site")}),
                                         obj::GroupByTimestamp::current(), obj::GroupByAlignment::context_defaults())),
       R"({"type":"groupBy","groupBy":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"a"}}},"tags":{"type":"subset","subset":{"tags":[{"type":"literal","literal":"site"}]}},"timestamp":{"type":"current","current":{}},"alignment":{"type":"contextDefaults","contextDefaults":{}}}})"},
  });
}

TEST(AggregationConstruction, SubsetTagsAreAnOrderedSet) {
  expect_cases({
      {"empty", json(group_by_tags_subset({})), R"({"type":"subset","subset":{}})"},
      {"repeats once, literals before variables before unknown values",
       json(group_by_tags_subset({obj::StringConstant::unknown("future", "x"), str_var("b"), str("z"), str_var("a"),
                                  str("z"), str("Z"), str_var("b")})),
       R"({"type":"subset","subset":{"tags":[{"type":"literal","literal":"Z"},{"type":"literal","literal":"z"},{"type":"variable","variable":"a"},{"type":"variable","variable":"b"},{"type":"future","future":"x"}]}})"},
  });
}

TEST(DatasetConstruction, ArgumentsKeepTheirPlaces) {
  expect_cases({
      {"tag", json(dataset_tag(dataset("d"), str("k"), str("v"))),
       R"({"type":"tag","tag":{"input":{"type":"reference","reference":{"name":{"type":"literal","literal":"d"}}},"key":{"type":"literal","literal":"k"},"value":{"type":"literal","literal":"v"}}})"},
      {"tag swapped", json(dataset_tag(dataset("d"), str("v"), str("k"))),
       R"({"type":"tag","tag":{"input":{"type":"reference","reference":{"name":{"type":"literal","literal":"d"}}},"key":{"type":"literal","literal":"v"},"value":{"type":"literal","literal":"k"}}})"},
      {"combine empty", json(dataset_combine({})), R"({"type":"combine","combine":{}})"},
      {"combine", json(dataset_combine({dataset("e"), dataset("d"), dataset("e")})),
       R"({"type":"combine","combine":{"inputs":[{"type":"reference","reference":{"name":{"type":"literal","literal":"e"}}},{"type":"reference","reference":{"name":{"type":"literal","literal":"d"}}},{"type":"reference","reference":{"name":{"type":"literal","literal":"e"}}}]}})"},
      {"time shift", json(dataset_time_shift(dataset("d"), secs(1))),
       R"({"type":"timeShift","timeShift":{"input":{"type":"reference","reference":{"name":{"type":"literal","literal":"d"}}},"offset":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":1}}}}})"},
      {"duration add", json(duration_add(secs(1), secs(2))),
       R"({"type":"add","add":{"left":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":1}}},"right":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":2}}}}})"},
      {"duration subtract", json(duration_subtract(secs(2), secs(1))),
       R"({"type":"subtract","subtract":{"left":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":2}}},"right":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":1}}}}})"},
  });
}

TEST(StructConstruction, CombineOrdersByNameAndKeepsTheLaterOfARepeatedName) {
  std::vector<std::pair<std::string, obj::Series>> pairs;
  pairs.emplace_back("b", series_from(num("s1")));
  pairs.emplace_back("a", series_from(num("s2")));
  pairs.emplace_back("b", series_from(cat("s3")));
  pairs.emplace_back("B", series_from(strct("s4")));
  pairs.emplace_back("ab", series_from(num("s5")));
  expect_cases({
      {"pairs", json(struct_series_combine(std::move(pairs))),
       R"({"type":"combine","combine":{"inputs":{"B":{"type":"struct","struct":{"type":"raw","raw":{"name":"s4"}}},"a":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"s2"}}},"ab":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"s5"}}},"b":{"type":"enum","enum":{"type":"raw","raw":{"name":"s3"}}}}}})"},
      {"empty", json(struct_series_combine({})), R"({"type":"combine","combine":{}})"},
  });
}

TEST(ConfigurationConstruction, BandFiltersAndRangeMaps) {
  expect_cases({
      {"band pass", json(signal_filter_configuration_band_pass(dbl(5), dbl(1))),
       R"({"type":"bandPass","bandPass":{"lowPassbandFrequency":{"type":"literal","literal":5.0},"highPassbandFrequency":{"type":"literal","literal":1.0}}})"},
      {"band stop", json(signal_filter_configuration_band_stop(dbl(1), dbl(5))),
       R"({"type":"bandStop","bandStop":{"lowStopbandFrequency":{"type":"literal","literal":1.0},"highStopbandFrequency":{"type":"literal","literal":5.0}}})"},
      {"range map output only", json(range_map_create(str("hot"), std::nullopt, std::nullopt)),
       R"({"output":{"type":"literal","literal":"hot"}})"},
      {"range map, start after output in the call, before it on the wire",
       json(range_map_create(str("hot"), dbl(10), dbl(20))),
       R"({"start":{"type":"literal","literal":10.0},"end":{"type":"literal","literal":20.0},"output":{"type":"literal","literal":"hot"}})"},
      {"range map end only", json(range_map_create(str("cold"), std::nullopt, dbl(0))),
       R"({"end":{"type":"literal","literal":0.0},"output":{"type":"literal","literal":"cold"}})"},
  });
}

}  // namespace
}  // namespace brastel_compute
