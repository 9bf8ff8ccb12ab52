#include "binding/arguments.h"

#include <string>

#include "binding/errors.h"
#include "binding/signature.h"

namespace brastel_python::binding {

namespace {

// "Class.method()" or "function()".
std::string full_name(const CallShape& shape) {
  std::string out;
  if (!shape.owner.empty()) out.append(shape.owner).append(".");
  out.append(shape.name).append("()");
  return out;
}

void too_many_positional(const CallShape& shape, Py_ssize_t given) {
  std::string message = full_name(shape) + " takes ";
  if (shape.required != shape.count) {
    message += "from " + std::to_string(shape.required) + " to ";
  }
  message += std::to_string(shape.count) + " positional arguments but " + std::to_string(given);
  message += given == 1 ? " was given" : " were given";
  set_error(PyExc_TypeError, message);
}

// The keyword goes into the message as the str it is, never through str()
// (a subclass may override it) or UTF-8 (it may hold a lone surrogate).
void keyword_error(const CallShape& shape, const char* what, PyObject* keyword) {
  std::string prefix = full_name(shape) + what;
  PyErr_Format(PyExc_TypeError, "%s'%U'", prefix.c_str(), keyword);
}

void missing_required(const CallShape& shape, PyObject** slots) {
  std::size_t missing[kMaxParameters] = {};
  std::size_t n = 0;
  for (std::size_t i = 0; i < shape.required; ++i) {
    if (!slots[i]) missing[n++] = i;
  }
  std::string names;
  for (std::size_t k = 0; k < n; ++k) {
    if (k > 0) names += n == 2 ? " and " : (k + 1 == n ? ", and " : ", ");
    names.append("'").append(shape.params[missing[k]]).append("'");
  }
  std::string message = full_name(shape) + " missing " + std::to_string(n) + " required positional " +
                        (n == 1 ? "argument" : "arguments") + ": " + names;
  set_error(PyExc_TypeError, message);
}

// The parameter a keyword names, or count if none: interned pointers first,
// then the text (compared as str: any keyword, surrogates included, can be
// compared without failing).
std::size_t find_parameter(const CallShape& shape, PyObject* keyword) {
  for (std::size_t i = 0; i < shape.count; ++i) {
    if (shape.interned[i] == keyword) return i;
  }
  for (std::size_t i = 0; i < shape.count; ++i) {
    if (PyUnicode_Compare(keyword, shape.interned[i]) == 0) return i;
  }
  return shape.count;
}

// Places one keyword argument; false with the TypeError set.
bool place_keyword(const CallShape& shape, PyObject* keyword, PyObject* value, PyObject** slots) {
  std::size_t i = find_parameter(shape, keyword);
  if (i == shape.count) {
    keyword_error(shape, " got an unexpected keyword argument ", keyword);
    return false;
  }
  if (slots[i]) {
    keyword_error(shape, " got multiple values for argument ", keyword);
    return false;
  }
  slots[i] = value;
  return true;
}

bool check_required(const CallShape& shape, PyObject** slots) {
  for (std::size_t i = 0; i < shape.required; ++i) {
    if (!slots[i]) {
      missing_required(shape, slots);
      return false;
    }
  }
  return true;
}

}  // namespace

bool match_arguments(const CallShape& shape, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
                     PyObject** slots) {
  auto count = static_cast<Py_ssize_t>(shape.count);
  if (nargs > count) {
    too_many_positional(shape, nargs);
    return false;
  }
  for (Py_ssize_t i = 0; i < nargs; ++i) slots[i] = args[i];
  for (Py_ssize_t i = nargs; i < count; ++i) slots[i] = nullptr;
  if (kwnames) {
    Py_ssize_t nkw = PyTuple_Size(kwnames);
    for (Py_ssize_t k = 0; k < nkw; ++k) {
      if (!place_keyword(shape, PyTuple_GetItem(kwnames, k), args[nargs + k], slots)) return false;
    }
  }
  if (static_cast<std::size_t>(nargs) >= shape.required) return true;
  return check_required(shape, slots);
}

bool match_tuple_arguments(const CallShape& shape, PyObject* args, PyObject* kwargs, PyObject** slots, Ref* owned) {
  auto count = static_cast<Py_ssize_t>(shape.count);
  Py_ssize_t nargs = PyTuple_Size(args);
  if (nargs > count) {
    too_many_positional(shape, nargs);
    return false;
  }
  for (Py_ssize_t i = 0; i < nargs; ++i) slots[i] = PyTuple_GetItem(args, i);
  for (Py_ssize_t i = nargs; i < count; ++i) slots[i] = nullptr;
  if (kwargs) {
    Py_ssize_t pos = 0;
    PyObject *keyword, *value;
    while (PyDict_Next(kwargs, &pos, &keyword, &value)) {
      if (!place_keyword(shape, keyword, value, slots)) return false;
    }
  }
  if (!check_required(shape, slots)) return false;
  for (std::size_t i = 0; i < shape.count; ++i) owned[i] = Ref::borrow(slots[i]);
  return true;
}

bool intern_names(const std::string_view* params, std::size_t count, PyObject** interned) {
  for (std::size_t i = 0; i < count; ++i) {
    if (interned[i]) continue;
    PyObject* name = PyUnicode_FromStringAndSize(params[i].data(), static_cast<Py_ssize_t>(params[i].size()));
    if (!name) return false;
    PyUnicode_InternInPlace(&name);
    interned[i] = name;  // kept for the life of the process
  }
  return true;
}

}  // namespace brastel_python::binding
