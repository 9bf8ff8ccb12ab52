#include "conjure_object/json_writer.h"

#include <sys/mman.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <system_error>
#include <utility>

#include "conjure_object/sanitizer.h"
#include "conjure_object/stack_guard.h"
#include "thread_cache.h"

namespace conjure_object {
namespace {

// For each byte: 0 when copied as is, otherwise the letter after the
// backslash ('u' for the \u00XX form).
constexpr std::array<char, 256> kEscape = [] {
  std::array<char, 256> t{};
  for (int c = 0; c < 0x20; ++c) t[c] = 'u';
  t['\b'] = 'b';
  t['\t'] = 't';
  t['\n'] = 'n';
  t['\f'] = 'f';
  t['\r'] = 'r';
  t['"'] = '"';
  t['\\'] = '\\';
  return t;
}();

constexpr char kHex[] = "0123456789abcdef";

// Lays out a finite, non-zero magnitude whose shortest round-trip digits and
// decimal exponent come from to_chars' scientific form ("d.ddde+XX").
std::size_t layout_float(char* out, const char* sci, const char* sci_end) {
  char digits[24];
  std::size_t n = 0;
  const char* p = sci;
  for (; p != sci_end && *p != 'e'; ++p) {
    if (*p != '.') digits[n++] = *p;
  }
  int e = 0;
  if (p != sci_end) {
    ++p;  // 'e'
    const bool neg = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    for (; p != sci_end; ++p) e = e * 10 + (*p - '0');
    if (neg) e = -e;
  }

  char* o = out;
  if (e < -5 || e > 15) {
    *o++ = digits[0];
    if (n > 1) {
      *o++ = '.';
      std::memcpy(o, digits + 1, n - 1);
      o += n - 1;
    }
    *o++ = 'e';
    *o++ = e < 0 ? '-' : '+';
    o = std::to_chars(o, out + kMaxFloatText, e < 0 ? -e : e).ptr;
  } else if (e < 0) {
    *o++ = '0';
    *o++ = '.';
    for (int i = 0; i < -e - 1; ++i) *o++ = '0';
    std::memcpy(o, digits, n);
    o += n;
  } else if (n <= static_cast<std::size_t>(e) + 1) {
    std::memcpy(o, digits, n);
    o += n;
    for (std::size_t i = n; i < static_cast<std::size_t>(e) + 1; ++i) *o++ = '0';
    *o++ = '.';
    *o++ = '0';
  } else {
    const std::size_t whole = static_cast<std::size_t>(e) + 1;
    std::memcpy(o, digits, whole);
    o += whole;
    *o++ = '.';
    std::memcpy(o, digits + whole, n - whole);
    o += n - whole;
  }
  return static_cast<std::size_t>(o - out);
}

template <class F>
std::size_t format_float(char* out, F v) {
  if (!std::isfinite(v)) {
    std::memcpy(out, "null", 4);
    return 4;
  }
  char* o = out;
  if (std::signbit(v)) {
    *o++ = '-';
    v = -v;
  }
  if (v == F{0}) {
    *o++ = '0';
    *o++ = '.';
    *o++ = '0';
  } else {
    // Scientific with no precision gives the shortest round-trip digits of
    // the value's own type.
    char sci[32];
    const auto r = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific);
    o += layout_float(o, sci, r.ptr);
  }
  return static_cast<std::size_t>(o - out);
}

// Buffers are mapped straight from the system, never taken from malloc:
// unmapping gives the pages back at once, whereas glibc keeps freed blocks
// in its arenas and raises its mmap threshold each time a mapped block is
// freed. Only the pages written to are resident; sizes are multiples of
// kGranule, so of any page size. A buffer of up to kMaxSpare bytes may be
// kept by the thread for its next writer; a larger one is unmapped whole
// when its writer is done.
//
// Where the system refuses a mapping, the buffer comes from malloc instead:
// with the address space at its limit (RLIMIT_AS), memory freed into the
// heap cannot go back to the system while blocks above it are still held
// (by the node cache, malloc's own caches, live objects), yet malloc can
// reuse it. Each writer knows how its buffer was made; one from malloc is
// freed when its writer is done, never kept, so the thread's spare is
// always mapped.
//
// Under AddressSanitizer every buffer comes from malloc, whose blocks it
// guards, so that an append past the end of a buffer is caught; a small
// granule keeps those ends close to what is written. The rest is the same.
constexpr bool kMapped = !kAddressSanitizer;
constexpr std::size_t kGranule = kMapped ? std::size_t{64} << 10 : 16;
constexpr std::size_t kMaxSpare = std::size_t{1} << 20;

// Large buffers are aligned and sized for transparent huge pages: faulting
// in 4 KiB pages one at a time costs more than writing them.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// The first large buffer reserves this much address space: only the pages
// written to are backed, and most documents then never move.
constexpr std::size_t kFirstLarge = std::size_t{64} << 20;

std::size_t round_up(std::size_t n, std::size_t to) {
  if (n > SIZE_MAX - to) throw std::bad_alloc();
  return (n + to - 1) & ~(to - 1);
}

// The size of buffer to allocate for n bytes.
std::size_t rounded(std::size_t n) {
  if (n == 0) return kGranule;
  return round_up(n, n <= kMaxSpare ? kGranule : kHugePage);
}

// The mapping functions return null when refused, and always under
// AddressSanitizer.

char* map_small(std::size_t size) {
  if constexpr (!kMapped) return nullptr;
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? nullptr : static_cast<char*>(p);
}

// size is a multiple of kHugePage.
char* map_large(std::size_t size) {
  if constexpr (!kMapped) return nullptr;
  void* p = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                 -1, 0);
  if (p == MAP_FAILED) return nullptr;
  char* const raw = static_cast<char*>(p);
  const std::size_t head = (kHugePage - reinterpret_cast<std::uintptr_t>(raw) % kHugePage) % kHugePage;
  if (head != 0) munmap(raw, head);
  munmap(raw + head + size, kHugePage - head);
  // Refused where huge pages are off: the buffer then has small pages.
  madvise(raw + head, size, MADV_HUGEPAGE);
  return raw + head;
}

