#include "binding/errors.h"

#include <unistd.h>
#include <sys/syscall.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

namespace brastel_python::binding {

void set_error(PyObject* type, std::string_view message) {
  Ref text = Ref::steal(PyUnicode_FromStringAndSize(message.data(), static_cast<Py_ssize_t>(message.size())));
  if (text) PyErr_SetObject(type, text.get());
}

void propagate_interrupt() {
  if (PyErr_ExceptionMatches(PyExc_KeyboardInterrupt) || PyErr_ExceptionMatches(PyExc_SystemExit) ||
      PyErr_ExceptionMatches(PyExc_MemoryError)) {
    throw ErrorAlreadySet{};
  }
}

void discard_error() {
  propagate_interrupt();
  PyErr_Clear();
}

std::string type_qualname(PyObject* object) {
  Ref name = Ref::steal(PyObject_GetAttrString(reinterpret_cast<PyObject*>(Py_TYPE(object)), "__qualname__"));
  Py_ssize_t size = 0;
  const char* utf8 = name && PyUnicode_Check(name.get()) ? PyUnicode_AsUTF8AndSize(name.get(), &size) : nullptr;
  if (!utf8) {
    discard_error();
    return {};
  }
  return std::string(utf8, static_cast<std::size_t>(size));
}

void set_cast_error(PyObject* object, std::string_view class_name) {
  std::string message = "'";
  if (object == Py_None) {
    message.append("None' is not an instance of '");
  } else {
    message.append(type_qualname(object)).append("' object is not an instance of '");
  }
  message.append(class_name).append("'");
  set_error(PyExc_TypeError, message);
}

void note_parameter(std::string_view name) {
  FetchedError error = FetchedError::fetch();
  if (error.value) {
    std::string text = "while processing '";
    text.append(name).append("'");
    Ref note = Ref::steal(PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size())));
    Ref done = note ? Ref::steal(PyObject_CallMethod(error.value.get(), "add_note", "O", note.get())) : Ref();
    // No add_note (3.10) or a failing one: the exception goes as it is.
    if (!done) PyErr_Clear();
  }
  error.restore();
}

namespace {

PyObject* panic_type = nullptr;

// The runtime's default panic report: thread name, thread id, location,
// message. Formatted without allocating, so it cannot fail halfway.
void write_panic_report(const brastel_compute::Panic& panic) noexcept {
  long tid = static_cast<long>(::syscall(SYS_gettid));
  const char* thread = tid == static_cast<long>(::getpid()) ? "main" : "<unnamed>";
  const brastel_compute::SourceLocation& at = panic.where();
  std::fprintf(stderr, "thread '%s' (%ld) panicked at %s:%u:%u:\n%s\n", thread, tid, at.file, at.line, at.column,
               panic.what());
  std::fflush(stderr);
}

}  // namespace

PyObject* panic_exception() {
  if (!panic_type) {
    panic_type = PyErr_NewException("pyo3_runtime.PanicException", PyExc_BaseException, nullptr);
  }
  return panic_type;
}

void raise_panic(const brastel_compute::Panic& panic) {
  write_panic_report(panic);
  PyObject* type = panic_exception();
  if (type) set_error(type, panic.what());
}

void translate_current_exception() {
  try {
    throw;
  } catch (const ErrorAlreadySet&) {
    if (!PyErr_Occurred()) {
      PyErr_SetString(PyExc_SystemError, "attempted to fetch exception but none was set");
    }
  } catch (const PythonException& e) {
    set_error(e.type, e.message);
  } catch (const brastel_compute::Panic& panic) {
    raise_panic(panic);
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& e) {
    set_error(PyExc_SystemError, e.what());
  } catch (...) {
    PyErr_SetString(PyExc_SystemError, "unexpected C++ exception");
  }
}

}  // namespace brastel_python::binding
