#include "binding/module.h"

#include <cstdio>
#include <string>

namespace brastel_python::binding {

void class_creation_failed(std::string_view class_name) {
  FetchedError cause = FetchedError::fetch();
  std::string message = "An error occurred while initializing class ";
  message.append(class_name);
  Ref text = Ref::steal(PyUnicode_FromStringAndSize(message.data(), static_cast<Py_ssize_t>(message.size())));
  Ref error = text ? Ref::steal(PyObject_CallFunctionObjArgs(PyExc_RuntimeError, text.get(), nullptr)) : Ref();
  if (!error) return;
  if (cause.value) PyException_SetCause(error.get(), cause.value.release());
  PyErr_SetObject(PyExc_RuntimeError, error.get());
}

bool add_to_module(PyObject* module, PyObject* name, PyObject* value) {
  Ref all = Ref::steal(PyObject_GetAttrString(module, "__all__"));
  if (!all) {
    if (!PyErr_ExceptionMatches(PyExc_AttributeError)) return false;
    PyErr_Clear();
    all = Ref::steal(PyList_New(0));
    if (!all || PyObject_SetAttrString(module, "__all__", all.get()) < 0) return false;
  } else if (!PyList_Check(all.get())) {
    set_cast_error(all.get(), "list");
    return false;
  }
  if (PyList_Append(all.get(), name) < 0) {
    PyErr_Clear();
    throw brastel_compute::Panic("could not append __name__ to __all__");
  }
  return PyObject_SetAttr(module, name, value) == 0;
}

bool add_functions(PyObject* module, const FunctionTable* table) {
  if (!table) return false;
  Ref module_name = Ref::steal(PyModule_GetNameObject(module));
  if (!module_name) return false;
  for (std::size_t i = 0; i < table->count; ++i) {
    Ref function = Ref::steal(PyCFunction_NewEx(&table->defs[i], module, module_name.get()));
    if (!function) return false;
    Ref name = Ref::steal(PyObject_GetAttrString(function.get(), "__name__"));
    if (!name) return false;
    if (!PyUnicode_Check(name.get())) {
      set_cast_error(name.get(), "str");
      return false;
    }
    if (!add_to_module(module, name.get(), function.get())) return false;
  }
  return true;
}

namespace {

// Class objects belong to the process and serve one interpreter: the main
// one (id 0), whichever interpreter tries first.
bool main_interpreter() { return PyInterpreterState_GetID(PyInterpreterState_Get()) == 0; }

// An older interpreter can be made to load the module by hand, but lacks
// what its classes rely on (one without a constructor could be called, and
// its objects would hold no value): ImportError naming the version needed.
bool new_enough() {
  constexpr int kMajor = (Py_LIMITED_API >> 24) & 0xFF, kMinor = (Py_LIMITED_API >> 16) & 0xFF;
  // "3.9.18 (main, ...)": the interpreter's own, which no Python code can change.
  int major = 0, minor = 0;
  if (std::sscanf(Py_GetVersion(), "%d.%d", &major, &minor) == 2 &&
      (major > kMajor || (major == kMajor && minor >= kMinor))) {
    return true;
  }
  PyErr_Format(PyExc_ImportError, "_compute requires Python %d.%d or later", kMajor, kMinor);
  return false;
}

}  // namespace

bool check_module(PyObject* module) {
  if (!module) {
    if (!PyErr_Occurred()) {
      PyErr_SetString(PyExc_SystemError, "attempted to fetch exception but none was set");
    }
    return false;
  }
  if (!PyModule_Check(module)) {
    set_cast_error(module, "module");
    return false;
  }
  if (!new_enough()) return false;
  if (!main_interpreter()) {
    PyErr_SetString(PyExc_ImportError, "_compute can be imported only in the main interpreter");
    return false;
  }
  return find_runtime_finalizing() && panic_exception() != nullptr;
}

PyObject* json_result(conjure_object::JsonWriter& writer) {
  if (const auto& error = writer.error()) {
    bool too_deep = error->kind == conjure_object::WriteErrorKind::TooDeep;
    set_error(too_deep ? PyExc_RecursionError : PyExc_ValueError, error->message);
    return nullptr;
  }
  std::string_view json = writer.buffer();
  return PyUnicode_FromStringAndSize(json.data(), static_cast<Py_ssize_t>(json.size()));
}

}  // namespace brastel_python::binding
