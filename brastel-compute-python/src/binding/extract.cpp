#include "binding/extract.h"

namespace brastel_python::binding {

namespace {

// UTF-8 of a str whose lone surrogates (which UTF-8 cannot hold) become
// U+FFFD, one per character.
std::string lossy_utf8(PyObject* text) {
  Py_ssize_t size = 0;
  if (const char* utf8 = PyUnicode_AsUTF8AndSize(text, &size)) {
    return std::string(utf8, static_cast<std::size_t>(size));
  }
  discard_error();
  Ref bytes = Ref::steal(PyUnicode_AsEncodedString(text, "utf-8", "surrogatepass"));
  if (!bytes) throw ErrorAlreadySet{};
  char* data = nullptr;
  if (PyBytes_AsStringAndSize(bytes.get(), &data, &size) < 0) throw ErrorAlreadySet{};
  std::string out;
  out.reserve(static_cast<std::size_t>(size));
  for (Py_ssize_t i = 0; i < size; ++i) {
    auto byte = static_cast<unsigned char>(data[i]);
    auto next = i + 1 < size ? static_cast<unsigned char>(data[i + 1]) : 0;
    // A surrogate is ED A0..BF xx in the surrogatepass encoding.
    if (byte == 0xED && next >= 0xA0 && i + 2 < size) {
      out.append("\xEF\xBF\xBD");
      i += 2;
    } else {
      out.push_back(static_cast<char>(byte));
    }
  }
  return out;
}

// The text of one exception for a union's message: "Type: str()".
std::string render_one(PyObject* error) {
  std::string out = type_qualname(error) + ": ";
  Ref text = Ref::steal(PyObject_Str(error));
  Py_ssize_t size = 0;
  const char* utf8 = text ? PyUnicode_AsUTF8AndSize(text.get(), &size) : nullptr;
  if (utf8) {
    out.append(utf8, static_cast<std::size_t>(size));
  } else {
    discard_error();
    out.append("<exception str() failed>");
  }
  return out;
}

// The exception and each of its causes, joined by ", caused by ".
std::string render_chain(PyObject* error) {
  std::string out = render_one(error);
  std::vector<PyObject*> seen{error};
  Ref cause = Ref::steal(PyException_GetCause(error));
  while (cause && std::find(seen.begin(), seen.end(), cause.get()) == seen.end()) {
    out.append(", caused by ").append(render_one(cause.get()));
    seen.push_back(cause.get());
    cause = Ref::steal(PyException_GetCause(cause.get()));
  }
  return out;
}

}  // namespace

bool has_number_slot(PyObject* object, int slot) {
  // GetSlot reads static types too from 3.10 on, and never raises for them.
  return PyType_GetSlot(Py_TYPE(object), slot) != nullptr;
}

std::string enum_argument_text(PyObject* object) {
  Ref text = Ref::steal(PyObject_Str(object));
  if (text) return lossy_utf8(text.get());
  propagate_interrupt();
  PyErr_WriteUnraisable(object);
  Ref name = Ref::steal(PyObject_GetAttrString(reinterpret_cast<PyObject*>(Py_TYPE(object)), "__name__"));
  Py_ssize_t size = 0;
  const char* utf8 = name && PyUnicode_Check(name.get()) ? PyUnicode_AsUTF8AndSize(name.get(), &size) : nullptr;
  if (!utf8) {
    discard_error();
    return "<unprintable object>";
  }
  return "<unprintable " + std::string(utf8, static_cast<std::size_t>(size)) + " object>";
}

void set_enum_error(std::string_view text, std::string_view enum_name, std::string_view parse_error) {
  std::string message = "Failed to convert '";
  message.append(text).append("' to ").append(enum_name).append(" enum: ").append(parse_error);
  set_error(PyExc_ValueError, message);
}

Py_ssize_t list_length_hint(PyObject* object) {
  if (PyUnicode_Check(object)) {
    PyErr_SetString(PyExc_TypeError, "Can't extract `str` to `Vec`");
    return -1;
  }
  if (!PySequence_Check(object)) {
    set_cast_error(object, "Sequence");
    return -1;
  }
  Py_ssize_t size = PyObject_Size(object);
  if (size < 0) {
    discard_error();
    return 0;
  }
  return size;
}

void dict_changed_size() { throw brastel_compute::Panic("dictionary changed size during iteration"); }

void dict_keys_changed() { throw brastel_compute::Panic("dictionary keys changed during iteration"); }

void raise_union_error(std::string_view union_name, const std::string_view* variant_names, Ref* errors,
                       std::size_t count) {
  std::string message = "failed to extract enum ";
  message.append(union_name).append(" ('");
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) message.append(" | ");
    message.append(variant_names[i]);
  }
  message.append("')");
  for (std::size_t i = 0; i < count; ++i) {
    std::string_view variant = variant_names[i];
    message.append("\n- variant ").append(variant).append(" (").append(variant).append("): ");
    message.append("TypeError: failed to extract field ").append(union_name).append("::").append(variant);
    message.append(".0");
    if (errors[i]) message.append(", caused by ").append(render_chain(errors[i].get()));
  }
  set_error(PyExc_TypeError, message);
}

}  // namespace brastel_python::binding
