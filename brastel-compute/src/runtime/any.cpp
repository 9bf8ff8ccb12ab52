#include "conjure_object/any.h"

#include <charconv>
#include <cmath>

namespace conjure_object {

// ---------------------------------------------------------------- lifetime

void Any::detach_children(Any& v, std::vector<Any>& work) {
  // Only the last owner may take the children: a shared tree stays whole.
  auto holds_tree = [](const Any& c) {
    if (auto* a = std::get_if<7>(&c.v_)) return *a != nullptr;
    if (auto* o = std::get_if<8>(&c.v_)) return *o != nullptr;
    return false;
  };
  if (auto* a = std::get_if<7>(&v.v_)) {
    if (*a == nullptr || a->use_count() != 1) return;
    for (Any& c : const_cast<Array&>(**a)) {
      if (holds_tree(c)) work.push_back(std::move(c));
    }
  } else if (auto* o = std::get_if<8>(&v.v_)) {
    if (*o == nullptr || o->use_count() != 1) return;
    for (auto& [k, c] : const_cast<Object&>(**o)) {
      if (holds_tree(k)) work.push_back(std::move(k));
      if (holds_tree(c)) work.push_back(std::move(c));
    }
  }
}

void Any::release_tree() noexcept {
  // Every nested tree is moved into the work list before its parent's vector
  // dies, so each destructor sees children without trees of their own.
  std::vector<Any> work;
  detach_children(*this, work);
  while (!work.empty()) {
    Any item = std::move(work.back());
    work.pop_back();
    detach_children(item, work);
  }
}

// ---------------------------------------------------------------- ordering

namespace {

template <class F>
std::weak_ordering compare_float(F x, F y) {
  const bool nx = std::isnan(x);
  const bool ny = std::isnan(y);
  if (nx || ny) {
    if (nx == ny) return std::weak_ordering::equivalent;
    return nx ? std::weak_ordering::greater : std::weak_ordering::less;
  }
  if (x < y) return std::weak_ordering::less;
  if (y < x) return std::weak_ordering::greater;
  // Equal numbers differ only for the two zeros: -0.0 first.
  return !std::signbit(x) <=> !std::signbit(y);
}

template <class T>
std::weak_ordering compare_plain(const T& x, const T& y) {
  if (x < y) return std::weak_ordering::less;
  if (y < x) return std::weak_ordering::greater;
  return std::weak_ordering::equivalent;
}

// One level of an iterative element-wise comparison: an array's elements, or
// an object's members flattened to key, value, key, value, ...
struct AnyCompareFrame {
  const Any::Array* aa = nullptr;
  const Any::Array* ba = nullptr;
  const Any::Object* ao = nullptr;
  const Any::Object* bo = nullptr;
  std::size_t i = 0;

