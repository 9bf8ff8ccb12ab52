// The binding probe: module functions over each coercion, each returning
// what it extracted (as a value object, its JSON, or a text), plus a class
// with instance methods. Paired with test_binding_probe.py.
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "binding/binding.h"
#include "binding/module.h"
#include "brastel_compute/construction.h"
#include "classes/classes.h"
#include "classes/inputs.h"
#include "registration.h"

namespace brastel_python::probe {

using namespace binding;
namespace bc = ::brastel_compute;

template <class T>
std::string json(const T& value) {
  conjure_object::JsonWriter writer;
  write(writer, value);
  if (writer.failed()) throw PythonException{PyExc_ValueError, writer.error()->message};
  return std::string(writer.buffer());
}

template <class T>
std::string json_list(const std::vector<T>& values) {
  std::string out = "[";
  for (const T& value : values) out.append(out.size() > 1 ? "," : "").append(json(value));
  return out.append("]");
}

// A class that holds a text, to drive instance methods.
struct ProbeClass : ValueClass<"Probe", std::string> {
  static PyType_Spec* spec();
};

Held<ProbeClass> probe_make(std::string text) { return {std::move(text)}; }

std::string describe(const std::optional<std::string>& v) {
  return v ? std::string("'").append(*v).append("'") : std::string("absent");
}

std::string probe_echo(const std::string& self, std::string a, std::optional<std::string> b,
                       std::optional<std::string> c) {
  return std::string(self).append(": ").append(a).append(" ").append(describe(b)).append(" ").append(describe(c));
}

std::string probe_text(const std::string& self) { return self; }
std::string probe_empty() { return "empty"; }

PyType_Spec* ProbeClass::spec() {
  return class_spec<ProbeClass>(static_method<"Make(text)", &probe_make>, static_method<"Empty()", &probe_empty>,
                                method<"echo($self, a, b=None, c=None)", &probe_echo>,
                                method<"text($self)", &probe_text>);
}

std::string three(std::string a, std::string b, std::string c) { return a.append(" ").append(b).append(" ").append(c); }
std::string optional(std::string a, std::optional<std::string> b, std::optional<std::string> c) {
  return a.append(" ").append(describe(b)).append(" ").append(describe(c));
}

objects::DoubleConstant number(double x) { return objects::DoubleConstant::literal(x); }
std::string integer(std::int64_t x) { return std::to_string(x); }
std::string text(std::string x) { return x; }

objects::NumericSeries numeric_series_input(NumericSeriesInput v) { return convert(std::move(v)); }
objects::ConstantNumericSeries constant_numeric_series_input(ConstantNumericSeriesInput v) {
  return convert(std::move(v));
}
objects::IntegerConstant integer_constant_input(IntegerConstantInput v) { return convert(std::move(v)); }
objects::StringConstant string_constant_input(StringConstantInput v) { return convert(std::move(v)); }
objects::DoubleConstant float_constant_input(FloatConstantInput v) { return convert(std::move(v)); }
std::string series(WrappedSeries v) { return json(v); }

template <class E>
std::string enum_text(E value) {
  return std::string(value.text());
}

std::string numeric_list(std::vector<NumericSeriesInput> v) { return json_list(convert(std::move(v))); }
std::string string_list(std::vector<StringConstantInput> v) { return json_list(convert(std::move(v))); }
std::string series_list(std::vector<WrappedSeries> v) { return json_list(v); }
std::string duration_list(std::vector<objects::Duration> v) { return json_list(v); }

std::string float_dict(std::vector<std::pair<std::string, FloatConstantInput>> mapping) {
  std::string out = "{";
  for (auto& [key, value] : convert(std::move(mapping))) {
    out.append(out.size() > 1 ? "," : "").append("\"").append(key).append("\":").append(json(value));
  }
  return out.append("}");
}

objects::StructSeries series_dict(std::vector<std::pair<std::string, WrappedSeries>> inputs) {
  return bc::struct_series_combine(std::move(inputs));
}

std::string refprop(std::vector<std::pair<std::string, NumericSeriesInput>> inputs) {
  std::string out;
  for (auto& [property, series] : convert_refprop_inputs(std::move(inputs))) {
    out.append(out.empty() ? "" : " ").append(property.text());
  }
  return out;
}

std::string optional_time_unit(std::optional<bc::TimeUnit> unit) {
  return unit ? std::string(unit->text()) : "absent";
}

objects::NumericSeries numeric_series(std::string name) {
  return objects::NumericSeries::raw(objects::Reference{std::move(name)});
}
objects::EnumSeries categorical_series(std::string name) {
  return objects::EnumSeries::raw(objects::Reference{std::move(name)});
}
objects::Duration duration(std::string name) { return objects::Duration::reference(objects::Reference{std::move(name)}); }

// A chain of abs nodes, deeper than any writer can follow on a small stack.
objects::NumericSeries deep_numeric_series(std::int64_t depth) {
  objects::NumericSeries series = numeric_series("x");
  for (std::int64_t i = 0; i < depth; ++i) series = objects::NumericSeries::abs(objects::Abs{std::move(series)});
  return series;
}

Held<WrappedNumericAggregationBuilder> numeric_rolling_points(objects::NumericSeries input, IntegerConstantInput points) {
  return {bc::aggregation_builder_rolling_points(objects::series_from(std::move(input)), convert(std::move(points)))};
}
Held<WrappedCategoricalAggregationBuilder> categorical_rolling_points(objects::EnumSeries input,
                                                                    IntegerConstantInput points) {
  return {bc::aggregation_builder_rolling_points(objects::series_from(std::move(input)), convert(std::move(points)))};
}
std::string numeric_builder_only(Held<WrappedNumericAggregationBuilder> builder) { return json(builder.value); }

std::string panic(std::string message) { throw bc::Panic(message); }
std::string bad_alloc() { throw std::bad_alloc(); }
std::string cpp_error() { throw std::runtime_error("unexpected state"); }

// Calls module.name() from a destructor while a C++ exception unwinds, as
// another extension's cleanup may: what that code calls here runs with the
// exception in flight.
std::string call_while_unwinding(std::string module, std::string name) {
  struct CallsBack {
    const std::string& module;
    const std::string& name;
    ~CallsBack() {
      Ref imported = Ref::steal(PyImport_ImportModule(module.c_str()));
      if (imported) Ref::steal(PyObject_CallMethod(imported.get(), name.c_str(), nullptr));
    }
  };
  try {
    CallsBack calls_back{module, name};
    throw std::runtime_error("unwinding");
  } catch (const std::runtime_error&) {
  }
  if (PyErr_Occurred()) throw ErrorAlreadySet{};
  return "called";
}

const FunctionTable* functions() {
  return function_table(
      function<"three(a, b, c)", &three>, function<"optional(a, b=None, c=None)", &optional>,
      function<"number(x)", &number>, function<"integer(x)", &integer>, function<"text(x)", &text>,
      function<"numeric_series_input(value)", &numeric_series_input>,
      function<"constant_numeric_series_input(value)", &constant_numeric_series_input>,
      function<"integer_constant_input(value)", &integer_constant_input>,
      function<"string_constant_input(value)", &string_constant_input>,
      function<"float_constant_input(value)", &float_constant_input>, function<"series(value)", &series>,
      function<"time_unit(value)", &enum_text<bc::TimeUnit>>,
      function<"numeric_data_type(value)", &enum_text<bc::NumericDataType>>,
      function<"range_start(value)", &enum_text<bc::RangeStart>>,
      function<"refprop_property(value)", &enum_text<bc::RefpropProperty>>,
      function<"refprop_substance(value)", &enum_text<bc::RefpropSubstance>>,
      function<"series_storage(value)", &enum_text<bc::SeriesStorage>>,
      function<"unbounded_behavior(value)", &enum_text<bc::UnboundedBehavior>>,
      function<"optional_time_unit(unit=None)", &optional_time_unit>,
      function<"numeric_list(values)", &numeric_list>, function<"string_list(values)", &string_list>,
      function<"series_list(values)", &series_list>, function<"duration_list(values)", &duration_list>,
      function<"float_dict(mapping)", &float_dict>, function<"series_dict(inputs)", &series_dict>,
      function<"refprop(inputs)", &refprop>, function<"numeric_series(name)", &numeric_series>,
      function<"categorical_series(name)", &categorical_series>, function<"duration(name)", &duration>,
      function<"deep_numeric_series(depth)", &deep_numeric_series>,
      function<"numeric_rolling_points(input, points)", &numeric_rolling_points>,
      function<"categorical_rolling_points(input, points)", &categorical_rolling_points>,
      function<"numeric_builder_only(builder)", &numeric_builder_only>, function<"panic(message)", &panic>,
      function<"bad_alloc()", &bad_alloc>, function<"cpp_error()", &cpp_error>,
      function<"call_while_unwinding(module, name)", &call_while_unwinding>);
}

int probe_exec(PyObject* module) {
  return guarded(-1, [&] {
    bool ok = check_module(module) && register_classes(module) &&
              add_functions(module, functions()) &&
              add_class<ProbeClass>(module);
    return ok ? 0 : -1;
  });
}

PyModuleDef_Slot probe_slots[] = {
    {Py_mod_exec, reinterpret_cast<void*>(probe_exec)},
    {0, nullptr},
};

PyModuleDef probe_def = {PyModuleDef_HEAD_INIT, "_binding_probe", "", 0, nullptr, probe_slots,
                         nullptr,               nullptr,          nullptr};

}  // namespace brastel_python::probe

PyMODINIT_FUNC PyInit__binding_probe(void) { return PyModuleDef_Init(&brastel_python::probe::probe_def); }
