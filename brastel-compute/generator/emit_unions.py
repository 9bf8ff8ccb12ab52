"""Unions: a tag and a shared reference to the payload's node."""

from __future__ import annotations

import cpp
import model as m


def factories(u: m.Union) -> list[str]:
    # A variant named like one of the class's own members gets a trailing "_",
    # as C++ keywords do.
    names = [cpp.member(v.tag) for v in u.variants]
    names = [n + "_" if n in cpp.RESERVED_MEMBERS else n for n in names]
    tags = [cpp.camel(v.tag) for v in u.variants]
    if len(set(names)) != len(names) or len(set(tags)) != len(tags) or "Unknown" in tags:
        raise m.DefinitionError(f"{u.name}: variant names collide")
    return names


def is_empty_record(mod: m.Model, t) -> bool:
    t = cpp.resolve(mod, t)
    return isinstance(t, m.Ref) and isinstance(mod.get(t.qname), m.Record) and not mod.get(t.qname).fields


def declare(out: cpp.Out, mod: m.Model, u: m.Union, ordered: bool):
    names = factories(u)
    tags = [cpp.camel(v.tag) for v in u.variants]
    out.enter(cpp.namespace(u.package))
    out.add(f"class {u.name} {{\n public:")
    out.add(f"  enum class Tag : std::uint8_t {{ {', '.join(tags)}, Unknown }};")
    out.add(f"  static constexpr std::string_view kName = {cpp.quoted(u.name)};")
    out.add(f"  static constexpr std::array<std::string_view, {len(tags)}> kTags{{{', '.join(cpp.quoted(v.tag) for v in u.variants)}}};\n")
    for v, name in zip(u.variants, names):
        ty = cpp.type_of(mod, v.type)
        out.add(f"  static {u.name} {name}({ty} value);")
        if is_empty_record(mod, v.type):
            out.add(f"  static {u.name} {name}();")
    out.add(f"  static {u.name} unknown(std::string type, ::conjure_object::Any value);\n")
    out.add(f"  Tag tag() const noexcept {{ return which_; }}")
    out.add(f"  // The tag text written on the wire (the held type text for the unknown arm).")
    out.add(f"  std::string_view tag_name() const noexcept;")
    for v, name in zip(u.variants, names):
        out.add(f"  const {cpp.type_of(mod, v.type)}& as_{cpp.snake(v.tag)}() const noexcept;")
    out.add(f"  const ::conjure_object::UnknownVariant& as_unknown() const noexcept;")
    if ordered:
        out.add(f"\n  // By variant in declaration order, then by payload.")
        out.add(f"  friend std::weak_ordering operator<=>(const {u.name}& a, const {u.name}& b);")
        out.add(f"  friend bool operator==(const {u.name}& a, const {u.name}& b) {{ return (a <=> b) == 0; }}")
    out.add(f"\n private:")
    out.add(f"  {u.name}(Tag tag, ::conjure_object::NodeRef node) noexcept : which_(tag), node_(std::move(node)) {{}}")
    out.add(f"  Tag which_;")
    out.add(f"  ::conjure_object::NodeRef node_;")
    out.add(f"}};\n")
    out.add(f"void write(::conjure_object::JsonWriter& w, const {u.name}& v);\n")


def accessors(out: cpp.Out, mod: m.Model, u: m.Union):
    out.enter(cpp.namespace(u.package))
    for v in u.variants:
        ty = cpp.type_of(mod, v.type)
        out.add(f"inline const {ty}& {u.name}::as_{cpp.snake(v.tag)}() const noexcept {{ return node_.as<{ty}>(); }}")
    out.add(f"inline const ::conjure_object::UnknownVariant& {u.name}::as_unknown() const noexcept {{")
    out.add(f"  return node_.as<::conjure_object::UnknownVariant>();\n}}")
    out.add(f"inline std::string_view {u.name}::tag_name() const noexcept {{")
    out.add(f"  return which_ == Tag::Unknown ? std::string_view(as_unknown().type) : kTags[static_cast<std::size_t>(which_)];\n}}\n")


def define(out: cpp.Out, mod: m.Model, u: m.Union, ordered: bool):
    names = factories(u)
    out.enter(cpp.namespace(u.package))
    for v, name in zip(u.variants, names):
        ty = cpp.type_of(mod, v.type)
        tag = cpp.camel(v.tag)
        out.add(f"{u.name} {u.name}::{name}({ty} value) {{")
        out.add(f"  return {u.name}(Tag::{tag}, ::conjure_object::make_node<{ty}>(std::move(value)));\n}}")
        if is_empty_record(mod, v.type):
            out.add(f"{u.name} {u.name}::{name}() {{ return {name}({ty}{{}}); }}")
    out.add(f"{u.name} {u.name}::unknown(std::string type, ::conjure_object::Any value) {{")
    out.add(f"  return {u.name}(Tag::Unknown, ::conjure_object::make_node<::conjure_object::UnknownVariant>(")
    out.add(f"      ::conjure_object::UnknownVariant{{std::move(type), std::move(value)}}));\n}}\n")

    out.add(f"void write(::conjure_object::JsonWriter& w, const {u.name}& v) {{")
    out.add(f"  if (!w.enter()) return;")
    out.add(f"  switch (v.tag()) {{")
    for v in u.variants:
        prefix = '{"type":' + cpp.quoted(v.tag) + "," + cpp.quoted(v.tag) + ":"
        out.add(f"    case {u.name}::Tag::{cpp.camel(v.tag)}:")
        out.add(f"      w.raw({cpp.quoted(prefix)});")
        out.add(f"      ::conjure_object::write_value(w, v.as_{cpp.snake(v.tag)}());")
        out.add(f"      break;")
    out.add(f"    case {u.name}::Tag::Unknown:")
    out.add(f"      ::conjure_object::write_unknown(w, v.as_unknown());")
    out.add(f"      return;")
    out.add(f"  }}")
    out.add(f"  w.raw('}}');\n}}\n")

    if ordered:
        out.add(f"std::weak_ordering operator<=>(const {u.name}& a, const {u.name}& b) {{")
        out.add(f"  if (a.tag() != b.tag()) return a.tag() <=> b.tag();")
        out.add(f"  switch (a.tag()) {{")
        for v in u.variants:
            acc = f"as_{cpp.snake(v.tag)}()"
            out.add(f"    case {u.name}::Tag::{cpp.camel(v.tag)}:")
            out.add(f"      return ::conjure_object::weak_compare(a.{acc}, b.{acc});")
        out.add(f"    case {u.name}::Tag::Unknown:")
        out.add(f"      return ::conjure_object::weak_compare(a.as_unknown(), b.as_unknown());")
        out.add(f"  }}")
        out.add(f"  return std::weak_ordering::equivalent;\n}}\n")
