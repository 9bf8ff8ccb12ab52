// Whether this build runs under AddressSanitizer, which must see every block
// freed (to catch a use after free) and every block's ends: the caches of
// freed memory step aside under it, and tests of resident memory skip.
#pragma once

namespace conjure_object {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
inline constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
inline constexpr bool kAddressSanitizer = false;
#endif

}  // namespace conjure_object
