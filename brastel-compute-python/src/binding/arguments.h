// Matching a call's positional and keyword arguments to the parameters of
// its text signature, with the binding's TypeErrors.
#pragma once

#include <cstddef>
#include <string_view>

#include "binding/ref.h"
#include "python.h"

namespace brastel_python::binding {

// What matching needs to know of one callable; a constant per method.
struct CallShape {
  std::string_view owner;  // the class's Python name; empty for a module function
  std::string_view name;
  const std::string_view* params;
  std::size_t count;
  std::size_t required;
  PyObject* const* interned;  // the parameter names as interned str, made at registration
};

// Fills slots[0..count) with borrowed references to the arguments (null
// where an optional parameter was left out). Returns false with the
// TypeError set when the arguments do not fit.
bool match_arguments(const CallShape& shape, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
                     PyObject** slots);

// The same for a call given as a tuple and a dict (the object-creation slot),
// each argument also owned in owned[0..count): the dict is the caller's, and
// code run by a conversion may empty it while the later values are in use.
bool match_tuple_arguments(const CallShape& shape, PyObject* args, PyObject* kwargs, PyObject** slots, Ref* owned);

// Interns the parameter names once; false with the error set on failure.
bool intern_names(const std::string_view* params, std::size_t count, PyObject** interned);

}  // namespace brastel_python::binding
