// How much C stack the current thread has left. Recursive writers and
// parsers ask before descending, so that no input can overflow the stack.
#pragma once

#include <cstddef>

namespace conjure_object {

// Bytes of stack kept free below any recursive descent.
inline constexpr std::size_t kStackReserve = 256 * 1024;

// True when the current thread's stack has less than kStackReserve bytes
// (a quarter of the stack, on threads with less than four times that) left
// below the caller's frame. Cheap: the stack bounds are looked up once
// per thread.
bool stack_nearly_exhausted() noexcept;

}  // namespace conjure_object
