// How deep a tree the tests expect a thread's default stack to write. An
// optimized build's writer frames are small; a sanitizer pads every frame
// (about three times as large), and an unoptimized build keeps every local of
// a writer's many-armed switch apart (thirty times and more), so those builds
// expect proportionally fewer levels.
#pragma once

#include "conjure_object/sanitizer.h"

namespace test_support {

inline constexpr int kSanitizerFrameGrowth = conjure_object::kAddressSanitizer ? 4 : 1;

#if defined(__OPTIMIZE__)
inline constexpr int kUnoptimizedFrameGrowth = 1;
#else
inline constexpr int kUnoptimizedFrameGrowth = 8;
#endif

// `levels` as written for an optimized build, scaled to this one.
constexpr int stack_levels(int levels) { return levels / (kSanitizerFrameGrowth * kUnoptimizedFrameGrowth); }

}  // namespace test_support
