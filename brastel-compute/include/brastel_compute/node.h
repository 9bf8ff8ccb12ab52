// The last step of most construction functions: a union value made by one of
// its variant factories (&Union::variant) from that variant's payload record.
#pragma once

#include <utility>

namespace brastel_compute {

namespace detail {

template <class Factory>
struct FactoryPayload;
template <class Union, class Payload>
struct FactoryPayload<Union (*)(Payload)> {
  using type = Payload;
};

}  // namespace detail

// The payload record that a variant factory takes.
template <auto Factory>
using PayloadOf = typename detail::FactoryPayload<decltype(Factory)>::type;

// Factory's variant over its payload record, whose fields are the arguments
// in declaration order (every field given).
template <auto Factory, class... Fields>
auto node(Fields&&... fields) {
  return Factory(PayloadOf<Factory>{std::forward<Fields>(fields)...});
}

}  // namespace brastel_compute
