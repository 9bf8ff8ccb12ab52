#include "conjure_object/any.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <compare>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "stack_depth.h"

namespace conjure_object {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Written {
  std::string text;
  std::optional<WriteError> error;
};

Written written(const Any& v) {
  JsonWriter w;
  write(w, v);
  return {std::string(w.buffer()), w.error()};
}

Any arr(std::vector<Any> items) { return Any(Any::Array(std::move(items))); }

Any obj(std::vector<std::pair<Any, Any>> members) { return Any(Any::Object(std::move(members))); }

TEST(AnyWrite, Table) {
  const struct {
    Any value;
    const char* text;
  } cases[] = {
      {Any(), "null"},
      {Any(nullptr), "null"},
      {Any(true), "true"},
      {Any(false), "false"},
      {Any(0), "0"},
      {Any(std::int64_t{-42}), "-42"},
      {Any(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808"},
      {Any(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615"},
      {Any(2.0), "2.0"},
      {Any(1e16), "1e+16"},
      {Any(-0.0), "-0.0"},
      {Any(kNaN), "null"},
      {Any(-kInf), "null"},
      {Any(0.1f), "0.1"},  // the float's own digits
      {Any(std::numeric_limits<float>::infinity()), "null"},
      {Any("a\"b\\c\nd\x01\xC3\xA9"), "\"a\\\"b\\\\c\\nd\\u0001\xC3\xA9\""},
      {Any(std::string()), "\"\""},
      {arr({}), "[]"},
      {obj({}), "{}"},
      {arr({Any(1), Any("x"), Any(), arr({}), obj({})}), "[1,\"x\",null,[],{}]"},
      {obj({{Any("a"), Any(1)}}), "{\"a\":1}"},
      // Members keep the value's own order: no sorting, no merging of repeats.
      {obj({{Any("b"), Any(1)}, {Any("a"), Any(2)}, {Any("B"), Any(3)}, {Any("a"), Any(4)}}),
       "{\"b\":1,\"a\":2,\"B\":3,\"a\":4}"},
      {obj({{Any("k"), arr({obj({{Any("x"), Any(1.5)}}), Any(false)})}}),
       "{\"k\":[{\"x\":1.5},false]}"},
      {obj({{Any("\n"), Any()}}), "{\"\\n\":null}"},
  };
  for (const auto& c : cases) {
    const Written w = written(c.value);
    EXPECT_FALSE(w.error.has_value()) << c.text;
    EXPECT_EQ(w.text, c.text);
  }
}

TEST(AnyWrite, NonTextKeys) {
  const struct {
    Any key;
    const char* text;
  } cases[] = {
      {Any(0), "{\"0\":null}"},
      {Any(std::int64_t{-7}), "{\"-7\":null}"},
      {Any(std::numeric_limits<std::uint64_t>::max()), "{\"18446744073709551615\":null}"},
      {Any(true), "{\"true\":null}"},
      {Any(false), "{\"false\":null}"},
      {Any(2.0), "{\"2.0\":null}"},
      {Any(-0.0), "{\"-0.0\":null}"},
      {Any(1e-6), "{\"1e-6\":null}"},
      {Any(1.2345678901234568e17), "{\"1.2345678901234568e+17\":null}"},
      {Any(0.1f), "{\"0.1\":null}"},
      {Any(1e16f), "{\"1e+16\":null}"},
  };
  for (const auto& c : cases) {
    const Written w = written(obj({{c.key, Any()}}));
    EXPECT_FALSE(w.error.has_value()) << c.text;
    EXPECT_EQ(w.text, c.text);
  }
}

TEST(AnyWrite, KeyErrors) {
  const char* const kNotString = "key must be a string";
  const char* const kNotFinite = "float key must be finite (got NaN or +/-inf)";
  const struct {
    Any key;
    WriteErrorKind kind;
    const char* message;
  } cases[] = {
      {Any(), WriteErrorKind::KeyMustBeString, kNotString},
      {arr({}), WriteErrorKind::KeyMustBeString, kNotString},
      {arr({Any("a")}), WriteErrorKind::KeyMustBeString, kNotString},
      {obj({}), WriteErrorKind::KeyMustBeString, kNotString},
      {Any(kNaN), WriteErrorKind::FloatKeyNotFinite, kNotFinite},
      {Any(kInf), WriteErrorKind::FloatKeyNotFinite, kNotFinite},
      {Any(-kInf), WriteErrorKind::FloatKeyNotFinite, kNotFinite},
      {Any(std::numeric_limits<float>::quiet_NaN()), WriteErrorKind::FloatKeyNotFinite,
       kNotFinite},
      {Any(-std::numeric_limits<float>::infinity()), WriteErrorKind::FloatKeyNotFinite,
       kNotFinite},
  };
  for (const auto& c : cases) {
    const Written w = written(obj({{c.key, Any(1)}}));
    ASSERT_TRUE(w.error.has_value()) << c.message;
    EXPECT_EQ(w.error->kind, c.kind);
    EXPECT_EQ(w.error->message, c.message);
  }
}

TEST(AnyWrite, StopsAtTheFirstError) {
  // Nothing after the bad key is written, and the later bad key does not
  // replace the first error.
  const Any v = arr({Any(1), obj({{Any("ok"), Any(2)}, {Any(kNaN), Any(3)}, {Any(), Any(4)}}),
                     Any("never")});
  const Written w = written(v);
  ASSERT_TRUE(w.error.has_value());
  EXPECT_EQ(w.error->kind, WriteErrorKind::FloatKeyNotFinite);
  EXPECT_EQ(w.text, "[1,{\"ok\":2,");
}

TEST(AnyWrite, ErrorInsideAValueTravelsUp) {
  const Any v = obj({{Any("a"), obj({{Any("b"), arr({obj({{arr({}), Any()}})})}})}, {Any("z"), Any(1)}});
  const Written w = written(v);
  ASSERT_TRUE(w.error.has_value());
  EXPECT_EQ(w.error->kind, WriteErrorKind::KeyMustBeString);
  EXPECT_EQ(w.text.find("\"z\""), std::string::npos);
}

TEST(AnyWrite, UnknownArmExample) {
  // How a union's unknown arm frames its held value.
  JsonWriter w;
  w.raw("{\"type\":");
  w.string("future");
  w.raw(',');
  w.string("future");
  w.raw(':');
  write(w, obj({{Any("a"), Any(1)}}));
  w.raw('}');
  EXPECT_FALSE(w.failed());
  EXPECT_EQ(w.buffer(), "{\"type\":\"future\",\"future\":{\"a\":1}}");
}

// Built bottom-up without recursion: [[[ ... leaf ... ]]].
Any nested_arrays(std::size_t depth, Any leaf) {
  Any v = std::move(leaf);
  for (std::size_t i = 0; i < depth; ++i) {
    Any::Array a;
    a.push_back(std::move(v));
    v = Any(std::move(a));
  }
  return v;
}

Any nested_objects(std::size_t depth, Any leaf) {
  Any v = std::move(leaf);
  for (std::size_t i = 0; i < depth; ++i) {
    Any::Object o;
    o.emplace_back(Any("k"), std::move(v));
    v = Any(std::move(o));
  }
  return v;
}

TEST(AnyDeep, ModeratelyDeepValueIsWrittenInFull) {
  const std::size_t depth = test_support::stack_levels(2000);
  const Written w = written(nested_arrays(depth, Any(7)));
  ASSERT_FALSE(w.error.has_value());
  EXPECT_EQ(w.text, std::string(depth, '[') + "7" + std::string(depth, ']'));
}

constexpr std::size_t kVeryDeep = 1000000;

TEST(AnyDeep, VeryDeepArraysFailCleanly) {
  const Any v = nested_arrays(kVeryDeep, Any());
  const Written w = written(v);
  ASSERT_TRUE(w.error.has_value());
  EXPECT_EQ(w.error->kind, WriteErrorKind::TooDeep);
  EXPECT_EQ(w.error->message, "recursion limit exceeded while writing JSON");
  EXPECT_LT(w.text.size(), kVeryDeep);
}

TEST(AnyDeep, VeryDeepObjectsFailCleanly) {
  const Any v = nested_objects(kVeryDeep, Any());
  const Written w = written(v);
  ASSERT_TRUE(w.error.has_value());
  EXPECT_EQ(w.error->kind, WriteErrorKind::TooDeep);
}

TEST(AnyDeep, DestroysSharedAndUnsharedDeepTrees) {
  Any a = nested_arrays(kVeryDeep, Any(1));
  Any copy = a;  // shares the tree
  a = Any();     // the copy still owns it all
  const Any inner = copy.as_array()[0].as_array()[0];
  copy = Any();  // frees all but the part `inner` holds
  EXPECT_EQ(inner.kind(), Any::Kind::Array);
  EXPECT_EQ(written(nested_arrays(1, inner)).error->kind, WriteErrorKind::TooDeep);
}

TEST(AnyDeep, DeepValuesCompareWithoutRecursion) {
  const Any a = nested_objects(kVeryDeep, Any(1));
  const Any b = nested_objects(kVeryDeep, Any(1));
  const Any c = nested_objects(kVeryDeep, Any(2));
  EXPECT_TRUE(a == b);
  EXPECT_TRUE((a <=> c) < 0);
  EXPECT_TRUE((c <=> b) > 0);
}

struct ThreadJob {
  std::size_t depth;
  Written result;
};

void* write_on_thread(void* arg) {
  auto* job = static_cast<ThreadJob*>(arg);
  job->result = written(nested_arrays(job->depth, Any()));
  return nullptr;
}

Written write_on_thread_with_stack(std::size_t stack_size, std::size_t depth) {
  pthread_attr_t attr;
  EXPECT_EQ(pthread_attr_init(&attr), 0);
  EXPECT_EQ(pthread_attr_setstacksize(&attr, stack_size), 0);
  ThreadJob job{depth, {}};
  pthread_t t;
  EXPECT_EQ(pthread_create(&t, &attr, write_on_thread, &job), 0);
  EXPECT_EQ(pthread_join(t, nullptr), 0);
  pthread_attr_destroy(&attr);
  return job.result;
}

TEST(AnyDeep, ThreadStacksAreMeasuredPerThread) {
  // Threads with small stacks must stop long before the main thread would,
  // yet still write shallow trees.
  for (const std::size_t stack : {std::size_t{128} * 1024, std::size_t{1024} * 1024}) {
    const Written deep = write_on_thread_with_stack(stack, 200000);
    ASSERT_TRUE(deep.error.has_value()) << stack;
    EXPECT_EQ(deep.error->kind, WriteErrorKind::TooDeep) << stack;
    const Written shallow = write_on_thread_with_stack(stack, 20);
    EXPECT_FALSE(shallow.error.has_value()) << stack;
    EXPECT_EQ(shallow.text, std::string(20, '[') + "null" + std::string(20, ']')) << stack;
  }
}

// -1 for less, 0 for equivalent, 1 for greater.
int sign(std::weak_ordering o) { return o < 0 ? -1 : o > 0 ? 1 : 0; }

TEST(AnyOrder, Table) {
  const struct {
    Any a;
    Any b;
    int order;
  } cases[] = {
      // By kind first.
      {Any(), Any(false), -1},
      {Any(true), Any(std::int64_t{-5}), -1},
      {Any(std::int64_t{5}), Any(std::uint64_t{1}), -1},
      {Any(std::uint64_t{5}), Any(0.0f), -1},
      {Any(100.0f), Any(-100.0), -1},
      {Any(1e300), Any(""), -1},
      {Any("zzz"), arr({}), -1},
      {arr({Any(9)}), obj({}), -1},
      // Then by value.
      {Any(), Any(nullptr), 0},
      {Any(false), Any(true), -1},
      {Any(std::int64_t{-3}), Any(std::int64_t{2}), -1},
      {Any(std::uint64_t{3}), Any(std::numeric_limits<std::uint64_t>::max()), -1},
      {Any(1.5), Any(1.5), 0},
      {Any(-1.0), Any(-2.0), 1},
      {Any(-0.0), Any(0.0), -1},
      {Any(-0.0f), Any(0.0f), -1},
      {Any(kInf), Any(kNaN), -1},
      {Any(kNaN), Any(-kNaN), 0},
      {Any(-kInf), Any(-1e308), -1},
      {Any(std::numeric_limits<float>::quiet_NaN()), Any(1.0f), 1},
      {Any("a"), Any("ab"), -1},
      {Any("B"), Any("a"), -1},
      {Any("z"), Any("\xC3\xA9"), -1},  // bytes compare unsigned
      {Any(""), Any(""), 0},
      {arr({}), arr({Any()}), -1},
      {arr({Any(1), Any(2)}), arr({Any(1), Any(3)}), -1},
      {arr({Any(2)}), arr({Any(1), Any(3)}), 1},
      {arr({Any(1), arr({Any("x")})}), arr({Any(1), arr({Any("x")})}), 0},
      {obj({{Any("a"), Any(2)}}), obj({{Any("b"), Any(1)}}), -1},
      {obj({{Any("a"), Any(2)}}), obj({{Any("a"), Any(1)}}), 1},
      {obj({{Any("a"), Any(1)}}), obj({{Any("a"), Any(1)}, {Any("b"), Any()}}), -1},
      {obj({{Any("b"), Any(1)}, {Any("a"), Any(2)}}), obj({{Any("a"), Any(2)}, {Any("b"), Any(1)}}), 1},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    EXPECT_EQ(sign(c.a <=> c.b), c.order) << "case " << i;
    EXPECT_EQ(sign(c.b <=> c.a), -c.order) << "case " << i;
    EXPECT_EQ(c.a == c.b, c.order == 0) << "case " << i;
  }
}

TEST(AnyOrder, CopiesAreEqualAndShareTheirTree) {
  const Any a = obj({{Any("x"), arr({Any(1), Any(2.5)})}});
  const Any b = a;
  EXPECT_TRUE(a == b);
  EXPECT_EQ(&a.as_object(), &b.as_object());
}

}  // namespace
}  // namespace conjure_object
