// What a thread keeps between calls: freed node blocks by size class, and
// the JSON writer's spare buffer. It is made on the heap at the thread's
// first need and found through one pointer of static thread-local storage,
// which exists with the thread: glibc aborts the process where it cannot
// allocate a library's thread-local data lazily, or register a
// thread_local's destructor. A thread that cannot have a cache (memory or
// thread keys run out) does without one: its blocks and buffers come from,
// and go back to, the system. The cache is freed at the thread's exit
// through a thread key made when the library is loaded, which registers
// nothing per thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace conjure_object::detail {

// Node blocks are cached by size class of 8 bytes, up to 256.
inline constexpr std::size_t kNodeGranule = 8;
inline constexpr std::size_t kNodeClasses = 32;
inline constexpr std::uint32_t kMaxCachedNodes = 1024;

struct FreeBlock {
  FreeBlock* next;
};

struct ThreadCache {
  FreeBlock* free[kNodeClasses];
  std::uint32_t cached[kNodeClasses];
  char* spare;
  std::size_t spare_size;
};

// The thread's cache, or a stand-in that holds nothing and is full, so that
// the fast paths need no test of their own: one for a thread that has none
// yet, one for a thread that is exiting or cannot have one. Initial-exec:
// read at every node, so no call to the TLS resolver.
[[gnu::tls_model("initial-exec")]] extern constinit thread_local ThreadCache* t_cache;

// Keeps a freed node block of class c in the cache if it has room for it.
inline bool keep_block(ThreadCache* cache, void* block, std::size_t c) noexcept {
  if (cache->cached[c] >= kMaxCachedNodes) return false;
  auto* b = static_cast<FreeBlock*>(block);
  b->next = cache->free[c];
  cache->free[c] = b;
  ++cache->cached[c];
  return true;
}

// The stand-in of a thread that has no cache yet.
extern constinit ThreadCache none_yet;

// The thread's own cache, made now if it has none yet; null where it cannot
// have one. A thread's first node block comes through here as well as its
// first freed one, so that reach_exception_state() runs at its first use.
ThreadCache* own_thread_cache() noexcept;

// Reads the C++ runtime's per-thread exception state, at a thread's first
// use of this library (its cache, its stack limit). That state is reached
// through __tls_get_addr, which first grows the thread's table of TLS
// modules if libraries loaded since the thread began outgrew it, and glibc
// aborts the process where it cannot allocate that. Doing so early, while
// memory is still there, leaves a later throw (bad_alloc once memory runs
// out) nothing to allocate.
void reach_exception_state() noexcept;

// Releases a spare buffer of the JSON writer (json_writer.cpp).
void release_spare(char* data, std::size_t size) noexcept;

}  // namespace conjure_object::detail