// A new buffer of `size` bytes, mapped if the system agrees, else from
// malloc; null when both refuse. `mapped` tells which.
char* allocate(std::size_t size, bool& mapped) {
  char* p = size > kMaxSpare ? map_large(size) : map_small(size);
  mapped = p != nullptr;
  return mapped ? p : static_cast<char*>(std::malloc(size));
}

// Keeps the first `size` bytes; null when refused, the buffer unchanged.
char* resize(char* data, std::size_t size, std::size_t new_size, bool mapped) {
  if (!mapped) return static_cast<char*>(std::realloc(data, new_size));
  // The kernel moves the pages: nothing is copied.
  void* p = mremap(data, size, new_size, MREMAP_MAYMOVE);
  return p == MAP_FAILED ? nullptr : static_cast<char*>(p);
}

void release(char* data, std::size_t size, bool mapped) noexcept {
  if (data == nullptr) return;
  if (mapped) {
    munmap(data, size);
  } else {
    std::free(data);
  }
}

// Keeps a buffer a writer is done with as the thread's spare (in its cache,
// thread_cache.h) when it may be kept and is larger than the spare; releases
// the other. The spare is made the build's usual way (mapped, but for
// AddressSanitizer), so that it needs no mark of its own.
void give_back(char* data, std::size_t size, bool mapped) noexcept {
  if (mapped == kMapped && size <= kMaxSpare && size > detail::t_cache->spare_size) {
    if (detail::ThreadCache* cache = detail::own_thread_cache()) {
      release(std::exchange(cache->spare, data), std::exchange(cache->spare_size, size), kMapped);
      return;
    }
  }
  release(data, size, mapped);
}

}  // namespace

void detail::release_spare(char* data, std::size_t size) noexcept { release(data, size, kMapped); }

std::size_t format_f64(char* out, double v) { return format_float(out, v); }
std::size_t format_f32(char* out, float v) { return format_float(out, v); }

