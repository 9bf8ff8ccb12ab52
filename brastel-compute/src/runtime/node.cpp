#include "conjure_object/node.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include "conjure_object/sanitizer.h"

namespace conjure_object {

namespace {

constexpr bool kCache = !kAddressSanitizer;

// Freed node blocks, by size class of 8 bytes up to 256, kept per thread
// for the next node of that size. Node sizes are multiples of 8 (a node
// holds pointers), so a class is one size and no node pays for rounding: a
// coarser step would move many nodes to malloc's next chunk size. (Off
// under AddressSanitizer, which must see every block freed to catch a use
// after free.)
constexpr std::size_t kGranule = 8;
constexpr std::size_t kClasses = 32;
constexpr std::uint32_t kMaxCached = 1024;

struct FreeBlock {
  FreeBlock* next;
};

// What freeing and making nodes keep per thread, in one block found at one
// address. Initial-exec: read at every node, so no call to the TLS resolver.
struct NodeCache {
  // Nodes waiting to be freed by the outermost destroy() on this thread,
  // linked through the nodes themselves so that freeing never allocates.
  const Node* pending;
  bool draining;
  FreeBlock* free[kClasses];
  std::uint32_t cached[kClasses];
  // 0: nothing cached yet; 1: caching, the cleanup registered; 2: the
  // thread is exiting and its cache is gone: blocks go back to malloc.
  std::uint8_t state;
};
[[gnu::tls_model("initial-exec")]] thread_local NodeCache t_cache;

struct CacheCleanup {
  ~CacheCleanup() {
    NodeCache& cache = t_cache;
    cache.state = 2;
    for (std::size_t c = 0; c < kClasses; ++c) {
      while (FreeBlock* b = cache.free[c]) {
        cache.free[c] = b->next;
        std::free(b);
      }
      cache.cached[c] = 0;
    }
  }
};

// A block that the fast path of operator delete does not keep: the first
// one of a thread (which registers the cache's cleanup), or one past the
// cache's bounds. Out of line, so that the fast path saves no registers.
[[gnu::noinline]] void release_block(NodeCache& cache, void* block, std::size_t c) noexcept {
  if (kCache && c < kClasses && cache.state == 0) {
    // Touching it registers its destructor for this thread's exit.
    static thread_local CacheCleanup cleanup;
    (void)&cleanup;
    cache.state = 1;
    auto* b = static_cast<FreeBlock*>(block);
    b->next = cache.free[c];
    cache.free[c] = b;
    ++cache.cached[c];
    return;
  }
  std::free(block);
}

}  // namespace

void* Node::operator new(std::size_t size) {
  const std::size_t c = (size - 1) / kGranule;
  if (kCache && c < kClasses) {
    NodeCache& cache = t_cache;
    if (FreeBlock* b = cache.free[c]) {
      cache.free[c] = b->next;
      --cache.cached[c];
      return b;
    }
    size = (c + 1) * kGranule;
  }
  void* block = std::malloc(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void Node::operator delete(void* block, std::size_t size) noexcept {
  const std::size_t c = (size - 1) / kGranule;
  NodeCache& cache = t_cache;
  if (kCache && c < kClasses && cache.state == 1 && cache.cached[c] < kMaxCached) {
    auto* b = static_cast<FreeBlock*>(block);
    b->next = cache.free[c];
    cache.free[c] = b;
    ++cache.cached[c];
    return;
  }
  release_block(cache, block, c);
}

void Node::destroy(const Node* node) noexcept {
  NodeCache& cache = t_cache;
  if (cache.draining) {
    node->next_pending_ = cache.pending;
    cache.pending = node;
    return;
  }
  cache.draining = true;
  delete node;
  while (cache.pending != nullptr) {
    const Node* next = cache.pending;
    cache.pending = next->next_pending_;
    delete next;
  }
  cache.draining = false;
}

}  // namespace conjure_object
