"""Records: a plain struct with its fields in declaration order, and its writer."""

from __future__ import annotations

import cpp
import model as m


def members(r: m.Record) -> list[str]:
    names = [cpp.member(f.key) for f in r.fields]
    if len(set(names)) != len(names):
        raise m.DefinitionError(f"{r.name}: field names collide")
    return names


def held_records(mod: m.Model, r: m.Record) -> set[str]:
    """Records this one holds by value (directly or in collections)."""
    held = set()
    for f in r.fields:
        for q in m.refs_of(f.type):
            if isinstance(mod.get(q), m.Record):
                held.add(q)
    return held


def boxed(mod: m.Model) -> dict[str, frozenset]:
    """For each record, the records it must hold through a Box: those it can
    reach back from (a cycle of records holding records), found as the
    strongly connected components of the holding graph."""
    graph = {r.qname: held_records(mod, r) for r in mod.of_kind(m.Record)}
    index: dict[str, int] = {}
    low: dict[str, int] = {}
    stack: list[str] = []
    on_stack: set[str] = set()
    component: dict[str, int] = {}

    def connect(v: str):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in sorted(graph[v]):
            if w not in index:
                connect(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component[w] = index[v]
                if w == v:
                    break

    for v in graph:
        if v not in index:
            connect(v)
    return {v: frozenset(w for w in graph[v] if component[w] == component[v]) for v in graph}


def in_dependency_order(mod: m.Model) -> list[m.Record]:
    """Records ordered so that each comes after the records it holds by value."""
    box = boxed(mod)
    done: set[str] = set()
    ordered: list[m.Record] = []

    def visit(r: m.Record):
        if r.qname in done:
            return
        done.add(r.qname)
        for q in sorted(held_records(mod, r) - box[r.qname]):
            visit(mod.get(q))
        ordered.append(r)

    for r in mod.of_kind(m.Record):
        visit(r)
    return ordered


def declare(out: cpp.Out, mod: m.Model, r: m.Record, ordered: bool, box: frozenset):
    out.enter(cpp.namespace(r.package))
    out.add(f"struct {r.name} {{")
    for f, name in zip(r.fields, members(r)):
        # A field that may be absent or empty may be left out of a designated
        # initializer: its {} says so (g++ warns about it otherwise).
        t = cpp.resolve(mod, f.type)
        may_omit = isinstance(t, m.Optional) or cpp.is_collection(mod, t)
        out.add(f"  {cpp.type_of(mod, f.type, box)} {name}{'{}' if may_omit else ''};")
    if ordered:
        out.add(f"  friend auto operator<=>(const {r.name}&, const {r.name}&) = default;")
        out.add(f"  friend bool operator==(const {r.name}&, const {r.name}&) = default;")
    out.add(f"}};\n")
    out.add(f"void write(::conjure_object::JsonWriter& w, const {r.name}& v);\n")


def define(out: cpp.Out, mod: m.Model, r: m.Record):
    out.enter(cpp.namespace(r.package))
    if not r.fields:
        out.add(f"void write(::conjure_object::JsonWriter& w, const {r.name}&) {{")
        out.add(f'  w.raw("{{}}");\n}}\n')
        return
    out.add(f"void write(::conjure_object::JsonWriter& w, const {r.name}& v) {{")
    out.add(f"  ::conjure_object::ObjectWriter o(w);")
    for f, name in zip(r.fields, members(r)):
        key = cpp.quoted(cpp.quoted(f.key) + ":")
        t = cpp.resolve(mod, f.type)
        if isinstance(t, m.Optional):
            how = "optional"
        elif cpp.is_collection(mod, t):
            how = "collection"
        else:
            how = "required"
        out.add(f"  o.{how}({key}, v.{name});")
    out.add(f"  o.finish();\n}}\n")
