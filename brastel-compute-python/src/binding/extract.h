// Coercion of one Python argument into a C++ value, chosen by the C++ type:
// Extract<T>::from(object) returns the value, or nothing with the Python
// error set; an interrupt met on the way throws ErrorAlreadySet, so that it
// reaches the call's boundary unchanged (errors.h, propagate_interrupt). A
// parameter type without an Extract does not compile.
//
//   double                      a number (anything PyFloat_AsDouble takes)
//   std::int64_t                an integer (anything PyLong_AsLong takes)
//   std::string                 a str or subclass, as UTF-8
//   a held value type V         an object of the one class holding V (copied)
//   Held<C>                     an object of class C
//   InputUnion<...>             the first variant that extracts, else one
//                               TypeError listing why each failed
//   brastel_compute::Enum<...>  (text-named) str() of any object, parsed
//   std::vector<T>              a sequence other than str, element by element
//   std::vector<std::pair<std::string, T>>
//                               a dict with str keys, in the dict's order
//   objects::Series             a Categorical, Numeric or Struct series object
//                               (classes/inputs.h)
// Parameters declared "=None" are std::optional<T>: omitted or None is
// absent, anything else goes through Extract<T>.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "binding/errors.h"
#include "binding/fixed_string.h"
#include "binding/ref.h"
#include "binding/value_class.h"
#include "brastel_compute/enums.h"
#include "python.h"

namespace brastel_python::binding {

template <class T>
struct Extract;

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};

// An extractor that can tell cheaply, without raising, that an object is
// not for it (a class check); input unions use it to skip making errors
// that a later variant would make moot.
template <class E>
concept QuickCheck = requires(PyObject* o) {
  { E::matches(o) } -> std::same_as<bool>;
};

// Whether the object's type fills the number slot (nb_float, nb_index).
bool has_number_slot(PyObject* object, int slot);

// Quick checks tell, without raising, whether the conversion can take the
// object at all: a failed conversion builds an exception that an input
// union would only drop again when a later variant takes the object.
template <>
struct Extract<double> {
  // What PyFloat_AsDouble takes: a float, or any type with __float__ or
  // __index__ (an int among them).
  static bool matches(PyObject* object) {
    return PyFloat_Check(object) || PyLong_Check(object) || has_number_slot(object, Py_nb_float) ||
           has_number_slot(object, Py_nb_index);
  }
  static std::optional<double> from(PyObject* object) {
    double value = PyFloat_AsDouble(object);
    if (value == -1.0 && PyErr_Occurred()) return std::nullopt;
    return value;
  }
};

template <>
struct Extract<std::int64_t> {
  // What PyLong_AsLong takes: an int, or any type with __index__.
  static bool matches(PyObject* object) { return PyLong_Check(object) || has_number_slot(object, Py_nb_index); }
  static std::optional<std::int64_t> from(PyObject* object) {
    static_assert(sizeof(long) == 8 || sizeof(long long) == 8);
    std::int64_t value;
    if constexpr (sizeof(long) == 8) {
      value = PyLong_AsLong(object);
    } else {
      value = PyLong_AsLongLong(object);
    }
    if (value == -1 && PyErr_Occurred()) return std::nullopt;
    return value;
  }
};

template <>
struct Extract<std::string> {
  static bool matches(PyObject* object) { return PyUnicode_Check(object); }
  static std::optional<std::string> from(PyObject* object) {
    if (!PyUnicode_Check(object)) {
      set_cast_error(object, "str");
      return std::nullopt;
    }
    Py_ssize_t size = 0;
    const char* utf8 = PyUnicode_AsUTF8AndSize(object, &size);
    if (!utf8) return std::nullopt;
    return std::string(utf8, static_cast<std::size_t>(size));
  }
};

template <class V>
  requires HasClass<V>
struct Extract<V> {
  using Class = typename ClassOfValue<V>::type;
  static bool matches(PyObject* object) { return is_instance<Class>(object); }
  static std::optional<V> from(PyObject* object) {
    if (!matches(object)) {
      set_cast_error(object, Class::name);
      return std::nullopt;
    }
    return value_of<Class>(object);
  }
};

template <class C>
struct Extract<Held<C>> {
  static bool matches(PyObject* object) { return is_instance<C>(object); }
  static std::optional<Held<C>> from(PyObject* object) {
    if (!matches(object)) {
      set_cast_error(object, C::name);
      return std::nullopt;
    }
    return Held<C>{value_of<C>(object)};
  }
};

// ---- text-named enums

// str() of the object as UTF-8, characters that cannot be encoded replaced by
// U+FFFD; if str() raises, the error goes to the unraisable hook and the
// text is "<unprintable {type} object>" (an interrupt propagates instead).
std::string enum_argument_text(PyObject* object);

