#include "conjure_object/stack_guard.h"

#include <cstdint>

#include "thread_cache.h"

#if defined(__linux__)
#include <pthread.h>
#endif

namespace conjure_object {
namespace {

// Assumed stack size below the first frame seen when the thread's real
// bounds cannot be found: small enough to hold on any thread we would run on.
constexpr std::uintptr_t kFallbackStack = 1024 * 1024;

// Lowest address at which a descent must stop, per thread; zero until looked
// up. A plain integer keeps the thread_local free of an init guard, and
// initial-exec keeps it in the static block that exists with the thread.
[[gnu::tls_model("initial-exec")]] constinit thread_local std::uintptr_t t_limit = 0;

// The limit, and whether it may be kept: not when the lookup itself failed,
// as it may when memory is short, which a later lookup may not be.
std::uintptr_t look_up_limit(std::uintptr_t here, bool& keep) noexcept {
  std::uintptr_t low = 0;
  std::size_t reserve = kStackReserve;
  keep = true;
#if defined(__linux__)
  pthread_attr_t attr;
  keep = pthread_getattr_np(pthread_self(), &attr) == 0;
  if (keep) {
    void* addr = nullptr;
    std::size_t size = 0;
    if (pthread_attr_getstack(&attr, &addr, &size) == 0 && addr != nullptr && size != 0) {
      const auto a = reinterpret_cast<std::uintptr_t>(addr);
      // Only trust bounds that actually contain the current frame.
      if (a < here && here - a <= size) {
        low = a;
        // A thread made with a small stack keeps a quarter of it free
        // instead, so that it can still write shallow trees.
        if (size < 4 * kStackReserve) reserve = size / 4;
      }
    }
    pthread_attr_destroy(&attr);
  }
#endif
  if (low == 0) low = here > kFallbackStack ? here - kFallbackStack : 0;
  return low + reserve;
}

}  // namespace

std::uintptr_t stack_limit() noexcept {
  std::uintptr_t limit = t_limit;
  if (limit == 0) {
    detail::reach_exception_state();
    bool keep = false;
    limit = look_up_limit(stack_here(), keep);
    if (keep) t_limit = limit;
  }
  return limit;
}

}  // namespace conjure_object
