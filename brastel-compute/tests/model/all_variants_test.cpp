// Every variant of every union, written from a generated sample: the text is
// one compact JSON object whose "type" names the variant's tag and whose
// second member is keyed by the same tag.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "json_check.h"
#include "variant_samples.h"

TEST(AllVariants, EachIsWrittenAsItsTagAndPayload) {
  const auto samples = all_variant_samples();
  ASSERT_EQ(samples.size(), 413u);
  std::set<std::string> unions;
  for (const auto& s : samples) {
    SCOPED_TRACE(s.union_name + "::" + s.tag + " -> " + s.json);
    unions.insert(s.union_name);
    EXPECT_TRUE(test_support::JsonCheck::valid(s.json));
    const std::string prefix = R"({"type":")" + s.tag + R"(",")" + s.tag + R"(":)";
    EXPECT_EQ(s.json.substr(0, prefix.size()), prefix);
    EXPECT_EQ(s.json.back(), '}');
    EXPECT_EQ(s.json.find_first_of(" \n\t\r"), std::string::npos);
  }
  EXPECT_EQ(unions.size(), 70u);
}
