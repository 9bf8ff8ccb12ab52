#include "conjure_object/stack_guard.h"

#include <algorithm>
#include <cstdint>

#include "thread_cache.h"

#if defined(__linux__)
#include <pthread.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>
#endif

namespace conjure_object {
namespace {

// Assumed stack size below the first frame seen when the thread's real
// bounds cannot be found: small enough to hold on any thread we would run on.
constexpr std::uintptr_t kFallbackStack = 1024 * 1024;

// Stack kept grown below the limit of a descent on a stack the kernel grows
// as it is used: room for the frames between two checks, the calls they
// make (an allocation, a throw's unwinding) and a signal's frame.
constexpr std::uintptr_t kGrowthMargin = 16 * 1024;

// How far such a stack is grown ahead of a descent at a time, at most.
constexpr std::uintptr_t kGrowthStep = 256 * 1024;

// Per thread, zero until looked up: the lowest address at which a descent
// must stop for now, and, where the kernel grows the stack, the lowest it
// may ever be lowered to (else zero). Plain integers keep the thread_locals
// free of an init guard, and initial-exec keeps them in the static block
// that exists with the thread.
[[gnu::tls_model("initial-exec")]] constinit thread_local std::uintptr_t t_limit = 0;
[[gnu::tls_model("initial-exec")]] constinit thread_local std::uintptr_t t_floor = 0;

#if defined(__linux__)
std::uintptr_t page_size() noexcept { return static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE)); }

// Whether the page at `page` is mapped, asked without touching it.
bool mapped(std::uintptr_t page) noexcept {
  unsigned char resident;
  return mincore(reinterpret_cast<void*>(page), 1, &resident) == 0;
}

// The bottom of the stack already grown below `here`, where it does not
// reach down to `low` yet (else zero): the stack is one mapping, with
// nothing else mapped between it and `low`.
std::uintptr_t grown_bottom(std::uintptr_t low, std::uintptr_t here) noexcept {
  const std::uintptr_t page = page_size();
  const std::uintptr_t mask = ~(page - 1);
  std::uintptr_t unmapped = (low + page - 1) & mask;
  std::uintptr_t bottom = here & mask;
  if (bottom <= unmapped || mapped(unmapped)) return 0;
  while (bottom - unmapped > page) {
    const std::uintptr_t mid = unmapped + ((bottom - unmapped) / 2 & mask);
    (mapped(mid) ? bottom : unmapped) = mid;
  }
  return bottom;
}

// Grows the stack down to `addr` as a fault there would; false where the
// kernel refuses (the address space or the stack's own limit reached). The
// kernel writes the clock there itself, so that a refusal is EFAULT rather
// than the SIGSEGV that the same fault from user code gets.
bool reach(std::uintptr_t addr) noexcept {
  return syscall(SYS_clock_gettime, CLOCK_MONOTONIC, reinterpret_cast<void*>(addr & ~std::uintptr_t{15})) == 0;
}
#endif

// The limit, and whether it may be kept: not when the lookup itself failed,
// as it may when memory is short, which a later lookup may not be. `floor`
// is set where the limit can be lowered.
std::uintptr_t look_up_limit(std::uintptr_t here, bool& keep, std::uintptr_t& floor) noexcept {
  std::uintptr_t low = 0;
  std::size_t reserve = kStackReserve;
  keep = true;
  floor = 0;
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
  const std::uintptr_t limit = low + reserve;
#if defined(__linux__)
  // The kernel grows the main thread's stack as it is used, but only while
  // the address space has room: a fault it refuses is SIGSEGV. A descent
  // stops near the part already grown, and extend_stack() grows it ahead.
  // Without trusted bounds, what is already grown is all there is.
  if (const std::uintptr_t grown = grown_bottom(low, here)) {
    const std::uintptr_t near = grown + kGrowthMargin;
    if (near > limit) {
      // Never grown below the stack's bottom, however small the reserve.
      if (keep) floor = std::max(limit, low + kGrowthMargin);
      return near;
    }
  }
#endif
  return limit;
}

// Out of line, so that a limit already kept costs its caller a load.
[[gnu::noinline, gnu::cold]] std::uintptr_t first_stack_limit() noexcept {
  detail::reach_exception_state();
  bool keep = false;
  std::uintptr_t floor = 0;
  const std::uintptr_t limit = look_up_limit(stack_here(), keep, floor);
  if (keep) {
    t_limit = limit;
    t_floor = floor;
  }
  return limit;
}

}  // namespace

std::uintptr_t stack_limit() noexcept {
  const std::uintptr_t limit = t_limit;
  return limit != 0 ? limit : first_stack_limit();
}

StackRoom extend_stack(std::uintptr_t& limit) noexcept {
  const std::uintptr_t here = stack_here();
  std::uintptr_t near = limit;
#if defined(__linux__)
  const std::uintptr_t floor = t_floor;
  // Only the thread's kept limit moves: not one this descent already moved
  // to the floor, nor one whose lookup could not be kept.
  if (here < near && here >= floor && floor != 0 && near == t_limit) {
    rlimit space;
    if (getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur == RLIM_INFINITY) {
      // Nothing limits the growth but the stack's own size: this descent
      // grows it as it goes, as any code does. The kept limit stays, as a
      // limit may be set before the next descent.
      near = floor;
    } else {
      // Grown ahead of the descent, by steps that halve where the kernel
      // refuses them, down to a page, so that the last of the address space
      // is used. What is grown stays, so the thread's limit follows.
      const std::uintptr_t page = page_size();
      std::uintptr_t step = kGrowthStep;
      while (here < near) {
        const std::uintptr_t target = std::max(here - kGrowthMargin - step, floor - kGrowthMargin);
        if (reach(target)) {
          t_limit = near = std::max(target + kGrowthMargin, floor);
        } else if (step > page) {
          step /= 2;
        } else {
          limit = near;
          return StackRoom::Refused;
        }
      }
    }
  }
#endif
  limit = near;
  return here >= near ? StackRoom::Grown : StackRoom::Exhausted;
}

}  // namespace conjure_object
