#include "conjure_object/node.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace conjure_object {

namespace {
// Nodes waiting to be freed by the outermost destroy() on this thread,
// linked through the nodes themselves so that freeing never allocates.
// Initial-exec: read at every free, so no call to the TLS resolver.
[[gnu::tls_model("initial-exec")]] thread_local const Node* pending = nullptr;
[[gnu::tls_model("initial-exec")]] thread_local bool draining = false;

#if defined(__SANITIZE_ADDRESS__)
#define CONJURE_NODE_CACHE 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CONJURE_NODE_CACHE 0
#endif
#endif
#ifndef CONJURE_NODE_CACHE
#define CONJURE_NODE_CACHE 1
#endif

// Freed node blocks, by size class of 16 bytes up to 256, kept per thread
// for the next node of that size. (Off under AddressSanitizer, which must
// see every block freed to catch a use after free.)
constexpr std::size_t kGranule = 16;
constexpr std::size_t kClasses = 16;
constexpr std::uint32_t kMaxCached = 1024;

struct FreeBlock {
  FreeBlock* next;
};

[[gnu::tls_model("initial-exec")]] thread_local FreeBlock* t_free[kClasses];
[[gnu::tls_model("initial-exec")]] thread_local std::uint32_t t_cached[kClasses];
// 0: nothing cached yet; 1: caching, the cleanup registered; 2: the thread
// is exiting and its cache is gone: blocks go straight back to malloc.
[[gnu::tls_model("initial-exec")]] thread_local std::uint8_t t_state;

struct CacheCleanup {
  ~CacheCleanup() {
    t_state = 2;
    for (std::size_t c = 0; c < kClasses; ++c) {
      while (FreeBlock* b = t_free[c]) {
        t_free[c] = b->next;
        std::free(b);
      }
      t_cached[c] = 0;
    }
  }
};

void register_cleanup() {
  // Touching it registers its destructor for this thread's exit.
  static thread_local CacheCleanup cleanup;
  (void)&cleanup;
  t_state = 1;
}

}  // namespace

void* Node::operator new(std::size_t size) {
  const std::size_t c = (size - 1) / kGranule;
  if (CONJURE_NODE_CACHE && c < kClasses) {
    if (FreeBlock* b = t_free[c]) {
      t_free[c] = b->next;
      --t_cached[c];
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
  if (CONJURE_NODE_CACHE && c < kClasses && t_cached[c] < kMaxCached && t_state != 2) {
    if (t_state == 0) register_cleanup();
    auto* b = static_cast<FreeBlock*>(block);
    b->next = t_free[c];
    t_free[c] = b;
    ++t_cached[c];
    return;
  }
  std::free(block);
}

void Node::destroy(const Node* node) noexcept {
  if (draining) {
    node->next_pending_ = pending;
    pending = node;
    return;
  }
  draining = true;
  delete node;
  while (pending != nullptr) {
    const Node* next = pending;
    pending = next->next_pending_;
    delete next;
  }
  draining = false;
}

}  // namespace conjure_object
