// A condition the code does not expect to fail. The core never aborts the
// process: it throws Panic, and the Python layer turns it into the module's
// panic exception (with the report written to standard error first).
#pragma once

#include <source_location>
#include <stdexcept>
#include <string>

namespace brastel_compute {

class Panic : public std::runtime_error {
 public:
  explicit Panic(const std::string& message,
                 std::source_location where = std::source_location::current())
      : std::runtime_error(message), where_(where) {}

  // Where the panic was raised, for the report ("file:line:column").
  const std::source_location& where() const noexcept { return where_; }

 private:
  std::source_location where_;
};

}  // namespace brastel_compute
