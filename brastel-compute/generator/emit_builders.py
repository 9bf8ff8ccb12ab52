"""Staged builders: the stage is part of the builder's type, so a record can
only be built once every required field has been set."""

from __future__ import annotations

import cpp
import emit_records
import model as m


def is_required(mod: m.Model, f: m.Field) -> bool:
    t = cpp.resolve(mod, f.type)
    return not isinstance(t, m.Optional) and not cpp.is_collection(mod, t)


def declare(out: cpp.Out, mod: m.Model, r: m.Record, box: frozenset):
    names = emit_records.members(r)
    record = cpp.qualified(r)
    required = [(f, n) for f, n in zip(r.fields, names) if is_required(mod, f)]
    others = [(f, n) for f, n in zip(r.fields, names) if not is_required(mod, f)]
    stages = [cpp.camel(f.key) + "Stage" for f, _ in required] + ["Complete"]

    out.enter(f"{cpp.namespace(r.package)}::{cpp.snake(r.name)}")
    for s in stages[:-1]:
        out.add(f"struct {s} {{}};")
    out.add("using ::conjure_object::Complete;\n")
    out.add("// Fields gathered so far; required ones are missing until their stage sets them.")
    out.add("struct State {")
    for f, n in zip(r.fields, names):
        ty = cpp.type_of(mod, f.type, box)
        out.add(f"  std::optional<{ty}> {n};" if is_required(mod, f) else f"  {ty} {n};")
    out.add("};\n")
    out.add("template <class Stage>\nclass Builder;\n")

    out.add("template <>\nclass Builder<Complete> {\n public:")
    if not required:
        out.add("  Builder() = default;")
    for f, n in others:
        ty = cpp.type_of(mod, f.type, box)
        out.add(f"  // Replaces what an earlier call set.")
        out.add(f"  Builder {n}({ty} value) && {{")
        out.add(f"    state_.{n} = std::move(value);")
        out.add(f"    return std::move(*this);\n  }}")
    fields = []
    for f, n in zip(r.fields, names):
        fields.append(f"std::move(*state_.{n})" if is_required(mod, f) else f"std::move(state_.{n})")
    out.add(f"  {record} build() && {{ return {record}{{{', '.join(fields)}}}; }}\n")
    out.add(" private:")
    out.add("  template <class>\n  friend class Builder;")
    if required:
        out.add("  explicit Builder(State state) : state_(std::move(state)) {}")
    out.add("  State state_;\n};\n")
    # Later stages first: each stage's setter returns the next one by value.
    for i, (f, n) in reversed(list(enumerate(required))):
        stage, next_stage = stages[i], stages[i + 1]
        ty = cpp.type_of(mod, f.type, box)
        out.add(f"template <>\nclass Builder<{stage}> {{\n public:")
        if i == 0:
            out.add("  Builder() = default;")
        out.add(f"  Builder<{next_stage}> {n}({ty} value) && {{")
        out.add(f"    state_.{n} = std::move(value);")
        out.add(f"    return Builder<{next_stage}>(std::move(state_));\n  }}\n")
        out.add(" private:")
        out.add("  template <class>\n  friend class Builder;")
        if i > 0:
            out.add("  explicit Builder(State state) : state_(std::move(state)) {}")
        out.add("  State state_;\n};\n")

    out.add(f"inline Builder<{stages[0]}> builder() {{ return Builder<{stages[0]}>(); }}\n")
