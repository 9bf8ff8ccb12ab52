#include "conjure_object/json_writer.h"
#include "conjure_object/sanitizer.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "stack_depth.h"

namespace conjure_object {
namespace {

std::string f64_text(double v) {
  JsonWriter w;
  w.f64(v);
  return std::string(w.buffer());
}

std::string f32_text(float v) {
  JsonWriter w;
  w.f32(v);
  return std::string(w.buffer());
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct F64Case {
  double value;
  const char* text;
};

TEST(JsonWriterFloat, F64Layout) {
  const F64Case cases[] = {
      {2.0, "2.0"},
      {0.1, "0.1"},
      {12.5, "12.5"},
      {1e-5, "0.00001"},
      {1e-6, "1e-6"},
      {1.5e-7, "1.5e-7"},
      {1e15, "1000000000000000.0"},
      {1e16, "1e+16"},
      {0.0, "0.0"},
      {-0.0, "-0.0"},
      {kNaN, "null"},
      {-kNaN, "null"},
      {kInf, "null"},
      {-kInf, "null"},
      {1.0, "1.0"},
      {-1.5, "-1.5"},
      {100.0, "100.0"},
      {123.456, "123.456"},
      {4.35, "4.35"},
      {0.1 + 0.2, "0.30000000000000004"},
      {1.0 / 3.0, "0.3333333333333333"},
      {0.000123456789, "0.000123456789"},
      {1e-5 * 1.5, "0.000015000000000000002"},
      {-1e-5, "-0.00001"},
      {1e-7, "1e-7"},
      {-1e-6, "-1e-6"},
      {999999999999999.9, "999999999999999.9"},
      {1e15 + 0.3, "1000000000000000.2"},
      {1.5e15 + 0.5, "1500000000000000.5"},
      {9007199254740993.0, "9007199254740992.0"},
      {9999999999999998.0, "9999999999999998.0"},
      {123456789012345678.0, "1.2345678901234568e+17"},
      {-1e16, "-1e+16"},
      {1e21, "1e+21"},
      {1e23, "1e+23"},
      {1e100, "1e+100"},
      {6.02214076e23, "6.02214076e+23"},
      {1.2345e-300, "1.2345e-300"},
      {5e-324, "5e-324"},
      {-5e-324, "-5e-324"},
      {2.2250738585072014e-308, "2.2250738585072014e-308"},
      {1.7976931348623157e308, "1.7976931348623157e+308"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(f64_text(c.value), c.text) << "value " << c.text;
  }
}

TEST(JsonWriterFloat, F32UsesItsOwnShortestDigits) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {0.1f, "0.1"},
      {0.3f, "0.3"},
      {1e-6f, "1e-6"},
      {1e-5f, "0.00001"},
      {2.0f, "2.0"},
      {-0.0f, "-0.0"},
      {0.0f, "0.0"},
      {123456.7f, "123456.7"},
      {16777216.0f, "16777216.0"},
      {1e15f, "1000000000000000.0"},
      {1e16f, "1e+16"},
      {std::numeric_limits<float>::max(), "3.4028235e+38"},
      {std::numeric_limits<float>::min(), "1.1754944e-38"},
      {std::numeric_limits<float>::denorm_min(), "1e-45"},
      {-std::numeric_limits<float>::infinity(), "null"},
      {std::numeric_limits<float>::quiet_NaN(), "null"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(f32_text(c.value), c.text) << "value " << c.text;
  }
}

TEST(JsonWriterFloat, FormatFunctionsWriteInPlace) {
  char out[kMaxFloatText];
  EXPECT_EQ(std::string_view(out, format_f64(out, 1e-6)), "1e-6");
  EXPECT_EQ(std::string_view(out, format_f32(out, 0.1f)), "0.1");
  // The double nearest the float, not the float's digits.
  EXPECT_EQ(std::string_view(out, format_f64(out, 0.1f)), "0.10000000149011612");
  EXPECT_EQ(std::string_view(out, format_f64(out, -1.7976931348623157e308)), "-1.7976931348623157e+308");
  EXPECT_EQ(std::string_view(out, format_f64(out, -2.2250738585072014e-308)), "-2.2250738585072014e-308");
}

// Checks the layout independently of the writer: returns an empty string when
// `s` is well formed, otherwise what is wrong.
std::string layout_problem(const std::string& s) {
  std::size_t i = 0;
  if (i < s.size() && s[i] == '-') ++i;
  const std::string body = s.substr(i);
  if (body.empty()) return "empty";
  const auto e_pos = body.find('e');
  const auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
  if (e_pos != std::string::npos) {
    const std::string mant = body.substr(0, e_pos);
    const std::string exp = body.substr(e_pos + 1);
    if (mant.empty() || mant[0] < '1' || mant[0] > '9') return "mantissa must start with 1-9";
    if (mant.size() > 1) {
      if (mant[1] != '.' || mant.size() < 3) return "bad mantissa fraction";
      for (std::size_t k = 2; k < mant.size(); ++k)
        if (!is_digit(mant[k])) return "non-digit in mantissa";
      if (mant.back() == '0') return "trailing zero in mantissa";
    }
    if (exp.size() < 2 || (exp[0] != '+' && exp[0] != '-')) return "exponent needs a sign";
    if (exp[1] == '0') return "leading zero in exponent";
    for (std::size_t k = 1; k < exp.size(); ++k)
      if (!is_digit(exp[k])) return "non-digit in exponent";
    const int e = std::atoi(exp.c_str());
    if (e >= -5 && e <= 15) return "scientific form for an exponent in -5..15";
    return "";
  }
  const auto dot = body.find('.');
  if (dot == std::string::npos) return "neither '.' nor 'e'";
  const std::string whole = body.substr(0, dot);
  const std::string frac = body.substr(dot + 1);
  if (whole.empty() || frac.empty()) return "empty side of '.'";
  for (char c : whole + frac)
    if (!is_digit(c)) return "non-digit";
  if (whole.size() > 1 && whole[0] == '0') return "leading zero";
  if (whole == "0") {
    if (frac == "0") return "";  // zero
    const auto first = frac.find_first_not_of('0');
    if (first == std::string::npos) return "zero written with extra zeros";
    if (first > 4) return "plain form for an exponent below -5";
    if (frac.back() == '0') return "trailing zero";
    return "";
  }
  if (whole.size() > 16) return "plain form for an exponent above 15";
  if (frac != "0" && frac.back() == '0') return "trailing zero";
  return "";
}

// Significant digits shown: leading and trailing zeros do not count.
int significant_digits(const std::string& s) {
  std::string digits;
  for (char c : s) {
    if (c == 'e') break;
    if (c >= '0' && c <= '9') digits += c;
  }
  const auto first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 0;
  const auto last = digits.find_last_not_of('0');
  return static_cast<int>(last - first + 1);
}

// Fewest digits with which correctly rounded printf output reads back.
template <class F>
int printf_shortest(F v) {
  for (int p = 1; p <= 17; ++p) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", p - 1, static_cast<double>(v));
    F back{};
    std::from_chars(buf, buf + std::strlen(buf), back);
    if (back == v) return p;
  }
  return 17;
}

TEST(JsonWriterFloat, LayoutCheckerRejectsBadForms) {
  // The checker used by the random tests must itself catch each fault.
  const char* bad[] = {"2",      "1e16",  "1e+016", "1.0e+16", "0.000001", "1e-5",
                       "1e+15",  "02.0",  "2.",    ".5",      "0.10",     "10000000000000000.0",
                       "1.50e-7", "0.00"};
  for (const char* s : bad) EXPECT_NE(layout_problem(s), "") << s;
  const char* good[] = {"2.0", "1e+16", "1e-6", "0.00001", "-0.0", "1000000000000000.0", "1.5e-7"};
  for (const char* s : good) EXPECT_EQ(layout_problem(s), "") << s;
}

TEST(JsonWriterFloat, RandomDoublesReadBackBitExact) {
  std::mt19937_64 rng(20240611);
  std::uniform_real_distribution<double> mag(-30.0, 30.0);
  for (int k = 0; k < 200000; ++k) {
    double v;
    if (k % 2 == 0) {
      v = std::bit_cast<double>(rng());  // any bit pattern, all exponents
    } else {
      v = std::pow(10.0, mag(rng)) * ((rng() & 1) ? -1.0 : 1.0);  // near the layout borders
    }
    if (!std::isfinite(v)) continue;
    const std::string s = f64_text(v);
    ASSERT_EQ(layout_problem(s), "") << s;
    double back = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), back);
    ASSERT_EQ(r.ec, std::errc()) << s;
    ASSERT_EQ(r.ptr, s.data() + s.size()) << s;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(v)) << s;
    if (k % 10 == 0) {
      ASSERT_LE(significant_digits(s), printf_shortest(v)) << s;
    }
  }
}

