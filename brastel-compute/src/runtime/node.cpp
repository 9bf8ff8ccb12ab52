#include "conjure_object/node.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include "conjure_object/sanitizer.h"
#include "thread_cache.h"

namespace conjure_object {

namespace {

constexpr bool kCache = !kAddressSanitizer;

using detail::FreeBlock;
using detail::kNodeClasses;
using detail::kNodeGranule;
using detail::t_cache;

// Nodes waiting to be freed by the outermost destroy() on this thread,
// linked through the nodes themselves so that freeing never allocates.
struct Pending {
  const Node* head;
  bool draining;
};
[[gnu::tls_model("initial-exec")]] constinit thread_local Pending t_pending{};

// A block that the fast path of operator delete does not keep: one of a
// thread without a cache yet (which makes it), or one past the cache's
// bounds.
// Out of line, so that the fast path saves no registers.
[[gnu::noinline]] void release_block(void* block, std::size_t c) noexcept {
  if (kCache && c < kNodeClasses) {
    detail::ThreadCache* cache = detail::own_thread_cache();
    if (cache != nullptr && detail::keep_block(cache, block, c)) return;
  }
  std::free(block);
}

void* allocate_block(std::size_t size) {
  void* block = std::malloc(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

// A block of a thread without a cache yet: its first node, which makes its
// cache (its first use, thread_cache.h). Out of line, like release_block.
[[gnu::noinline]] void* first_block(std::size_t size) {
  detail::own_thread_cache();
  return allocate_block(size);
}

}  // namespace

// Freed node blocks, by size class of 8 bytes up to 256, are kept per
// thread for the next node of that size (thread_cache.h). Node sizes are
// multiples of 8 (a node holds pointers), so a class is one size and no node
// pays for rounding: a coarser step would move many nodes to malloc's next
// chunk size. (Off under AddressSanitizer, which must see every block freed
// to catch a use after free.)
void* Node::operator new(std::size_t size) {
  const std::size_t c = (size - 1) / kNodeGranule;
  if (kCache && c < kNodeClasses) {
    detail::ThreadCache* cache = t_cache;
    if (FreeBlock* b = cache->free[c]) {
      cache->free[c] = b->next;
      --cache->cached[c];
      return b;
    }
    size = (c + 1) * kNodeGranule;
    if (cache == &detail::none_yet) [[unlikely]]
      return first_block(size);
  }
  return allocate_block(size);
}

void Node::operator delete(void* block, std::size_t size) noexcept {
  const std::size_t c = (size - 1) / kNodeGranule;
  if (kCache && c < kNodeClasses && detail::keep_block(t_cache, block, c)) return;
  release_block(block, c);
}

void Node::destroy(const Node* node) noexcept {
  Pending& pending = t_pending;
  if (pending.draining) {
    node->next_pending_ = pending.head;
    pending.head = node;
    return;
  }
  pending.draining = true;
  delete node;
  while (pending.head != nullptr) {
    const Node* next = pending.head;
    pending.head = next->next_pending_;
    delete next;
  }
  pending.draining = false;
}

}  // namespace conjure_object
