// The binding layer: how C++ functions become Python classes, methods and
// module functions. Each is declared by one line.
//
// A class is declared in classes/classes.h by its Python name and the C++
// value its objects hold, and placed in AllClasses (the registration order):
//
//   struct WrappedDuration : ValueClass<"Duration", objects::Duration> { static PyType_Spec* spec(); };
//
// Its spec(), in its family's file under classes/, lists the method table in
// order (to_json last where the class has it):
//
//   PyType_Spec* WrappedDuration::spec() {
//     return class_spec<WrappedDuration>(
//         static_method<"Days(days)", &duration_days>,           // a static factory
//         method<"shift($self, by, unit=None)", &duration_shift>,  // an instance method
//         slot<Py_nb_negative, &duration_negative>,               // a raw CPython slot
//         to_json);
//   }
//
// A module function is one line in module_functions.cpp:
//
//   function<"atan2(y, x)", &wrapped_atan2>,
//
// The text signature is the whole Python side: the name, "$self" first for
// an instance method, the parameters (each by position or keyword), "=None"
// for an optional one. The compiler checks it against the C++ function: one
// C++ parameter per Python parameter, after the receiver (the class's Value,
// by value or const&) for an instance method; std::optional<T> exactly for
// the "=None" ones. Each parameter's C++ type picks its coercion (see
// binding/extract.h: double, std::int64_t, std::string, a held value type,
// Held<Class>, the input unions, text-named enums, std::vector<T>, dicts as
// std::vector<std::pair<std::string, T>>). The return type picks the class
// of the new object: the one class that holds that type, or Held<Class>
// where several do (the aggregation builders); a Ref or std::string is
// returned as it is. The shape is fixed here: no parameters -> METH_NOARGS,
// else METH_FASTCALL | METH_KEYWORDS; static factories add METH_STATIC. constructor<"RangeMap(output, start=None, end=None)",
// &make> makes a class callable.
//
// The C++ function may throw: PythonException{PyExc_ValueError, text} raises
// that exception, brastel_compute::Panic becomes PanicException; every call
// has one boundary (guarded, errors.h). A raw slot function wraps its body
// in guarded itself.
//
// Operators are declared the same way, typed by their operands
// (binding/operators.h): unary_operator<Py_nb_negative, &negate>,
// binary_operator<Py_nb_add, &add, reflected>, rich_comparison<&lt, ...>.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "binding/arguments.h"
#include "binding/errors.h"
#include "binding/extract.h"
#include "binding/fixed_string.h"
#include "binding/ref.h"
#include "binding/signature.h"
#include "binding/value_class.h"
#include "conjure_object/json_writer.h"
#include "python.h"

namespace brastel_python::binding {

namespace detail {

template <class F>
struct FunctionTraits;
template <class R, class... A>
struct FunctionTraits<R (*)(A...)> {
  using Result = R;
  using Params = std::tuple<std::remove_cvref_t<A>...>;
};
template <class R, class... A>
struct FunctionTraits<R (*)(A...) noexcept> : FunctionTraits<R (*)(A...)> {};

template <class T>
struct IsHeld : std::false_type {};
template <class C>
struct IsHeld<Held<C>> : std::true_type {
  using Class = C;
};

// A result as a new Python object.
template <class R>
PyObject* to_python(R&& result) {
  using T = std::remove_cvref_t<R>;
  if constexpr (IsHeld<T>::value) {
    return make_object<typename IsHeld<T>::Class>(std::move(result.value));
  } else if constexpr (std::is_same_v<T, Ref>) {
    return result.release();
  } else if constexpr (std::is_same_v<T, std::string>) {
    return PyUnicode_FromStringAndSize(result.data(), static_cast<Py_ssize_t>(result.size()));
  } else {
    static_assert(HasClass<T>, "no Python class holds this result type; return Held<Class>");
    return make_object<typename ClassOfValue<T>::type>(std::move(result));
  }
}

// One argument into its parameter's value: Extract<P>, or for an optional
// parameter nothing when omitted or None.
template <class P>
std::optional<P> extract_parameter(PyObject* argument) {
  if constexpr (IsOptional<P>::value) {
    if (!argument || argument == Py_None) return P();
    auto value = Extract<typename P::value_type>::from(argument);
    if (!value) return std::nullopt;
    return P(std::move(*value));
  } else {
    return Extract<P>::from(argument);
  }
}

template <class Owner, class Params>
constexpr bool receiver_is_value() {
  if constexpr (std::tuple_size_v<Params> == 0) {
    return false;
  } else {
    return std::is_same_v<std::tuple_element_t<0, Params>, typename Owner::Value>;
  }
}

}  // namespace detail

enum class CallKind { Static, Instance, Function, Constructor };

// The owner of a module function: no class name in its messages.
struct ModuleFunctions {
  static constexpr std::string_view name = "";
};

// Interned parameter names, one set per signature text.
template <FixedString Sig>
struct InternedNames {
  static inline PyObject* names[kMaxParameters] = {};
  static bool prepare() {
    const ParsedSignature& p = Signature<Sig>::parsed;
    return intern_names(p.params.data(), p.count, names);
  }
};

// Everything of one callable: matching, extraction in parameter order, the
// call, the result object; one exception boundary.
template <class Owner, FixedString Sig, auto F, CallKind Kind>
struct Dispatch {
  using S = Signature<Sig>;
  static constexpr const ParsedSignature& sig = S::parsed;
  static constexpr bool with_self = Kind == CallKind::Instance;
  using Traits = detail::FunctionTraits<decltype(F)>;
  using AllParams = typename Traits::Params;
  static constexpr std::size_t kSkip = with_self ? 1 : 0;
  static constexpr std::size_t kCount = std::tuple_size_v<AllParams> - kSkip;

