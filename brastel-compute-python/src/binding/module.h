// Registration: class objects made once per process, the module's names and
// its __all__.
#pragma once

#include "binding/binding.h"
#include "binding/ref.h"
#include "binding/value_class.h"
#include "python.h"

namespace brastel_python::binding {

// Raises RuntimeError "An error occurred while initializing class {}" with
// the pending error as its cause.
void class_creation_failed(std::string_view class_name);

// The class object of C, made from C::spec() on first need and kept for the
// life of the process; null with the error set if it cannot be made.
template <class C>
PyTypeObject* class_object() {
  if (!C::type) {
    PyType_Spec* spec = C::spec();
    PyObject* type = spec ? PyType_FromSpec(spec) : nullptr;
    if (!type) {
      class_creation_failed(C::name);
      return nullptr;
    }
    // Making the type may run Python code (a collection) that made it first.
    if (C::type) {
      Py_DECREF(type);
    } else {
      C::type = reinterpret_cast<PyTypeObject*>(type);
    }
  }
  return C::type;
}

// Appends name to the module's __all__ (made if missing) and sets the
// attribute. False with the error set.
bool add_to_module(PyObject* module, PyObject* name, PyObject* value);

template <class C>
bool add_class(PyObject* module) {
  PyTypeObject* type = class_object<C>();
  if (!type) return false;
  Ref name = Ref::steal(PyUnicode_FromStringAndSize(C::name.data(), static_cast<Py_ssize_t>(C::name.size())));
  return name && add_to_module(module, name.get(), reinterpret_cast<PyObject*>(type));
}

template <class... Cs>
bool add_classes(PyObject* module, ClassList<Cs...>) {
  return (add_class<Cs>(module) && ...);
}

// Adds each function of the table as a built-in bound to the module.
bool add_functions(PyObject* module, const FunctionTable* table);

// The exec step's checks before anything is added: a module object, in the
// main interpreter, its finalizing state found (interpreter_exit.h), and the
// panic exception made.
bool check_module(PyObject* module);

}  // namespace brastel_python::binding
