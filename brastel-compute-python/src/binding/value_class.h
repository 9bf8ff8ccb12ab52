// The one value-class pattern: a Python object that holds one immutable C++
// value (an object-model node or a builder's pending inputs), never changed
// after it is made. Our values are immutable handles whose copy is O(1) and
// which nothing ever borrows exclusively, so objects carry no borrow counter.
#pragma once

#include <cstddef>
#include <new>
#include <string_view>
#include <type_traits>
#include <utility>

#include "binding/errors.h"
#include "binding/fixed_string.h"
#include "conjure_object/sanitizer.h"
#include "python.h"

namespace brastel_python::binding {

// A Python class holding values of type V, registered as "_compute.<Name>".
// A class is declared by deriving from it:
//   struct WrappedDuration : ValueClass<"Duration", objects::Duration> { static PyType_Spec* spec(); };
template <FixedString Name, class V>
struct ValueClass {
  using Value = V;
  static constexpr FixedString python_name = Name;
  static constexpr std::string_view name = python_name.view();
  static constexpr FixedString type_name = FixedString("_compute.") + Name;
  // Made once per process, at registration; never released.
  static inline PyTypeObject* type = nullptr;

  static_assert(std::is_nothrow_move_constructible_v<V>, "a held value must move without throwing");
};

// The value of an object of class C, where the value type alone does not
// tell the class (several classes hold an AggregationBuilder): as a
// parameter it accepts objects of C only; as a result it makes one.
template <class C>
struct Held {
  typename C::Value value;
};

// Which class holds values of type V: specialized by the module's class
// list (type = the one class); void where no class holds V.
template <class V>
struct ClassOfValue {
  using type = void;
};

template <class V>
concept HasClass = !std::is_void_v<typename ClassOfValue<V>::type>;

// Object layout: the header of the stable ABI, then the value.
template <class V>
inline constexpr std::size_t kValueOffset = (sizeof(PyObject) + alignof(V) - 1) / alignof(V) * alignof(V);

template <class V>
inline constexpr std::size_t kObjectSize = kValueOffset<V> + sizeof(V);

// Whether the object is of class C. Our classes cannot be subclassed (no
// Py_TPFLAGS_BASETYPE), so that is one compare of its type, never a walk
// of the type's bases.
template <class C>
bool is_instance(PyObject* object) noexcept {
  return Py_TYPE(object) == C::type;
}

template <class C>
const typename C::Value& value_of(PyObject* object) noexcept {
  using V = typename C::Value;
  return *std::launder(reinterpret_cast<const V*>(reinterpret_cast<char*>(object) + kValueOffset<V>));
}

inline constexpr bool kKeepObjectMemory = !conjure_object::kAddressSanitizer;

// The memory of freed objects of one size, kept for the next object of that
// size: a call makes an object and its discarded result frees one, and
// pymalloc's own bookkeeping for that costs more than the rest of the
// allocation. Objects are made and freed with the interpreter lock held, so
// one list per size serves. (Off under AddressSanitizer, which must see
// every block freed.)
template <std::size_t Size>
struct ObjectMemory {
  struct Block {
    Block* next;
  };
  static inline Block* free = nullptr;
  static inline unsigned count = 0;
  static constexpr unsigned kMax = 256;

  static void* take() noexcept {
    if (kKeepObjectMemory && free) {
      Block* b = free;
      free = b->next;
      --count;
      return b;
    }
    return PyObject_Malloc(Size);
  }
  static void give(void* memory) noexcept {
    if (kKeepObjectMemory && count < kMax) {
      auto* b = static_cast<Block*>(memory);
      b->next = free;
      free = b;
      ++count;
      return;
    }
    PyObject_Free(memory);
  }
};

// A new object of class C holding v; null with the error set (MemoryError)
// if it cannot be allocated, the value then being dropped.
template <class C>
PyObject* make_object(typename C::Value&& v) {
  using V = typename C::Value;
  // Our classes are neither GC-tracked nor variable-sized, so the object is
  // plain object memory with its header set (which also takes the
  // reference a heap type's instance holds on its type).
  PyObject* object = static_cast<PyObject*>(ObjectMemory<kObjectSize<V>>::take());
  if (!object) return PyErr_NoMemory();
  PyObject_Init(object, C::type);
  new (reinterpret_cast<char*>(object) + kValueOffset<V>) V(std::move(v));
  return object;
}

template <class V>
void dealloc_object(PyObject* object) noexcept {
  std::launder(reinterpret_cast<V*>(reinterpret_cast<char*>(object) + kValueOffset<V>))->~V();
  PyTypeObject* type = Py_TYPE(object);
  ObjectMemory<kObjectSize<V>>::give(object);  // the memory of make_object
  // A heap type is owned by its instances.
  Py_DECREF(type);
}

}  // namespace brastel_python::binding

namespace brastel_python::binding {

// The module's classes in registration order.
template <class... Cs>
struct ClassList {};

// How many classes of a list hold values of type V, and the first of them.
template <class V, class List>
struct HoldersOf;

template <class V>
struct HoldersOf<V, ClassList<>> {
  static constexpr std::size_t count = 0;
  using first = void;
};

template <class V, class C, class... Cs>
struct HoldersOf<V, ClassList<C, Cs...>> {
  using Rest = HoldersOf<V, ClassList<Cs...>>;
  static constexpr bool here = std::is_same_v<typename C::Value, V>;
  static constexpr std::size_t count = (here ? 1 : 0) + Rest::count;
  using first = std::conditional_t<here, C, typename Rest::first>;
};

}  // namespace brastel_python::binding
