// How deep a tree the tests expect a thread's default stack to write. An
// optimized build's writer frames are small; a sanitizer pads every frame
// (about three times as large), and an unoptimized build keeps every local of
// a writer's many-armed switch apart (thirty times and more), so those builds
// expect proportionally fewer levels.
#pragma once

namespace test_support {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kSanitizerFrameGrowth = 4;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr int kSanitizerFrameGrowth = 4;
#else
inline constexpr int kSanitizerFrameGrowth = 1;
#endif
#else
inline constexpr int kSanitizerFrameGrowth = 1;
#endif

#if defined(__OPTIMIZE__)
inline constexpr int kUnoptimizedFrameGrowth = 1;
#else
inline constexpr int kUnoptimizedFrameGrowth = 8;
#endif

// `levels` as written for an optimized build, scaled to this one.
constexpr int stack_levels(int levels) { return levels / (kSanitizerFrameGrowth * kUnoptimizedFrameGrowth); }

}  // namespace test_support