  static_assert(sig.has_self == with_self, "an instance method's signature starts with $self; no other does");
  static_assert(kCount == sig.count, "the C++ function takes one parameter per Python parameter");

  template <std::size_t I>
  using Param = std::tuple_element_t<I + kSkip, AllParams>;

  static_assert(
      [] {
        return []<std::size_t... I>(std::index_sequence<I...>) {
          return ((IsOptional<Param<I>>::value == (I >= sig.required)) && ...);
        }(std::make_index_sequence<kCount>{});
      }(),
      "exactly the \"=None\" parameters are std::optional");
  static_assert(
      [] {
        if constexpr (with_self) {
          return detail::receiver_is_value<Owner, AllParams>();
        } else {
          return true;
        }
      }(),
      "an instance method's first C++ parameter is the class's value");

  static constexpr std::string_view call_name = Kind == CallKind::Constructor ? "__new__" : sig.name;
  static constexpr CallShape shape{Owner::name, call_name, sig.params.data(), sig.count, sig.required,
                                   InternedNames<Sig>::names};

  // Extracts argument I, then the rest, then calls F with all of them: each
  // value is made once and moved into F. The first failure ends the call,
  // its error noted with the parameter's name (an interrupt goes unchanged).
  template <std::size_t I = 0, class... Done>
  static PyObject* invoke(PyObject* self, PyObject* const* slots, Done&&... done) {
    if constexpr (I == kCount) {
      if constexpr (with_self) {
        return detail::to_python(F(value_of<Owner>(self), std::forward<Done>(done)...));
      } else {
        return detail::to_python(F(std::forward<Done>(done)...));
      }
    } else {
      // Held while the later arguments are extracted, which may run Python.
      ExitSafe<std::optional<Param<I>>> value([&] { return detail::extract_parameter<Param<I>>(slots[I]); });
      if (!*value) {
        propagate_interrupt();
        note_parameter(sig.params[I]);
        return nullptr;
      }
      return invoke<I + 1>(self, slots, std::forward<Done>(done)..., std::move(**value));
    }
  }

  static PyObject* fastcall(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return guarded([&]() -> PyObject* {
      // All given by position: the arguments are the slots.
      if (!kwnames && nargs == static_cast<Py_ssize_t>(kCount)) return invoke(self, args);
      PyObject* slots[kCount > 0 ? kCount : 1];
      if (!match_arguments(shape, args, nargs, kwnames, slots)) return nullptr;
      return invoke(self, slots);
    });
  }

  static PyObject* noargs(PyObject* self, PyObject*) {
    return guarded([&] { return invoke(self, nullptr); });
  }

  static PyObject* tp_new(PyTypeObject*, PyObject* args, PyObject* kwargs) {
    return guarded([&]() -> PyObject* {
      PyObject* slots[kCount > 0 ? kCount : 1];
      Ref owned[kCount > 0 ? kCount : 1];
      if (!match_tuple_arguments(shape, args, kwargs, slots, owned)) return nullptr;
      return invoke(nullptr, slots);
    });
  }

  static PyMethodDef method_def() {
    using Fast = PyObject* (*)(PyObject*, PyObject* const*, Py_ssize_t, PyObject*);
    // Module functions are bound to the module (their __self__), so they
    // take no METH_STATIC: CPython would hide the module behind it.
    int flags = Kind == CallKind::Static || Kind == CallKind::Constructor ? METH_STATIC : 0;
    PyCFunction function;
    if (kCount == 0 && Kind != CallKind::Function) {
      flags |= METH_NOARGS;
      function = &noargs;
    } else {
      flags |= METH_FASTCALL | METH_KEYWORDS;
      Fast fast = &fastcall;
      function = reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(fast));
    }
    return {S::name.c_str(), function, flags, S::doc.c_str()};
  }
};

// ---- declarations

template <FixedString Sig, auto F, CallKind Kind>
struct MethodDecl {
  static constexpr int kMethods = 1, kSlots = 0;
  bool prepare() const { return InternedNames<Sig>::prepare(); }
  template <class Owner>
  void add(PyMethodDef*& methods, PyType_Slot*&) const {
    *methods++ = Dispatch<Owner, Sig, F, Kind>::method_def();
  }
};

template <FixedString Sig, auto F>
inline constexpr MethodDecl<Sig, F, CallKind::Static> static_method{};

