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
// four times that) above the bottom of its stack. Looked up once per
// thread; a recursive walk reads it once and compares against it.
std::uintptr_t stack_limit() noexcept;

inline std::uintptr_t stack_here() noexcept { return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)); }

}  // namespace conjure_object
