"""C++ names and type spellings for the definitions of the model."""

from __future__ import annotations

import json
import re

import model as m

KEYWORDS = set("""
alignas alignof and and_eq asm auto bitand bitor bool break case catch char char8_t char16_t
char32_t class compl concept const consteval constexpr constinit const_cast continue co_await
co_return co_yield decltype default delete do double dynamic_cast else enum explicit export
extern false float for friend goto if inline int long mutable namespace new noexcept not not_eq
nullptr operator or or_eq private protected public register reinterpret_cast requires return
short signed sizeof static static_assert static_cast struct switch template this thread_local
throw true try typedef typeid typename union unsigned using virtual void volatile wchar_t while
xor xor_eq
""".split())

# Names a union variant must not take: the union class uses them itself.
RESERVED_MEMBERS = {"tag", "tag_name", "unknown"}


def escape(name: str) -> str:
    return name + "_" if name in KEYWORDS else name


def snake(name: str) -> str:
    """lowerCamel or UpperCamel to snake_case: "floorDivide" -> "floor_divide"."""
    s = re.sub(r"(?<=[a-z0-9])([A-Z])", r"_\1", name)
    s = re.sub(r"(?<=[A-Z])([A-Z][a-z])", r"_\1", s)
    return s.lower()


def camel(name: str) -> str:
    """Tag or SCREAMING_SNAKE value to an UpperCamel enumerator."""
    if "_" in name or name.isupper():
        return "".join(p[:1].upper() + p[1:].lower() for p in name.split("_") if p)
    return name[:1].upper() + name[1:]


def member(name: str) -> str:
    return escape(snake(name))


def namespace(package: str) -> str:
    return "::" + package.replace(".", "::")


def qualified(t: m.TypeDef) -> str:
    return f"{namespace(t.package)}::{t.name}"


def quoted(text: str) -> str:
    """A C++ string literal of a JSON-quoted text, e.g. the key `"x":`."""
    return json.dumps(text)


def type_of(mod: m.Model, t, box: frozenset = frozenset()) -> str:
    """The C++ type of an expression; records named in `box` are held in a Box."""
    if isinstance(t, m.Prim):
        return {
            "string": "std::string",
            "boolean": "bool",
            "integer": "std::int32_t",
            "safelong": "::conjure_object::SafeLong",
            "double": "double",
            "any": "::conjure_object::Any",
        }[t.name]
    if isinstance(t, m.Ref):
        name = qualified(mod.get(t.qname))
        return f"::conjure_object::Box<{name}>" if t.qname in box else name
    if isinstance(t, m.Optional):
        return f"std::optional<{type_of(mod, t.inner, box)}>"
    if isinstance(t, m.List):
        return f"std::vector<{type_of(mod, t.inner, box)}>"
    if isinstance(t, m.Set):
        return f"std::set<{type_of(mod, t.inner, box)}>"
    if isinstance(t, m.Map):
        return f"std::map<{type_of(mod, t.key, box)}, {type_of(mod, t.value, box)}>"
    raise TypeError(t)


def resolve(mod: m.Model, t):
    """Looks through aliases to the type a value really has."""
    while isinstance(t, m.Ref) and isinstance(mod.get(t.qname), m.Alias):
        t = mod.get(t.qname).target
    return t


def is_collection(mod: m.Model, t) -> bool:
    return isinstance(resolve(mod, t), (m.List, m.Set, m.Map))


class Out:
    """Collects lines, opening and closing namespaces as the package changes."""

    def __init__(self):
        self.lines: list[str] = []
        self.ns: str | None = None

    def enter(self, ns: str | None):
        if ns == self.ns:
            return
        if self.ns is not None:
            self.lines.append(f"}}  // namespace {self.ns.lstrip(':')}\n")
        if ns is not None:
            self.lines.append(f"namespace {ns.lstrip(':')} {{\n")
        self.ns = ns

    def add(self, text: str = ""):
        self.lines.append(text)

    def text(self) -> str:
        self.enter(None)
        return "\n".join(self.lines) + "\n"