// ValueError "Failed to convert '{}' to {Enum} enum: {}".
void set_enum_error(std::string_view text, std::string_view enum_name, std::string_view parse_error);

template <class Def>
  requires brastel_compute::enum_defs::TextNamed<Def>
struct Extract<brastel_compute::Enum<Def>> {
  using E = brastel_compute::Enum<Def>;
  static std::optional<E> from(PyObject* object) {
    // An exact str, the common case, is its own str(): matched in place.
    if (PyUnicode_CheckExact(object)) {
      Py_ssize_t size = 0;
      if (const char* utf8 = PyUnicode_AsUTF8AndSize(object, &size)) {
        if (std::optional<E> found = E::find(std::string_view(utf8, static_cast<std::size_t>(size)))) return found;
      } else {
        discard_error();  // lone surrogates: the text below replaces them
      }
    }
    std::string text = enum_argument_text(object);
    auto parsed = E::try_from(text);
    if (!parsed) {
      set_enum_error(text, Def::kName, parsed.error().message);
      return std::nullopt;
    }
    return parsed.value();
  }
};

// ---- lists and dicts

// Checks that an object may be read as a list (a sequence, not a str);
// returns its length hint, or -1 with the TypeError set.
Py_ssize_t list_length_hint(PyObject* object);

// A sequence other than a str, element by element in order, each item made
// by read(PyObject*) -> std::optional<Item>; nothing with the error set at
// the first failure.
template <class Item, class Read>
std::optional<std::vector<Item>> read_list(PyObject* object, Read read) {
  // The items read so far are held while the next is read, which may run
  // Python code.
  ExitSafe<std::vector<Item>> out;
  // Exact lists and tuples by index, as their iterators read them (a list
  // changed meanwhile ends where its size now says), without making one.
  bool list = PyList_CheckExact(object);
  if (list || PyTuple_CheckExact(object)) {
    out->reserve(static_cast<std::size_t>(list ? PyList_Size(object) : PyTuple_Size(object)));
    for (Py_ssize_t i = 0; i < (list ? PyList_Size(object) : PyTuple_Size(object)); ++i) {
      // Reading may run Python code: hold the item meanwhile.
      Ref item = Ref::borrow(list ? PyList_GetItem(object, i) : PyTuple_GetItem(object, i));
      std::optional<Item> value = read(item.get());
      if (!value) return std::nullopt;
      out->push_back(std::move(*value));
    }
    return std::move(*out);
  }
  Py_ssize_t hint = list_length_hint(object);
  if (hint < 0) return std::nullopt;
  // A __len__ may lie; it only sizes the first allocation.
  out->reserve(static_cast<std::size_t>(hint < 4096 ? hint : 4096));
  Ref iterator = Ref::steal(PyObject_GetIter(object));
  if (!iterator) return std::nullopt;
  while (Ref item = Ref::steal(PyIter_Next(iterator.get()))) {
    std::optional<Item> value = read(item.get());
    if (!value) return std::nullopt;
    out->push_back(std::move(*value));
  }
  if (PyErr_Occurred()) return std::nullopt;
  return std::move(*out);
}

template <class T>
struct Extract<std::vector<T>> {
  static std::optional<std::vector<T>> from(PyObject* object) { return read_list<T>(object, &Extract<T>::from); }
};

// After a walk met str subclasses that compare unlike their text, one text
// may come twice: keep the first place and the later value.
template <class T>
void merge_repeated_keys(std::vector<std::pair<std::string, T>>& entries);

// Extraction may run Python code that changes the dict being read: a panic.
[[noreturn]] void dict_changed_size();
[[noreturn]] void dict_keys_changed();

template <class T>
struct Extract<std::vector<std::pair<std::string, T>>> {
  static std::optional<std::vector<std::pair<std::string, T>>> from(PyObject* object) {
    if (!PyDict_Check(object)) {
      set_cast_error(object, "dict");
      return std::nullopt;
    }
    Py_ssize_t size = PyDict_Size(object);
    // Held while the next entry is read, which may run Python code.
    ExitSafe<std::vector<std::pair<std::string, T>>> out;
    out->reserve(static_cast<std::size_t>(size));
    bool exact_keys = true;
    Py_ssize_t pos = 0;
    Py_ssize_t visited = 0;
    PyObject *k, *v;
    for (;;) {
      if (PyDict_Size(object) != size) dict_changed_size();
      if (!PyDict_Next(object, &pos, &k, &v)) break;
      if (++visited > size) dict_keys_changed();
      // Extraction may run Python code: hold the entry meanwhile.
      Ref key = Ref::borrow(k), value = Ref::borrow(v);
      std::optional<std::string> text = Extract<std::string>::from(key.get());
      if (!text) return std::nullopt;
      std::optional<T> item = Extract<T>::from(value.get());
      if (!item) return std::nullopt;
      exact_keys = exact_keys && PyUnicode_CheckExact(key.get());
      out->emplace_back(std::move(*text), std::move(*item));
    }
    if (!exact_keys) merge_repeated_keys(*out);
    return std::move(*out);
  }
};

