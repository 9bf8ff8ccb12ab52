"""Loads the API definition (Conjure YAML) into a resolved model."""

from __future__ import annotations

import re
from dataclasses import dataclass, field
from pathlib import Path

import yaml

DEFAULT_PACKAGE = "brastel_compute.conjure.objects"

PRIMITIVES = {"string", "boolean", "integer", "safelong", "double", "any"}


class DefinitionError(Exception):
    pass


# --- type expressions -------------------------------------------------------


@dataclass(frozen=True)
class Prim:
    name: str


@dataclass(frozen=True)
class Ref:
    qname: str  # package.Name


@dataclass(frozen=True)
class Optional:
    inner: object


@dataclass(frozen=True)
class List:
    inner: object


@dataclass(frozen=True)
class Set:
    inner: object


@dataclass(frozen=True)
class Map:
    key: object
    value: object


def parse_type(text: str):
    """Parses `optional<map<K, V>>` and friends into type-expression nodes."""
    tokens = re.findall(r"[A-Za-z0-9_.]+|[<>,]", text)
    pos = 0

    def take(expected=None):
        nonlocal pos
        if pos >= len(tokens):
            raise DefinitionError(f"unexpected end of type {text!r}")
        tok = tokens[pos]
        if expected is not None and tok != expected:
            raise DefinitionError(f"expected {expected!r} in type {text!r}")
        pos += 1
        return tok

    def expr():
        name = take()
        if pos < len(tokens) and tokens[pos] == "<":
            take("<")
            args = [expr()]
            while tokens[pos] == ",":
                take(",")
                args.append(expr())
            take(">")
            arity = {"optional": 1, "list": 1, "set": 1, "map": 2}
            if arity.get(name) != len(args):
                raise DefinitionError(f"bad generic {name!r} in type {text!r}")
            if name == "optional":
                return Optional(args[0])
            if name == "list":
                return List(args[0])
            if name == "set":
                return Set(args[0])
            return Map(args[0], args[1])
        if name in PRIMITIVES:
            return Prim(name)
        if "." in name:
            return Ref(name)
        return Ref(f"{DEFAULT_PACKAGE}.{name}")

    result = expr()
    if pos != len(tokens):
        raise DefinitionError(f"trailing text in type {text!r}")
    return result


def refs_of(t):
    """Every named type an expression mentions."""
    if isinstance(t, Ref):
        yield t.qname
    elif isinstance(t, (Optional, List, Set)):
        yield from refs_of(t.inner)
    elif isinstance(t, Map):
        yield from refs_of(t.key)
        yield from refs_of(t.value)


# --- definitions ------------------------------------------------------------


@dataclass
class TypeDef:
    package: str
    name: str
    source: str

    @property
    def qname(self) -> str:
        return f"{self.package}.{self.name}"


@dataclass
class Field:
    key: str
    type: object


@dataclass
class Record(TypeDef):
    fields: list[Field] = field(default_factory=list)
    staged_builder: bool = False


@dataclass
class Variant:
    tag: str
    type: object


@dataclass
class Union(TypeDef):
    variants: list[Variant] = field(default_factory=list)


@dataclass
class Enum(TypeDef):
    values: list[str] = field(default_factory=list)
    reader: bool = False


@dataclass
class Alias(TypeDef):
    target: object = None


@dataclass
class Model:
    types: dict[str, TypeDef]  # by qualified name, in definition order

    def get(self, qname: str) -> TypeDef:
        return self.types[qname]

    def of_kind(self, kind):
        return [t for t in self.types.values() if isinstance(t, kind)]


def _load_type(package: str, name: str, body: dict, source: str) -> TypeDef:
    package = body.get("package", package)
    kinds = [k for k in ("fields", "union", "values", "alias") if k in body]
    if len(kinds) != 1:
        raise DefinitionError(f"{source}: {name} must have exactly one of fields/union/values/alias")
    kind = kinds[0]
    if kind == "fields":
        fields = body["fields"] or {}
        return Record(package, name, source,
                      [Field(str(k), parse_type(str(v))) for k, v in fields.items()])
    if kind == "union":
        return Union(package, name, source,
                     [Variant(str(k), parse_type(str(v))) for k, v in body["union"].items()])
    if kind == "values":
        values = [str(v) for v in body["values"]]
        for v in values:
            if not re.fullmatch(r"[A-Z][A-Z0-9_]*", v):
                raise DefinitionError(f"{source}: {name}: enum value {v!r} is not SCREAMING_SNAKE_CASE")
        return Enum(package, name, source, values)
    return Alias(package, name, source, parse_type(str(body["alias"])))


def _no_duplicate_keys_loader():
    class Loader(yaml.SafeLoader):
        pass

    def construct_mapping(loader, node, deep=False):
        seen = set()
        for key_node, _ in node.value:
            key = loader.construct_object(key_node, deep=deep)
            if key in seen:
                raise DefinitionError(f"duplicate key {key!r} at line {key_node.start_mark.line + 1}")
            seen.add(key)
        return yaml.SafeLoader.construct_mapping(loader, node, deep)

    Loader.add_constructor(yaml.resolver.BaseResolver.DEFAULT_MAPPING_TAG, construct_mapping)
    # Keys such as "y", "n", "on" and "not" are texts here, never booleans.
    Loader.yaml_implicit_resolvers = {
        k: [(tag, rx) for tag, rx in v if tag != "tag:yaml.org,2002:bool"]
        for k, v in yaml.SafeLoader.yaml_implicit_resolvers.items()
    }
    return Loader


def _qualify(name: str) -> str:
    return name if "." in name else f"{DEFAULT_PACKAGE}.{name}"


def load(api_dir: Path) -> Model:
    loader = _no_duplicate_keys_loader()
    types: dict[str, TypeDef] = {}
    builders: list[str] = []
    readers: list[str] = []
    for path in sorted(api_dir.glob("*.yml")):
        doc = yaml.load(path.read_text(), Loader=loader) or {}
        if "types" in doc:
            defs = doc["types"]["definitions"]
            package = defs.get("default-package", DEFAULT_PACKAGE)
            for name, body in (defs.get("objects") or {}).items():
                t = _load_type(package, str(name), body, path.name)
                if t.qname in types:
                    raise DefinitionError(f"{path.name}: {t.qname} is already defined in {types[t.qname].source}")
                types[t.qname] = t
        builders += [_qualify(n) for n in doc.get("staged-builders", [])]
        readers += [_qualify(n) for n in doc.get("enum-readers", [])]

    model = Model(types)
    for t in types.values():
        exprs = []
        if isinstance(t, Record):
            exprs = [f.type for f in t.fields]
        elif isinstance(t, Union):
            exprs = [v.type for v in t.variants]
        elif isinstance(t, Alias):
            exprs = [t.target]
        for e in exprs:
            for q in refs_of(e):
                if q not in types:
                    raise DefinitionError(f"{t.source}: {t.name} refers to undefined type {q}")
    for q in builders:
        if not isinstance(types.get(q), Record):
            raise DefinitionError(f"staged builder for {q}, which is not a record")
        types[q].staged_builder = True
    for q in readers:
        if not isinstance(types.get(q), Enum):
            raise DefinitionError(f"enum reader for {q}, which is not an enum")
        types[q].reader = True
    return model