  std::size_t a_len() const { return aa ? aa->size() : 2 * ao->size(); }
  std::size_t b_len() const { return ba ? ba->size() : 2 * bo->size(); }
  static const Any& at(const Any::Array* arr, const Any::Object* obj, std::size_t k) {
    if (arr) return (*arr)[k];
    const auto& member = (*obj)[k / 2];
    return k % 2 == 0 ? member.first : member.second;
  }
};

}  // namespace

std::weak_ordering operator<=>(const Any& a, const Any& b) {
  std::vector<AnyCompareFrame> stack;

  // Compares two values one level deep: scalars fully, trees by pushing a
  // frame. Returns non-equivalent as soon as the order is decided.
  auto step = [&stack](const Any& x, const Any& y) -> std::weak_ordering {
    if (x.v_.index() != y.v_.index()) return compare_plain(x.v_.index(), y.v_.index());
    switch (x.kind()) {
      case Any::Kind::Null:
        return std::weak_ordering::equivalent;
      case Any::Kind::Bool:
        return compare_plain(x.as_bool(), y.as_bool());
      case Any::Kind::I64:
        return compare_plain(x.as_i64(), y.as_i64());
      case Any::Kind::U64:
        return compare_plain(x.as_u64(), y.as_u64());
      case Any::Kind::F32:
        return compare_float(x.as_f32(), y.as_f32());
      case Any::Kind::F64:
        return compare_float(x.as_f64(), y.as_f64());
      case Any::Kind::String:
        return x.as_string().compare(y.as_string()) <=> 0;
      case Any::Kind::Array: {
        const auto& px = std::get<7>(x.v_);
        const auto& py = std::get<7>(y.v_);
        if (px != py) stack.push_back({px.get(), py.get(), nullptr, nullptr, 0});
        return std::weak_ordering::equivalent;
      }
      case Any::Kind::Object: {
        const auto& px = std::get<8>(x.v_);
        const auto& py = std::get<8>(y.v_);
        if (px != py) stack.push_back({nullptr, nullptr, px.get(), py.get(), 0});
        return std::weak_ordering::equivalent;
      }
    }
    return std::weak_ordering::equivalent;
  };

  if (auto r = step(a, b); r != 0) return r;
  while (!stack.empty()) {
    AnyCompareFrame& f = stack.back();
    const std::size_t na = f.a_len();
    const std::size_t nb = f.b_len();
    if (f.i == na || f.i == nb) {
      stack.pop_back();
      if (na != nb) return compare_plain(na, nb);
      continue;
    }
    const std::size_t k = f.i++;
    // `f` may dangle once step() pushes, so fetch both elements first.
    const Any& x = AnyCompareFrame::at(f.aa, f.ao, k);
    const Any& y = AnyCompareFrame::at(f.ba, f.bo, k);
    if (auto r = step(x, y); r != 0) return r;
  }
  return std::weak_ordering::equivalent;
}

bool operator==(const Any& a, const Any& b) { return (a <=> b) == 0; }

// ---------------------------------------------------------------- writing

namespace {

void write_any_key(JsonWriter& w, const Any& k) {
  switch (k.kind()) {
    case Any::Kind::String:
      w.string(k.as_string());
      return;
    case Any::Kind::Bool:
      w.raw(k.as_bool() ? std::string_view("\"true\"") : std::string_view("\"false\""));
      return;
    case Any::Kind::I64:
    case Any::Kind::U64: {
      char buf[24];
      buf[0] = '"';
      const auto r = k.kind() == Any::Kind::I64 ? std::to_chars(buf + 1, buf + 23, k.as_i64())
                                                : std::to_chars(buf + 1, buf + 23, k.as_u64());
      *r.ptr = '"';
      w.raw(std::string_view(buf, static_cast<std::size_t>(r.ptr + 1 - buf)));
      return;
    }
    case Any::Kind::F32:
    case Any::Kind::F64: {
      const bool f32 = k.kind() == Any::Kind::F32;
      if (f32 ? !std::isfinite(k.as_f32()) : !std::isfinite(k.as_f64())) {
        w.fail(WriteErrorKind::FloatKeyNotFinite, "float key must be finite (got NaN or +/-inf)");
        return;
      }
      char text[kMaxFloatText + 2];
      text[0] = '"';
      std::size_t n = 1 + (f32 ? format_f32(text + 1, k.as_f32()) : format_f64(text + 1, k.as_f64()));
      text[n++] = '"';
      w.raw(std::string_view(text, n));
      return;
    }
    case Any::Kind::Null:
    case Any::Kind::Array:
    case Any::Kind::Object:
      break;
  }
  w.fail(WriteErrorKind::KeyMustBeString, "key must be a string");
}

}  // namespace

void write(JsonWriter& w, const Any& v) {
  switch (v.kind()) {
    case Any::Kind::Null:
      w.raw("null");
      return;
    case Any::Kind::Bool:
      w.boolean(v.as_bool());
      return;
    case Any::Kind::I64:
      w.i64(v.as_i64());
      return;
    case Any::Kind::U64:
      w.u64(v.as_u64());
      return;
    case Any::Kind::F32:
      w.f32(v.as_f32());
      return;
    case Any::Kind::F64:
      w.f64(v.as_f64());
      return;
    case Any::Kind::String:
      w.string(v.as_string());
      return;
    case Any::Kind::Array: {
      if (!w.enter()) return;
      w.raw('[');
      bool first = true;
      for (const Any& e : v.as_array()) {
        if (!first) w.raw(',');
        first = false;
        write(w, e);
        if (w.failed()) return;
      }
      w.raw(']');
      return;
    }
    case Any::Kind::Object: {
      if (!w.enter()) return;
      w.raw('{');
      bool first = true;
      for (const auto& [key, value] : v.as_object()) {
        if (!first) w.raw(',');
        first = false;
        write_any_key(w, key);
        if (w.failed()) return;
        w.raw(':');
        write(w, value);
        if (w.failed()) return;
      }
      w.raw('}');
      return;
    }
  }
}

}  // namespace conjure_object