JsonWriter::JsonWriter(std::size_t capacity) : stack_limit_(stack_limit()) {
  detail::ThreadCache* cache = detail::t_cache;
  std::size_t size;
  if (cache->spare != nullptr && cache->spare_size >= capacity) {
    begin_ = std::exchange(cache->spare, nullptr);
    size = std::exchange(cache->spare_size, 0);
    mapped_ = kMapped;
  } else {
    size = rounded(capacity);
    begin_ = allocate(size, mapped_);
    if (begin_ == nullptr) throw std::bad_alloc();
  }
  cur_ = begin_;
  end_ = begin_ + size;
}

JsonWriter::~JsonWriter() { give_back(begin_, static_cast<std::size_t>(end_ - begin_), mapped_); }

void JsonWriter::grow(std::size_t n) {
  const auto used = static_cast<std::size_t>(cur_ - begin_);
  const auto size = static_cast<std::size_t>(end_ - begin_);
  if (n > SIZE_MAX / 2 - used) throw std::bad_alloc();
  std::size_t wanted = rounded(used + n > size * 2 ? used + n : size * 2);
  // Becoming large, the bytes so far are copied, so that the buffer they
  // were in may still be the one the thread keeps.
  const bool becoming_large = size <= kMaxSpare && wanted > kMaxSpare;
  char* p = becoming_large ? nullptr : resize(begin_, size, wanted, mapped_);
  if (p == nullptr) {
    // A mapping that cannot grow is copied too, likely to malloc; a block
    // that realloc refused cannot move anywhere else.
    if (!becoming_large && !mapped_) throw std::bad_alloc();
    bool mapped = false;
    if (becoming_large && wanted < kFirstLarge) {
      p = map_large(kFirstLarge);
      mapped = p != nullptr;
      if (mapped) wanted = kFirstLarge;
    }
    if (p == nullptr) p = allocate(wanted, mapped);
    if (p == nullptr) throw std::bad_alloc();
    std::memcpy(p, begin_, used);
    give_back(begin_, size, mapped_);
    mapped_ = mapped;
  }
  begin_ = p;
  cur_ = p + used;
  end_ = p + wanted;
}

void JsonWriter::string(std::string_view s) {
  // Room for the worst case (every byte a \u00XX escape) up front, so the
  // loop appends without checking.
  reserve(s.size() * 6 + 2);
  char* o = cur_;
  *o++ = '"';
  const char* run = s.data();
  const char* const end = s.data() + s.size();
  for (const char* p = run; p != end; ++p) {
    const char esc = kEscape[static_cast<unsigned char>(*p)];
    if (esc == 0) continue;
    std::memcpy(o, run, static_cast<std::size_t>(p - run));
    o += p - run;
    run = p + 1;
    *o++ = '\\';
    if (esc == 'u') {
      const auto c = static_cast<unsigned char>(*p);
      const char u[5] = {'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
      std::memcpy(o, u, sizeof u);
      o += sizeof u;
    } else {
      *o++ = esc;
    }
  }
  std::memcpy(o, run, static_cast<std::size_t>(end - run));
  o += end - run;
  *o++ = '"';
  cur_ = o;
}

void JsonWriter::i64(std::int64_t v) {
  reserve(24);
  cur_ = std::to_chars(cur_, end_, v).ptr;
}

void JsonWriter::u64(std::uint64_t v) {
  reserve(24);
  cur_ = std::to_chars(cur_, end_, v).ptr;
}

void JsonWriter::f64(double v) {
  reserve(kMaxFloatText);
  cur_ += format_f64(cur_, v);
}

void JsonWriter::f32(float v) {
  reserve(kMaxFloatText);
  cur_ += format_f32(cur_, v);
}

void JsonWriter::fail(WriteErrorKind kind, std::string message) {
  if (!error_) error_ = WriteError{kind, std::move(message)};
}

bool JsonWriter::past_limit() {
  switch (extend_stack(stack_limit_)) {
    case StackRoom::Grown:
      return true;
    case StackRoom::Refused:
      throw std::bad_alloc();
    case StackRoom::Exhausted:
      break;
  }
  fail(WriteErrorKind::TooDeep, "recursion limit exceeded while writing JSON");
  return false;
}

}  // namespace conjure_object
