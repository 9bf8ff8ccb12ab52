#include "thread_cache.h"

#include <pthread.h>

#include <cstdlib>
#include <exception>

namespace conjure_object::detail {

namespace {

constexpr ThreadCache stand_in() {
  ThreadCache cache{};
  for (std::uint32_t& n : cache.cached) n = kMaxCachedNodes;
  return cache;
}

// The stand-ins are never written: holding nothing and being full, they send
// every block and buffer to the slow paths.
constinit ThreadCache none = stand_in();

void drop_thread_cache(void* p) noexcept {
  auto* cache = static_cast<ThreadCache*>(p);
  // Whatever is freed later on this thread (another key's destructor) goes
  // straight back to the system.
  t_cache = &none;
  for (FreeBlock*& head : cache->free) {
    while (FreeBlock* b = head) {
      head = b->next;
      std::free(b);
    }
  }
  release_spare(cache->spare, cache->spare_size);
  std::free(cache);
}

// Made when the library is loaded; a thread's first need may come when
// memory is short, and pthread_setspecific on a key allocates at most a
// second-level table, which it reports rather than abort.
struct CacheKey {
  pthread_key_t key{};
  bool made = pthread_key_create(&key, &drop_thread_cache) == 0;
};
CacheKey cache_key;

}  // namespace

constinit ThreadCache none_yet = stand_in();

[[gnu::tls_model("initial-exec")]] constinit thread_local ThreadCache* t_cache = &none_yet;

ThreadCache* own_thread_cache() noexcept {
  ThreadCache* cache = t_cache;
  if (cache != &none_yet) return cache == &none ? nullptr : cache;
  reach_exception_state();
  // Left as it is on failure: a later need tries again.
  if (!cache_key.made) return nullptr;
  cache = static_cast<ThreadCache*>(std::calloc(1, sizeof(ThreadCache)));
  if (cache == nullptr) return nullptr;
  if (pthread_setspecific(cache_key.key, cache) != 0) {
    std::free(cache);
    return nullptr;
  }
  t_cache = cache;
  return cache;
}

void reach_exception_state() noexcept {
  const int n = std::uncaught_exceptions();
  // The call is declared pure: a result nobody reads would let it go.
  asm volatile("" : : "r"(n));
}

}  // namespace conjure_object::detail
