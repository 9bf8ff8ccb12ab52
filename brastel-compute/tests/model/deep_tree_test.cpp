// Trees of any depth are built, copied and freed without recursion; writing
// one is exact up to what the stack allows and fails cleanly beyond it.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "model/model_support.h"
#include "stack_depth.h"

namespace {

using namespace model_test;

obj::NumericSeries chain(int depth) {
  auto node = raw("a");
  for (int i = 0; i < depth; ++i) node = obj::NumericSeries::negate(obj::Negate{std::move(node)});
  return node;
}

std::string expected_chain(int depth) {
  std::string out;
  for (int i = 0; i < depth; ++i) out += R"({"type":"negate","negate":{"x":)";
  out += R"({"type":"raw","raw":{"name":"a"}})";
  for (int i = 0; i < depth; ++i) out += "}}";
  return out;
}

struct Written {
  std::string text;
  bool failed;
  conjure_object::WriteErrorKind kind{};
};

Written write_tree(const obj::NumericSeries& tree) {
  conjure_object::JsonWriter w;
  write(w, tree);
  Written out{std::string(w.buffer()), w.failed()};
  if (w.failed()) out.kind = w.error()->kind;
  return out;
}

TEST(DeepTree, MillionLevelChainIsBuiltAndFreed) {
  auto tree = chain(1'000'000);
  EXPECT_EQ(tree.tag(), obj::NumericSeries::Tag::Negate);
}

// Ten thousand levels in an optimized build without sanitizers.
const int kWritableDepth = test_support::stack_levels(10'000);

TEST(DeepTree, TenThousandLevelsAreWrittenExactly) {
  const auto tree = chain(kWritableDepth);
  const auto out = write_tree(tree);
  ASSERT_FALSE(out.failed);
  EXPECT_EQ(out.text, expected_chain(kWritableDepth));
}

TEST(DeepTree, TenThousandLevelsAreWrittenOnAThreadWithADefaultStack) {
  const auto tree = chain(kWritableDepth);
  Written out;
  std::thread([&] { out = write_tree(tree); }).join();
  ASSERT_FALSE(out.failed);
  EXPECT_EQ(out.text, expected_chain(kWritableDepth));
}

TEST(DeepTree, TooDeepToWriteFailsCleanly) {
  const auto tree = chain(1'000'000);
  const auto out = write_tree(tree);
  ASSERT_TRUE(out.failed);
  EXPECT_EQ(out.kind, conjure_object::WriteErrorKind::TooDeep);

  Written on_thread;
  std::thread([&] { on_thread = write_tree(tree); }).join();
  ASSERT_TRUE(on_thread.failed);
  EXPECT_EQ(on_thread.kind, conjure_object::WriteErrorKind::TooDeep);
}

TEST(DeepTree, SharedSubtreesOutliveTheTreeTheyCameFrom) {
  auto tree = chain(100'000);
  const auto inner = tree.as_negate().x;
  tree = raw("b");
  EXPECT_EQ(inner.tag(), obj::NumericSeries::Tag::Negate);
  EXPECT_EQ(json(tree), R"({"type":"raw","raw":{"name":"b"}})");
}

}  // namespace
