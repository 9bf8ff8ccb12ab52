// Operator slots, declared like methods: one line each, the C++ function
// typed by its operands, which pick their coercions as parameters do.
//
//   unary_operator<Py_nb_negative, &negate>       R negate(const Value& operand)
//   binary_operator<Py_nb_and, &both>             R both(Left left, Right right)
//   binary_operator<Py_nb_add, &add, reflected>   the same, and also when the
//                                                 class's object is on the right
//   rich_comparison<&lt, &le, &eq, &ne, &gt, &ge> R lt(const Value& self, Other other)
//
// A binary operator receives its operands in written order, whichever one
// is the class's object, so `2 - s` calls subtract(2, s). An operand that
// cannot be taken makes the slot answer NotImplemented (its extraction error
// dropped, unless an interrupt): Python then asks the other operand and
// finally raises its own TypeError. Py_nb_power's third operand must be None
// (** and two-argument pow); a modulus is not something an expression node
// can hold.
//
// Several declarations can travel as one with declarations(...), so that a
// class's operators can be listed apart from its methods.
#pragma once

#include <tuple>
#include <type_traits>
#include <utility>

#include "binding/binding.h"
#include "brastel_compute/panic.h"

namespace brastel_python::binding {

namespace detail {

inline PyObject* not_implemented() {
  Py_INCREF(Py_NotImplemented);
  return Py_NotImplemented;
}

}  // namespace detail

template <int Id, auto F>
struct UnaryOperatorDecl {
  static constexpr int kMethods = 0, kSlots = 1;
  bool prepare() const { return true; }

  template <class Owner>
  static PyObject* call(PyObject* operand) {
    return guarded([&] { return detail::to_python(F(value_of<Owner>(operand))); });
  }

  template <class Owner>
  void add(PyMethodDef*&, PyType_Slot*& slots) const {
    using Params = typename detail::FunctionTraits<decltype(F)>::Params;
    static_assert(std::tuple_size_v<Params> == 1 && detail::receiver_is_value<Owner, Params>(),
                  "a unary operator takes the class's value");
    *slots++ = {Id, reinterpret_cast<void*>(&call<Owner>)};
  }
};

template <int Id, auto F>
inline constexpr UnaryOperatorDecl<Id, F> unary_operator{};

enum class Reflect { No, Yes };
inline constexpr Reflect reflected = Reflect::Yes;

template <int Id, auto F, Reflect R = Reflect::No>
struct BinaryOperatorDecl {
  static constexpr int kMethods = 0, kSlots = 1;
  using Params = typename detail::FunctionTraits<decltype(F)>::Params;
  static_assert(std::tuple_size_v<Params> == 2, "a binary operator takes its two operands");
  using Left = std::tuple_element_t<0, Params>;
  using Right = std::tuple_element_t<1, Params>;

  bool prepare() const { return true; }

  // The operands in written order; NotImplemented unless the class's object
  // stands where it may and the other operand can be taken.
  template <class Owner>
  static PyObject* call(PyObject* left, PyObject* right) {
    return guarded([&]() -> PyObject* {
      bool ours = is_instance<Owner>(left) || (R == Reflect::Yes && is_instance<Owner>(right));
      if (!ours) return detail::not_implemented();
      // Held while the right operand is extracted, which may run Python.
      ExitSafe<std::optional<Left>> a([&] { return Extract<Left>::from(left); });
      if (!*a) {
        discard_error();
        return detail::not_implemented();
      }
      std::optional<Right> b = Extract<Right>::from(right);
      if (!b) {
        discard_error();
        return detail::not_implemented();
      }
      return detail::to_python(F(std::move(**a), std::move(*b)));
    });
  }

  template <class Owner>
  static PyObject* call_power(PyObject* left, PyObject* right, PyObject* modulus) {
    if (modulus != Py_None) return detail::not_implemented();
    return call<Owner>(left, right);
  }

  template <class Owner>
  void add(PyMethodDef*&, PyType_Slot*& slots) const {
    static_assert(std::is_same_v<Left, typename Owner::Value> || std::is_same_v<Right, typename Owner::Value> ||
                      std::is_same_v<Left, Right>,
                  "one operand is the class's object");
    if constexpr (Id == Py_nb_power) {
      *slots++ = {Id, reinterpret_cast<void*>(&call_power<Owner>)};
    } else {
      *slots++ = {Id, reinterpret_cast<void*>(&call<Owner>)};
    }
  }
};

template <int Id, auto F, Reflect R = Reflect::No>
inline constexpr BinaryOperatorDecl<Id, F, R> binary_operator{};

// The six comparisons, in the order of Py_LT .. Py_GE; the receiver is
// always the class's object (CPython mirrors the operator when it is on
// the right: 2 < s asks s > 2).
template <auto Lt, auto Le, auto Eq, auto Ne, auto Gt, auto Ge>
struct RichComparisonDecl {
  static constexpr int kMethods = 0, kSlots = 1;
  bool prepare() const { return true; }

  template <class Owner, auto F>
  static PyObject* compare(PyObject* self, PyObject* other) {
    using Params = typename detail::FunctionTraits<decltype(F)>::Params;
    static_assert(std::tuple_size_v<Params> == 2 && detail::receiver_is_value<Owner, Params>(),
                  "a comparison takes the class's value and the other operand");
    using Other = std::tuple_element_t<1, Params>;
    std::optional<Other> value = Extract<Other>::from(other);
    if (!value) {
      discard_error();
      return detail::not_implemented();
    }
    return detail::to_python(F(value_of<Owner>(self), std::move(*value)));
  }

  template <class Owner>
  static PyObject* call(PyObject* self, PyObject* other, int op) {
    return guarded([&]() -> PyObject* {
      switch (op) {
        case Py_LT: return compare<Owner, Lt>(self, other);
        case Py_LE: return compare<Owner, Le>(self, other);
        case Py_EQ: return compare<Owner, Eq>(self, other);
        case Py_NE: return compare<Owner, Ne>(self, other);
        case Py_GT: return compare<Owner, Gt>(self, other);
        case Py_GE: return compare<Owner, Ge>(self, other);
        default: throw brastel_compute::Panic("invalid compareop");
      }
    });
  }

  template <class Owner>
  void add(PyMethodDef*&, PyType_Slot*& slots) const {
    *slots++ = {Py_tp_richcompare, reinterpret_cast<void*>(&call<Owner>)};
  }
};

template <auto Lt, auto Le, auto Eq, auto Ne, auto Gt, auto Ge>
inline constexpr RichComparisonDecl<Lt, Le, Eq, Ne, Gt, Ge> rich_comparison{};

// Several declarations as one entry of a class's list.
template <class... Decls>
struct Declarations {
  static constexpr int kMethods = (0 + ... + Decls::kMethods);
  static constexpr int kSlots = (0 + ... + Decls::kSlots);
  std::tuple<Decls...> decls;

  bool prepare() const {
    return std::apply([](const auto&... d) { return (d.prepare() && ...); }, decls);
  }
  template <class Owner>
  void add(PyMethodDef*& methods, PyType_Slot*& slots) const {
    std::apply([&](const auto&... d) { (d.template add<Owner>(methods, slots), ...); }, decls);
  }
};

template <class... Decls>
constexpr Declarations<Decls...> declarations(const Decls&... decls) {
  return {{decls...}};
}

}  // namespace brastel_python::binding
