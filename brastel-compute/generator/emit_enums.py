"""Enums: the value class, its name table, writer and (optionally) reader."""

from __future__ import annotations

import cpp
import model as m


def enumerators(e: m.Enum) -> list[str]:
    names = [cpp.camel(v) for v in e.values]
    if len(set(names)) != len(names) or "Unknown" in names:
        raise m.DefinitionError(f"{e.name}: enumerator names collide")
    return names


def declare(out: cpp.Out, mod: m.Model, e: m.Enum):
    names = enumerators(e)
    n = len(e.values)
    out.enter(cpp.namespace(e.package))
    out.add(f"class {e.name} {{\n public:")
    out.add(f"  enum class Value : std::uint8_t {{ {', '.join(names)}, Unknown }};")
    out.add(f"  static constexpr std::string_view kName = {cpp.quoted(e.name)};")
    out.add(f"  static constexpr std::array<std::string_view, {n}> kNames{{{', '.join(cpp.quoted(v) for v in e.values)}}};")
    out.add(f"  {e.name}(Value value) noexcept : value_(value) {{}}")
    out.add(f"  // Any text; written unchanged.")
    out.add(f"  static {e.name} unknown(std::string text) {{")
    out.add(f"    {e.name} e(Value::Unknown);")
    out.add(f"    e.unknown_ = std::move(text);")
    out.add(f"    return e;")
    out.add(f"  }}")
    out.add(f"  Value value() const noexcept {{ return value_; }}")
    out.add(f"  std::string_view as_str() const noexcept {{")
    out.add(f"    return value_ == Value::Unknown ? std::string_view(unknown_) : kNames[static_cast<std::size_t>(value_)];")
    out.add(f"  }}")
    if e.reader:
        out.add(f"  // Reads a quoted value name, e.g. \"\\\"{e.values[0]}\\\"\".")
        out.add(f"  static ::conjure_object::Result<{e.name}> from_json(std::string_view json);")
    out.add(f"  // Declaration order; unknown values after all known ones, by text.")
    out.add(f"  friend std::strong_ordering operator<=>(const {e.name}&, const {e.name}&) = default;")
    out.add(f"  friend bool operator==(const {e.name}&, const {e.name}&) = default;")
    out.add(f"\n private:")
    out.add(f"  Value value_;")
    out.add(f"  std::string unknown_;")
    out.add(f"}};\n")
    out.add(f"inline void write(::conjure_object::JsonWriter& w, const {e.name}& v) {{ w.string(v.as_str()); }}\n")


def define(out: cpp.Out, mod: m.Model, e: m.Enum):
    if not e.reader:
        return
    out.enter(cpp.namespace(e.package))
    out.add(f"::conjure_object::Result<{e.name}> {e.name}::from_json(std::string_view json) {{")
    out.add(f"  auto read = ::conjure_object::read_enum(json, kNames, kName);")
    out.add(f"  if (!read) return read.error();")
    out.add(f"  if (auto* known = std::get_if<::conjure_object::KnownValue>(&read.value())) {{")
    out.add(f"    return {e.name}(static_cast<Value>(known->index));")
    out.add(f"  }}")
    out.add(f"  return unknown(std::move(std::get<::conjure_object::UnknownValue>(read.value()).text));")
    out.add(f"}}\n")
