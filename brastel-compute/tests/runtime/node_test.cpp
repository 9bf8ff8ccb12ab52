// Node memory: trees shared between threads are freed once, by whichever
// thread drops the last reference, never while one is held (the core's
// counts are atomic); a freed block goes only to a node of its size; and
// what a thread keeps of them is given back when it exits.
#include "conjure_object/node.h"
#include "conjure_object/sanitizer.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

namespace conjure_object {
namespace {

std::atomic<int> g_freed{0};

struct Counted {
  Counted(std::vector<NodeRef> children, int depth) : children(std::move(children)), depth(depth) {}
  Counted(const Counted&) = delete;
  ~Counted() { g_freed.fetch_add(1, std::memory_order_relaxed); }
  std::vector<NodeRef> children;
  int depth;
};

NodeRef tree(int depth) {
  std::vector<NodeRef> children;
  if (depth > 0) {
    children.push_back(tree(depth - 1));
    children.push_back(tree(depth - 1));
  }
  return make_node<Counted>(std::move(children), depth);
}

// Copies a reference to every node of the tree into `held`; false if a node
// does not read as the one it should be.
bool hold_all(const NodeRef& node, int depth, std::vector<NodeRef>& held) {
  held.push_back(node);
  const Counted& counted = node.as<Counted>();
  if (counted.depth != depth || counted.children.size() != (depth > 0 ? 2u : 0u)) return false;
  for (const NodeRef& child : counted.children) {
    if (!hold_all(child, depth - 1, held)) return false;
  }
  return true;
}

TEST(SharedNodes, FreedOnceAcrossThreads) {
  const struct {
    int threads;
    int depth;
    int rounds;
  } cases[] = {
      {8, 0, 20'000},  // one node, every thread copying and dropping it
      {8, 9, 40},      // 1,023 nodes
      {3, 14, 2},      // 32,767 nodes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.threads << " threads, depth " << c.depth);
    g_freed = 0;
    NodeRef root = tree(c.depth);
    std::vector<char> sound(c.threads, 0);
    std::vector<char> alive_at_end(c.threads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < c.threads; ++t) {
      // Each thread holds its own reference to the root until it is done.
      threads.emplace_back([&, t, mine = root] {
        bool ok = true;
        for (int r = 0; r < c.rounds && ok; ++r) {
          std::vector<NodeRef> held;
          ok = hold_all(mine, c.depth, held);
        }
        sound[t] = ok;
        alive_at_end[t] = g_freed.load() == 0;
      });
    }
    // The last reference is dropped on one of the threads.
    root = NodeRef();
    for (auto& thread : threads) thread.join();
    for (int t = 0; t < c.threads; ++t) {
      EXPECT_TRUE(sound[t]) << "thread " << t;
      EXPECT_TRUE(alive_at_end[t]) << "thread " << t;
    }
    EXPECT_EQ(g_freed.load(), (2 << c.depth) - 1);
  }
}

// A value of 8 * (W + 1) bytes, every word set to a tag.
template <std::size_t W>
struct Filled {
  std::array<std::uint64_t, W + 1> words;
};

template <std::size_t W>
NodeRef filled(std::uint64_t tag) {
  Filled<W> value;
  value.words.fill(tag);
  return make_node<Filled<W>>(value);
}

template <std::size_t W>
bool intact(const NodeRef& node, std::uint64_t tag) {
  for (std::uint64_t word : node.as<Filled<W>>().words) {
    if (word != tag) return false;
  }
  return true;
}

// Node sizes from 32 bytes to past the largest one the per-thread cache
// keeps, in steps of 8.
constexpr std::size_t kSizes = 34;
using Sizes = std::make_index_sequence<kSizes>;
using Made = std::array<std::vector<std::pair<NodeRef, std::uint64_t>>, kSizes>;

template <std::size_t W>
void make_some(std::vector<std::pair<NodeRef, std::uint64_t>>& nodes, int count) {
  for (int i = 0; i < count; ++i) {
    const std::uint64_t tag = std::uint64_t{W} << 32 | nodes.size();
    nodes.emplace_back(filled<W>(tag), tag);
  }
}

template <std::size_t... W>
void make_each(Made& made, int count, std::index_sequence<W...>) {
  (make_some<W>(made[W], count), ...);
}

template <std::size_t... W>
bool all_intact(const Made& made, std::index_sequence<W...>) {
  bool ok = true;
  ((ok = ok && [&] {
     for (const auto& [node, tag] : made[W]) {
       if (!intact<W>(node, tag)) return false;
     }
     return true;
   }()),
   ...);
  return ok;
}

TEST(NodeBlocks, AFreedBlockGoesOnlyToANodeOfItsSize) {
  Made made;
  make_each(made, 64, Sizes{});
  // Every other node of every size freed, then as many made again: the new
  // ones take the blocks just freed.
  for (auto& nodes : made) {
    for (std::size_t i = 0; i < nodes.size(); i += 2) nodes[i].first = NodeRef();
  }
  make_each(made, 32, Sizes{});
  for (auto& nodes : made) {
    std::erase_if(nodes, [](const auto& entry) { return entry.first.get() == nullptr; });
  }
  EXPECT_TRUE(all_intact(made, Sizes{}));
}

// A thread that filled its cache with blocks of every size and exited has
// given them all back: malloc holds no more than before it ran.
TEST(NodeBlocks, AnExitingThreadGivesItsCacheBack) {
#if defined(__GLIBC__)
  if (kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer's allocator keeps no malloc statistics";
  const std::size_t before = mallinfo2().uordblks;
  for (int t = 0; t < 16; ++t) {
    std::thread([] {
      Made made;
      make_each(made, 256, Sizes{});
    }).join();
  }
  // Leaking, each thread would leave its cache of about 256 blocks of each
  // of the 32 sizes, over 1 MiB.
  EXPECT_LT(mallinfo2().uordblks, before + (std::size_t{64} << 10));
#else
  GTEST_SKIP() << "needs glibc's malloc statistics";
#endif
}

}  // namespace
}  // namespace conjure_object