template <FixedString Sig, auto F>
inline constexpr MethodDecl<Sig, F, CallKind::Instance> method{};

template <FixedString Sig, auto F>
inline constexpr MethodDecl<Sig, F, CallKind::Function> function{};

// The class's object-creation slot and its doc (the signature): the class
// becomes callable.
template <FixedString Sig, auto F>
struct ConstructorDecl {
  static constexpr int kMethods = 0, kSlots = 2;
  bool prepare() const { return InternedNames<Sig>::prepare(); }
  template <class Owner>
  void add(PyMethodDef*&, PyType_Slot*& slots) const {
    using D = Dispatch<Owner, Sig, F, CallKind::Constructor>;
    static_assert(Signature<Sig>::parsed.name == Owner::name, "a constructor's signature carries the class name");
    *slots++ = {Py_tp_new, reinterpret_cast<void*>(&D::tp_new)};
    *slots++ = {Py_tp_doc, const_cast<char*>(Signature<Sig>::doc.c_str())};
  }
};

template <FixedString Sig, auto F>
inline constexpr ConstructorDecl<Sig, F> constructor{};

// A CPython slot filled with a function of the slot's own C signature.
template <int Id, auto F>
struct SlotDecl {
  static constexpr int kMethods = 0, kSlots = 1;
  bool prepare() const { return true; }
  template <class Owner>
  void add(PyMethodDef*&, PyType_Slot*& slots) const {
    *slots++ = {Id, reinterpret_cast<void*>(F)};
  }
};

template <int Id, auto F>
inline constexpr SlotDecl<Id, F> slot{};

// "to_json($self)": the held value's compact JSON as a new str.
PyObject* json_result(conjure_object::JsonWriter& writer);

template <class C>
PyObject* to_json_method(PyObject* self, PyObject*) {
  return guarded([&] {
    conjure_object::JsonWriter writer(128);
    write(writer, value_of<C>(self));
    return json_result(writer);
  });
}

struct ToJsonDecl {
  static constexpr int kMethods = 1, kSlots = 0;
  bool prepare() const { return true; }
  template <class Owner>
  void add(PyMethodDef*& methods, PyType_Slot*&) const {
    *methods++ = {"to_json", &to_json_method<Owner>, METH_NOARGS, "to_json($self)\n--\n\n"};
  }
};

inline constexpr ToJsonDecl to_json{};

// ---- tables

template <class C, class... Decls>
struct ClassTables {
  static constexpr std::size_t kMethodCount = (std::size_t{0} + ... + Decls::kMethods);
  static constexpr std::size_t kSlotCount = (std::size_t{0} + ... + Decls::kSlots);

  PyMethodDef methods[kMethodCount + 1]{};
  PyType_Slot slots[kSlotCount + 3]{};
  PyType_Spec spec{};

  explicit ClassTables(const Decls&... decls) {
    PyMethodDef* m = methods;
    PyType_Slot* s = slots;
    (decls.template add<C>(m, s), ...);
    *m = {nullptr, nullptr, 0, nullptr};
    bool constructible = false;
    for (PyType_Slot* i = slots; i != s; ++i) constructible = constructible || i->slot == Py_tp_new;
    *s++ = {Py_tp_dealloc, reinterpret_cast<void*>(&dealloc_object<typename C::Value>)};
    *s++ = {Py_tp_methods, methods};
    *s = {0, nullptr};
    // Not subclassable, no __dict__, no weak references, no GC (objects hold
    // no Python references); the class object is shared by the process.
    // Immutable: a replaced __new__ would make objects whose value was never
    // constructed.
    unsigned flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE;
    if (!constructible) flags |= Py_TPFLAGS_DISALLOW_INSTANTIATION;
    spec = {C::type_name.c_str(), static_cast<int>(kObjectSize<typename C::Value>), 0, flags, slots};
  }
};

// The PyType_Spec of class C from its declarations; null with the
// error set if the parameter names cannot be interned.
template <class C, class... Decls>
PyType_Spec* class_spec(const Decls&... decls) {
  static ClassTables<C, Decls...> tables(decls...);
  if (!(decls.prepare() && ...)) return nullptr;
  return &tables.spec;
}

// The method definitions of the module functions, in registration order.
struct FunctionTable {
  PyMethodDef* defs;
  std::size_t count;
};

template <class... Decls>
struct FunctionTables {
  PyMethodDef defs[sizeof...(Decls) + 1]{};
  FunctionTable table{defs, sizeof...(Decls)};

  explicit FunctionTables(const Decls&... decls) {
    [[maybe_unused]] PyMethodDef* m = defs;
    [[maybe_unused]] PyType_Slot* no_slots = nullptr;
    (decls.template add<ModuleFunctions>(m, no_slots), ...);
  }
};

// Null with the error set if the parameter names cannot be interned.
template <class... Decls>
const FunctionTable* function_table(const Decls&... decls) {
  static FunctionTables<Decls...> tables(decls...);
  if (!(decls.prepare() && ...)) return nullptr;
  return &tables.table;
}

}  // namespace brastel_python::binding