template <class T>
void merge_repeated_keys(std::vector<std::pair<std::string, T>>& entries) {
  std::vector<std::pair<std::string, T>> merged;
  merged.reserve(entries.size());
  for (auto& entry : entries) {
    auto same = std::find_if(merged.begin(), merged.end(), [&](const auto& m) { return m.first == entry.first; });
    if (same == merged.end()) {
      merged.push_back(std::move(entry));
    } else {
      same->second = std::move(entry.second);
    }
  }
  entries = std::move(merged);
}

// ---- input unions

template <FixedString Name, class T>
struct Variant {
  using type = T;
  static constexpr FixedString name = Name;
};

// A tagged value that a plain Python value may stand for: the variants are
// tried in order and the first that extracts is taken; an interrupt raised
// while trying one ends the extraction.
//   using StringConstantInput = InputUnion<"StringConstantInput",
//       Variant<"Wrapped", objects::StringConstant>, Variant<"String", std::string>>;
template <FixedString Name, class... Vs>
struct InputUnion {
  static constexpr FixedString union_name = Name;
  static constexpr std::array<std::string_view, sizeof...(Vs)> variant_names{Vs::name.view()...};
  using Alternatives = std::tuple<Vs...>;
  using Storage = std::variant<typename Vs::type...>;
  Storage value;
};

template <class U>
concept InputUnionType = requires { typename U::Alternatives; U::union_name; };

// Raises the combined TypeError of a union none of whose variants took the
// object; errors[i] is the exception of variant i.
void raise_union_error(std::string_view union_name, const std::string_view* variant_names, Ref* errors,
                       std::size_t count);

template <class U>
  requires InputUnionType<U>
struct Extract<U> {
  static constexpr std::size_t N = std::tuple_size_v<typename U::Alternatives>;
  template <std::size_t I>
  using Alt = typename std::tuple_element_t<I, typename U::Alternatives>::type;

  static std::optional<U> from(PyObject* object) {
    std::optional<U> out;
    // An object of one of the module's classes goes to the variant of its
    // class at once: no earlier variant could take it (none of the classes
    // is a number or a str), so trying them in order ends there too.
    if ([&]<std::size_t... I>(std::index_sequence<I...>) {
          return (take_object<I>(object, out) || ...);
        }(std::make_index_sequence<N>{})) {
      return out;
    }
    std::array<Ref, N> errors;
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      (try_variant<I>(object, out, errors[I]) || ...);
    }(std::make_index_sequence<N>{});
    if (out) return out;
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      (explain_variant<I>(object, errors[I]), ...);
    }(std::make_index_sequence<N>{});
    raise_union_error(U::union_name.view(), U::variant_names.data(), errors.data(), N);
    return std::nullopt;
  }

 private:
  template <std::size_t I>
  static bool take_object(PyObject* object, std::optional<U>& out) {
    if constexpr (HasClass<Alt<I>>) {
      if (Extract<Alt<I>>::matches(object)) {
        out.emplace(U{typename U::Storage(std::in_place_index<I>, value_of<typename ClassOfValue<Alt<I>>::type>(object))});
        return true;
      }
    }
    return false;
  }

  template <std::size_t I>
  static bool try_variant(PyObject* object, std::optional<U>& out, Ref& error) {
    if constexpr (QuickCheck<Extract<Alt<I>>>) {
      if (!Extract<Alt<I>>::matches(object)) return false;  // explained only if needed
    }
    std::optional<Alt<I>> value = Extract<Alt<I>>::from(object);
    if (value) {
      out.emplace(U{typename U::Storage(std::in_place_index<I>, std::move(*value))});
      return true;
    }
    propagate_interrupt();
    error = FetchedError::fetch().value;
    return false;
  }

  // Makes the error of a variant skipped by its quick check.
  template <std::size_t I>
  static void explain_variant(PyObject* object, Ref& error) {
    if (error) return;
    std::optional<Alt<I>> value = Extract<Alt<I>>::from(object);
    if (!value) {
      propagate_interrupt();
      error = FetchedError::fetch().value;
    }
  }
};

}  // namespace brastel_python::binding