TEST(JsonWriterFloat, RandomFloatsReadBackBitExact) {
  std::mt19937 rng(977);
  for (int k = 0; k < 200000; ++k) {
    const float v = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
    if (!std::isfinite(v)) continue;
    const std::string s = f32_text(v);
    ASSERT_EQ(layout_problem(s), "") << s;
    float back = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), back);
    ASSERT_EQ(r.ec, std::errc()) << s;
    ASSERT_EQ(r.ptr, s.data() + s.size()) << s;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(back), std::bit_cast<std::uint32_t>(v)) << s;
    if (k % 10 == 0) {
      ASSERT_LE(significant_digits(s), printf_shortest(v)) << s;
      ASSERT_LE(significant_digits(s), 9) << s;
    }
  }
}

TEST(JsonWriterInteger, Decimal) {
  const struct {
    std::int64_t v;
    const char* text;
  } signed_cases[] = {
      {0, "0"},
      {7, "7"},
      {-1, "-1"},
      {1000, "1000"},
      {std::numeric_limits<std::int64_t>::max(), "9223372036854775807"},
      {std::numeric_limits<std::int64_t>::min(), "-9223372036854775808"},
  };
  for (const auto& c : signed_cases) {
    JsonWriter w;
    w.i64(c.v);
    EXPECT_EQ(w.buffer(), c.text);
  }
  JsonWriter w;
  w.u64(0);
  w.raw(',');
  w.u64(std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(w.buffer(), "0,18446744073709551615");
}

std::string json_string(std::string_view s) {
  JsonWriter w;
  w.string(s);
  return std::string(w.buffer());
}

TEST(JsonWriterString, EveryControlByte) {
  const char* expected[32] = {
      "\\u0000", "\\u0001", "\\u0002", "\\u0003", "\\u0004", "\\u0005", "\\u0006", "\\u0007",
      "\\b",     "\\t",     "\\n",     "\\u000b", "\\f",     "\\r",     "\\u000e", "\\u000f",
      "\\u0010", "\\u0011", "\\u0012", "\\u0013", "\\u0014", "\\u0015", "\\u0016", "\\u0017",
      "\\u0018", "\\u0019", "\\u001a", "\\u001b", "\\u001c", "\\u001d", "\\u001e", "\\u001f",
  };
  for (int b = 0; b < 32; ++b) {
    const std::string in(1, static_cast<char>(b));
    const std::string esc = expected[b];
    EXPECT_EQ(json_string(in), std::string(1, '"').append(esc).append(1, '"')) << "byte " << b;
    // Inside a run of plain text too.
    EXPECT_EQ(json_string(std::string("ab").append(in).append("cd")),
              std::string("\"ab").append(esc).append("cd\"")) << "byte " << b;
  }
}

TEST(JsonWriterString, Table) {
  const struct {
    std::string in;
    const char* out;
  } cases[] = {
      {"", "\"\""},
      {"plain text", "\"plain text\""},
      {"\"", "\"\\\"\""},
      {"\\", "\"\\\\\""},
      {"a\"b\\c\nd\x01\xC3\xA9", "\"a\\\"b\\\\c\\nd\\u0001\xC3\xA9\""},  // é unchanged
      {"/", "\"/\""},
      {"</script>", "\"</script>\""},
      {"\x7F", "\"\x7F\""},
      {"\xE2\x82\xAC \xF0\x9F\x98\x80", "\"\xE2\x82\xAC \xF0\x9F\x98\x80\""},  // € and an emoji
      {"\xE2\x80\xA8\xE2\x80\xA9", "\"\xE2\x80\xA8\xE2\x80\xA9\""},  // U+2028/9 kept
      {std::string("a\0b", 3), "\"a\\u0000b\""},
      {"\"\"\\\\", "\"\\\"\\\"\\\\\\\\\""},
      {"\t\r\n", "\"\\t\\r\\n\""},
      {"end\\", "\"end\\\\\""},
  };
  for (const auto& c : cases) EXPECT_EQ(json_string(c.in), c.out) << c.in;
}

TEST(JsonWriterString, AllOtherBytesCopied) {
  std::string in;
  for (int b = 0x20; b < 0x100; ++b) {
    if (b != '"' && b != '\\') in.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(json_string(in), "\"" + in + "\"");
}

TEST(JsonWriterString, AppendsAfterExistingBytes) {
  JsonWriter w;
  w.raw("{");
  w.string("k");
  w.raw(':');
  w.boolean(true);
  w.raw(',');
  w.string("v\n");
  w.raw(':');
  w.boolean(false);
  w.raw('}');
  EXPECT_EQ(w.buffer(), "{\"k\":true,\"v\\n\":false}");
}

// Each writer starts empty, whether it gets a fresh buffer or the one the
// thread's last writer gave back, and grows past any size it starts with.
TEST(JsonWriterBuffer, ReusedBuffersStartEmptyAndGrow) {
  const std::string big(100000, 'x');
  for (int round = 0; round < 3; ++round) {
    {
      JsonWriter w(1);
      w.string(big);
      w.raw(',');
      w.i64(-9223372036854775807 - 1);
      EXPECT_EQ(w.buffer(), "\"" + big + "\",-9223372036854775808");
    }
    JsonWriter small;
    small.raw('[');
    small.f64(0.5);
    small.raw(']');
    EXPECT_EQ(small.buffer(), "[0.5]");
  }
}

// A document of `items` entries, each its index and a string of `width`
// copies of a letter that changes from entry to entry, written in small
// appends: bytes lost or misplaced when a buffer grows, moves or is reused
// show up in the text.
struct Doc {
  std::size_t items;
  std::size_t width;
};

char letter(std::size_t i) { return static_cast<char>('a' + i % 26); }

void write_item(JsonWriter& w, const Doc& d, std::size_t i) {
  w.raw(i == 0 ? '[' : ',');
  w.u64(i);
  w.raw(',');
  w.string(std::string(d.width, letter(i)));
  if (i + 1 == d.items) w.raw(']');
}

void write_doc(JsonWriter& w, const Doc& d) {
  for (std::size_t i = 0; i < d.items; ++i) write_item(w, d, i);
}

std::string expected_doc(const Doc& d) {
  std::string s;
  for (std::size_t i = 0; i < d.items; ++i) {
    s += i == 0 ? "[" : ",";
    s += std::to_string(i) + ",\"";
    s.append(d.width, letter(i));
    s += '"';
  }
  if (d.items != 0) s += ']';
  return s;
}

// Where two texts first differ (npos when equal), so that a failure of a
// many-megabyte document prints an offset rather than the document.
std::size_t first_difference(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return i;
  return a.size() == b.size() ? std::string_view::npos : n;
}

#define EXPECT_SAME_TEXT(actual, expected)                                            \
  EXPECT_EQ(first_difference(actual, expected), std::string_view::npos)              \
      << (actual).size() << " bytes written, " << (expected).size() << " expected"

// One thread, one document after another, each writer asked for a starting
// capacity: the buffer grows in small steps and in one jump, becomes large
// and moves, is given back, cut back to what the thread keeps, and reused.
TEST(JsonWriterBuffer, DocumentsOneAfterAnotherComeOutExact) {
  const struct {
    const char* what;
    std::size_t capacity;
    Doc doc;
  } cases[] = {
      {"one entry", 128, {1, 0}},
      {"past the first 64 KiB", 128, {3000, 20}},
      {"just under 1 MiB", 0, {40000, 20}},
      {"small after a kept buffer", 1, {3, 2}},
      {"past 1 MiB: becomes large", 64 << 10, {60000, 30}},
      {"small after a large one", 1 << 20, {10, 5}},
      {"past 64 MiB: a large buffer moves", (1 << 20) + 1, {70000, 1000}},
      {"under 1 MiB after a large one", 5 << 20, {30000, 20}},
      {"one 3 MB string: from the kept buffer to large at once", 128, {1, 3000000}},
      {"past 1 MiB again, from a large start", 80 << 20, {50000, 25}},
      {"empty", 128, {0, 0}},
  };
  for (const auto& c : cases) {
    JsonWriter w(c.capacity);
    write_doc(w, c.doc);
    EXPECT_SAME_TEXT(w.buffer(), expected_doc(c.doc)) << ": " << c.what;
  }
}

// Writers alive at once on one thread each keep their own buffer: one that
// becomes large gives its old buffer back to the thread while another writer
// is still writing, and a writer made then takes it.
TEST(JsonWriterBuffer, WritersAliveAtOnceKeepTheirOwnBytes) {
  const Doc small{40, 3}, under_1mib{30000, 20}, large{80000, 40};
  const struct {
    Doc first, second, third;
  } cases[] = {
      {small, large, small},
      {large, small, under_1mib},
      {large, large, large},
      {under_1mib, large, under_1mib},
      {under_1mib, under_1mib, small},
  };
  for (const auto& c : cases) {
    auto first = std::make_unique<JsonWriter>();
    auto second = std::make_unique<JsonWriter>();
    std::unique_ptr<JsonWriter> third;
    const std::size_t items = std::max(c.first.items, c.second.items);
    std::size_t third_items = 0;
    for (std::size_t i = 0; i < items; ++i) {
      if (i < c.first.items) write_item(*first, c.first, i);
      if (i < c.second.items) write_item(*second, c.second, i);
      // Made halfway, when either may have become large.
      if (i == items / 2) third = std::make_unique<JsonWriter>();
      if (third && third_items < c.third.items) write_item(*third, c.third, third_items++);
    }
    while (third_items < c.third.items) write_item(*third, c.third, third_items++);
    EXPECT_SAME_TEXT(first->buffer(), expected_doc(c.first)) << ": first of " << c.first.items;
    EXPECT_SAME_TEXT(second->buffer(), expected_doc(c.second)) << ": second of " << c.second.items;
    EXPECT_SAME_TEXT(third->buffer(), expected_doc(c.third)) << ": third of " << c.third.items;
    second.reset();
    first.reset();
    third.reset();
    JsonWriter after;
    write_doc(after, small);
    EXPECT_SAME_TEXT(after.buffer(), expected_doc(small));
  }
}

TEST(JsonWriterBuffer, ThreadsWriteAtOnce) {
  const Doc docs[] = {{5, 1}, {60000, 30}, {30000, 20}, {100, 1000}, {1, 2000000}};
  std::vector<std::string> problems(4);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < problems.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 3; ++round) {
        for (std::size_t k = 0; k < std::size(docs); ++k) {
          const Doc& doc = docs[(k + t) % std::size(docs)];
          JsonWriter w;
          write_doc(w, doc);
          if (first_difference(w.buffer(), expected_doc(doc)) != std::string_view::npos)
            problems[t] += "thread " + std::to_string(t) + ": " + std::to_string(doc.items) + " entries differ\n";
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (const auto& p : problems) EXPECT_EQ(p, "");
}

// The process's mapped and resident bytes (/proc/self/statm); zeros if they
// cannot be read.
struct Statm {
  std::size_t mapped = 0, resident = 0;
};

Statm statm() {
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (f == nullptr) return {};
  unsigned long size = 0, resident = 0;
  const int read = std::fscanf(f, "%lu %lu", &size, &resident);
  std::fclose(f);
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return read == 2 ? Statm{size * page, resident * page} : Statm{};
}

std::size_t resident_bytes() { return statm().resident; }

// Big documents written one after another leave the thread with no more
// than the small buffer it keeps: not the writer's buffer, nor freed blocks
// an allocator holds on to (under 32 MiB glibc keeps those after the first).
TEST(JsonWriterBuffer, BigBuffersGoBackToTheSystem) {
  if (kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer's quarantine keeps freed memory resident";
  const Doc doc{20000, 1000};  // about 20 MB
  std::size_t before = 0;
  std::vector<std::size_t> after;
  std::thread([&] {
    {
      JsonWriter warm;
      write_doc(warm, {10, 10});
    }
    before = resident_bytes();
    for (int round = 0; round < 3; ++round) {
      {
        JsonWriter w;
        write_doc(w, doc);
      }
      after.push_back(resident_bytes());
    }
  }).join();
  ASSERT_NE(before, 0u);
  for (const std::size_t a : after) EXPECT_LT(a, before + (std::size_t{4} << 20)) << "resident bytes before " << before;
}

// With no address space left to map, writers take their buffers from the
// heap's free blocks (32 MiB freed under a block kept, so that the heap
// cannot shrink): the thread's spare grows and becomes large; one is large
// at once; one is small. The child exits with bit i set when case i was
// wrong or refused.
TEST(JsonWriterBuffer, WritesWithNoAddressSpaceLeftToMap) {
  if (kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer reserves address space of its own";
  const Doc docs[] = {{3000, 1000}, {100, 100}, {10, 10}};
  const std::size_t capacities[] = {1, 4 << 20, 128};
  { JsonWriter spare; }
  const pid_t pid = fork();
  ASSERT_NE(pid, -1);
  if (pid == 0) {
    // Through a volatile pointer, so that the compiler keeps blocks never read.
    void* (*volatile allocate)(std::size_t) = std::malloc;
    std::vector<void*> blocks(32 << 10);
    for (void*& b : blocks) b = allocate(1024);
    allocate(1024);
    for (void* b : blocks) std::free(b);
    const rlimit limit{static_cast<rlim_t>(statm().mapped), RLIM_INFINITY};
    if (limit.rlim_cur == 0) _exit(255);
    int failed = 0;
    for (std::size_t i = 0; i < std::size(docs); ++i) {
      const std::string expected = expected_doc(docs[i]);
      if (i == 0 && setrlimit(RLIMIT_AS, &limit) != 0) _exit(255);
      try {
        JsonWriter w(capacities[i]);
        write_doc(w, docs[i]);
        if (w.buffer() != expected) failed |= 1 << i;
      } catch (const std::bad_alloc&) {
        failed |= 1 << i;
      }
    }
    _exit(failed);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_EQ(status, 0) << "a wait status: the bits of the cases that failed, shifted by 8, or a signal";
}

// Nested arrays, `depth` levels: a recursion guarded as generated writers
// guard theirs.
void nest(JsonWriter& w, int depth) {
  if (!w.enter()) return;
  w.raw('[');
  if (depth > 0) nest(w, depth - 1);
  w.raw(']');
}

// The main thread's stack is grown by the kernel only while the address
// space has room, and a refused growth would be SIGSEGV: a deep write there
// grows it or throws bad_alloc. In a forked child, under a limit of
// `headroom` bytes over what is mapped; it exits with the outcome's bit.
TEST(JsonWriterStack, MainThreadWritesUnderAnAddressSpaceLimit) {
  if (kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer reserves address space of its own";
  enum : int { kExact = 1, kBadAlloc = 2, kTooDeep = 4, kWrong = 8 };
  const struct {
    std::size_t headroom;
    int depth;
    int outcomes;
  } rows[] = {
      // Exact where this process has already grown its stack that far.
      {std::size_t{1} << 20, test_support::stack_levels(100'000), kBadAlloc | kExact},
      {std::size_t{64} << 20, test_support::stack_levels(100'000), kExact},
      {std::size_t{64} << 20, 1'000'000, kTooDeep},
  };
  for (const auto& row : rows) {
    const std::string expected = std::string(row.depth + 1, '[') + std::string(row.depth + 1, ']');
    const pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
      const std::size_t mapped = statm().mapped;
      const rlimit limit{static_cast<rlim_t>(mapped + row.headroom), RLIM_INFINITY};
      if (mapped == 0 || setrlimit(RLIMIT_AS, &limit) != 0) _exit(255);
      try {
        JsonWriter w;
        nest(w, row.depth);
        _exit(w.failed() ? (w.error()->kind == WriteErrorKind::TooDeep ? kTooDeep : kWrong)
                         : (w.buffer() == expected ? kExact : kWrong));
      } catch (const std::bad_alloc&) {
        _exit(kBadAlloc);
      }
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "a signal: " << WTERMSIG(status) << ", depth " << row.depth;
    EXPECT_NE(WEXITSTATUS(status) & row.outcomes, 0) << "outcome " << WEXITSTATUS(status) << ", depth " << row.depth;
  }
}

TEST(JsonWriterErrors, FirstErrorWins) {
  JsonWriter w;
  EXPECT_FALSE(w.failed());
  EXPECT_FALSE(w.error().has_value());
  w.fail(WriteErrorKind::FloatKeyNotFinite, "first");
  w.fail(WriteErrorKind::KeyMustBeString, "second");
  ASSERT_TRUE(w.failed());
  EXPECT_EQ(w.error()->kind, WriteErrorKind::FloatKeyNotFinite);
  EXPECT_EQ(w.error()->message, "first");
}

TEST(JsonWriterErrors, EnterSucceedsOnAShallowStack) {
  JsonWriter w;
  EXPECT_TRUE(w.enter());
  EXPECT_FALSE(w.failed());
}

}  // namespace
}  // namespace conjure_object
