// How much C stack the current thread has left. Recursive writers and
// parsers compare their frame with the limit before descending, so that no
// input can overflow the stack.
#pragma once

#include <cstddef>
#include <cstdint>

namespace conjure_object {

// Bytes of stack kept free below any recursive descent.
inline constexpr std::size_t kStackReserve = 256 * 1024;

// The lowest frame address at which the current thread may still descend:
// kStackReserve bytes (a quarter of the stack, on threads with less than
// four times that) above the bottom of its stack. A stack that the kernel
// grows as it is used (the main thread's) has a nearer limit, a margin
// above the part already grown, which extend_stack() moves down. Looked up
// once per thread; a recursive walk reads it once and compares against it.
std::uintptr_t stack_limit() noexcept;

enum class StackRoom : std::uint8_t {
  // The limit moved below the current frame: the descent goes on.
  Grown,
  // The bottom of the stack is reached.
  Exhausted,
  // The kernel refused to grow the stack further (the address space full).
  Refused,
};

// Called by a descent whose frame is below `limit`, which it took from
// stack_limit(): grows the stack ahead of the descent, where it is one that
// the kernel grows, and lowers `limit` to match.
StackRoom extend_stack(std::uintptr_t& limit) noexcept;

inline std::uintptr_t stack_here() noexcept { return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)); }

}  // namespace conjure_object
