// A condition the code does not expect to fail. The core never aborts the
// process: it throws Panic, and the Python layer turns it into the module's
// panic exception (with the report written to standard error first).
#pragma once

#include <stdexcept>
#include <string>
#include <version>
#if defined(__cpp_lib_source_location)
#include <source_location>
#endif

namespace brastel_compute {

// Where a panic was raised: std::source_location where the library has it;
// clang before 15 cannot build libstdc++'s, so there the builtins it has.
struct SourceLocation {
  const char* file = "";
  unsigned line = 0;
  unsigned column = 0;

#if defined(__cpp_lib_source_location)
  static constexpr SourceLocation current(std::source_location at = std::source_location::current()) noexcept {
    return {at.file_name(), static_cast<unsigned>(at.line()), static_cast<unsigned>(at.column())};
  }
#else
  static constexpr SourceLocation current(const char* file = __builtin_FILE(), unsigned line = __builtin_LINE(),
                                          unsigned column = __builtin_COLUMN()) noexcept {
    return {file, line, column};
  }
#endif
};

class Panic : public std::runtime_error {
 public:
  explicit Panic(const std::string& message, SourceLocation where = SourceLocation::current())
      : std::runtime_error(message), where_(where) {}

  // Where the panic was raised, for the report ("file:line:column").
  const SourceLocation& where() const noexcept { return where_; }

 private:
  SourceLocation where_;
};

}  // namespace brastel_compute
