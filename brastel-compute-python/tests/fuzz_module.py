"""Fuzzes the module from pure Python: every callable it offers, found by
introspection, with arguments of every kind. test_fuzz.py runs it in a
child process, so that a crash is a failed test rather than a dead run.

    python3 fuzz_module.py [--seed N] [--calls N] [--log PATH]

What it calls: every class's static factories and instance methods (also
through the method descriptor, with receivers of every class), every module
function, the constructor of a callable class, every operator between
objects of every class and plain values, and what the interpreter offers on
any class (instantiation, subclassing, replacing an attribute, copying).
Objects of every class are grown from the factories: results join a pool
that later calls take their arguments from.

What fails a run (printed as JSON on the last line, exit status 1): a
SystemError, an exception left set beside a result, an exception other than
the module's own kinds, a panic that input should never cause, an interrupt
(KeyboardInterrupt, SystemExit, MemoryError) raised by an argument that does
not come back unchanged and at once, a to_json that is not valid JSON.
"""

import argparse
import collections
import copy
import ctypes
import faulthandler
import json
import math
import operator
import pickle
import random
import sys

from brastel.compute import _compute as module

INTERRUPTS = (KeyboardInterrupt, SystemExit, MemoryError)

# Panics that arguments may cause; any other is a fault.
EXPECTED_PANICS = ("integer value exceeds i32 range: ", "dictionary changed size during iteration",
                   "dictionary keys changed during iteration")

# Texts that the text-named enums accept, so that calls taking one can
# succeed and grow the pool; more are read from the JSON of results.
WORDS = ["seconds", "milliseconds", "days", "hours", "minutes", "microseconds", "nanoseconds", "int64",
         "float64", "uint64", "condition_start", "persistence_start", "temperature", "pressure", "density",
         "nitrogen", "iceberg", "clickhouse", "infinity", "window_bound", "x", "a.b", "ri.asset.1"]

JSON_LIMIT = 4000  # the largest JSON of an object kept in the pool
POOL_PER_CLASS = 12

# Exceptions that hostile arguments raise: everything they raise is logged
# in FIRED, so that an interrupt can be followed to where it must come out.
FIRED = []


class HostileError(Exception):
    pass


def two_items(self, index):
    return [2.5, "x"][index]


def hostile_class(hook, error_kind, sequence):
    def fail(self, *args):
        error = error_kind() if error_kind is not HostileError else HostileError(hook)
        FIRED.append(error)
        raise error

    namespace = {hook: fail, "__repr__": lambda self: f"<raises {error_kind.__name__} from {hook}>"}
    if sequence and hook != "__getitem__":
        namespace["__getitem__"] = two_items
    return type(f"Raises{error_kind.__name__}From{hook.strip('_').title()}", (), namespace)


HOOKS = ["__float__", "__index__", "__int__", "__str__", "__iter__", "__len__", "__getitem__", "__bool__",
         "__eq__", "__lt__", "__radd__", "__rsub__"]
HOSTILE = [hostile_class(hook, kind, sequence) for hook in HOOKS
           for kind in (HostileError,) + INTERRUPTS for sequence in (False, True)]


def returning_class(sequence=False, **hooks):
    """Hooks that return the values given (a callable value is called for a
    fresh one each time): odd stand-ins for numbers, texts and sequences (of
    two items, by index)."""
    def hook(value):
        return lambda self, *args: value() if callable(value) else value

    namespace = {name: hook(value) for name, value in hooks.items()}
    namespace["__repr__"] = lambda self: f"<returns {hooks!r}>"
    if sequence:
        namespace["__getitem__"] = two_items
    return type("Returning", (), namespace)


class FloatSub(float):
    pass


class IntSub(int):
    pass


class StrSub(str):
    """A str whose own str() fails and which compares unlike its text."""

    def __str__(self):
        raise HostileError("str() of a str subclass")

    def __eq__(self, other):
        return False

    def __hash__(self):
        return 7


ODD = [
    returning_class(__float__=math.nan), returning_class(__float__=-0.0),
    returning_class(__float__="not a float"), returning_class(__float__=lambda: FloatSub(2.5)),
    returning_class(__index__=2**31), returning_class(__index__=-2**63 - 1),
    returning_class(__index__=True), returning_class(__index__=1.5),
    returning_class(__str__="seconds"), returning_class(__str__="\ud800"),
    returning_class(__str__=5), returning_class(__str__="nul\0"),
    # Sequences whose length lies, or whose iterator is no iterator.
    returning_class(True, __len__=10**6), returning_class(True, __len__=-1), returning_class(True, __len__=2**70),
    returning_class(True, __iter__=5), returning_class(True, __iter__=lambda: iter([1, 2.5, "x"]), __len__=0),
]


class DictMutator:
    """A value that changes the dict it sits in when it is read."""

    def __init__(self, target, how):
        self.target, self.how = target, how

    def __float__(self):
        if self.how == "grow":
            self.target[f"k{len(self.target)}"] = 1.0
        elif self.how == "swap" and self.target:
            key = next(iter(self.target))
            value = self.target.pop(key)
            self.target[key + "'"] = value
        return 1.0

    def __repr__(self):
        return f"<DictMutator {self.how}>"


INTS = [0, 1, -1, 7, 2**31 - 1, 2**31, -2**31, -2**31 - 1, 2**63 - 1, 2**63, -2**63, -2**63 - 1, 2**64,
        10**100, -10**100]
FLOATS = [0.0, -0.0, 1.5, -2.25, 1e-320, 1e308, -1e308, math.nan, math.inf, -math.inf, 5e-324]
TEXTS = ["", "a", "\ud800", "a\udc80b", "nul\0byte", "é€𝄞", '"\\\n\t\x01\x7f', "x" * 5000, "None"]
OTHERS = [None, True, False, b"", b"\x00\x01\xff", bytearray(b"ab"), 1 + 2j, object(), type, print, ...,
          range(3), frozenset({1, "a"}), memoryview(b"xy")]


def parameters(callable_object):
    """[(name, required)] from the text signature, the receiver left out;
    None where there is no signature to read."""
    text = getattr(callable_object, "__text_signature__", None)
    if not text or not text.startswith("(") or not text.endswith(")"):
        return None
    params = []
    for item in filter(None, (part.strip() for part in text[1:-1].split(","))):
        if not item.startswith("$") and item not in ("/", "*"):
            name, _, default = item.partition("=")
            params.append((name, not default))
    return params


def fits(params, positional, keywords):
    """Whether arguments match a parameter list by the matching rules."""
    names = [name for name, _ in params]
    if positional > len(names):
        return False
    filled = set(names[:positional])
    for keyword in keywords:
        text = str.__str__(keyword)  # a str subclass by its text
        if text not in names or text in filled:
            return False
        filled.add(text)
    return all(name in filled for name, required in params if required)


# kind: "function", "static", "method" (target is the descriptor, called
# with the receiver first) or "constructor".
Callable = collections.namedtuple("Callable", "label kind target owner params")


def discover():
    """Every class and function of the module, every method of every class."""
    classes, callables = [], []
    for name in module.__all__:
        value = getattr(module, name)
        if isinstance(value, type):
            classes.append(value)
        elif callable(value):
            callables.append(Callable(name, "function", value, None, parameters(value)))
    for cls in classes:
        for name, attribute in vars(cls).items():
            if name.startswith("__"):
                continue
            label = f"{cls.__name__}.{name}"
            if isinstance(attribute, staticmethod):
                target = getattr(cls, name)
                callables.append(Callable(label, "static", target, cls, parameters(target)))
            elif callable(attribute):
                callables.append(Callable(label, "method", attribute, cls, parameters(attribute)))
        if "__new__" in vars(cls):
            callables.append(Callable(f"{cls.__name__}()", "constructor", cls, cls, parameters(cls)))
    return classes, callables


BINARY = [operator.add, operator.sub, operator.mul, operator.truediv, operator.floordiv, operator.mod,
          operator.pow, operator.matmul, operator.and_, operator.or_, operator.xor, operator.lshift,
          operator.rshift, operator.lt, operator.le, operator.eq, operator.ne, operator.gt, operator.ge,
          operator.iadd, operator.isub, operator.imul, operator.iand, operator.ior, operator.ipow, divmod,
          lambda a, b: pow(a, b, 3), lambda a, b: pow(a, b, None)]
UNARY = [operator.neg, operator.pos, operator.abs, operator.invert, operator.index, bool, hash, repr, str,
         float, int, len, iter, copy.copy, copy.deepcopy, pickle.dumps, dir, vars]


def safe_repr(value, limit=120):
    try:
        text = repr(value)
    except BaseException as error:  # noqa: B036 - a repr may raise anything
        text = f"<repr failed: {type(error).__name__}>"
    return text if len(text) <= limit else text[:limit] + "..."


_pending = ctypes.pythonapi.PyErr_Occurred
_pending.restype = ctypes.c_void_p
_pending.argtypes = []


def error_left_set():
    # ctypes raises a pending exception itself after a call into the C API.
    try:
        return bool(_pending())
    except BaseException:  # noqa: B036 - whatever was left set
        return True


def is_panic(error):
    return type(error).__name__ == "PanicException" and type(error).__module__ == "pyo3_runtime"


class Fuzzer:
    def __init__(self, seed, log_path):
        self.rng = random.Random(seed)
        self.classes, self.callables = discover()
        self.pool = {cls: [] for cls in self.classes}
        self.words = list(WORDS)
        self.calls = 0
        self.outcomes = collections.Counter()
        self.failures = []
        self.log = open(log_path, "w", buffering=1, encoding="utf-8", errors="backslashreplace") if log_path \
            else None

    # ---- checking one call

    def fail(self, kind, description, detail=""):
        if sum(1 for f in self.failures if f["kind"] == kind) < 5:
            self.failures.append({"kind": kind, "call": description, "detail": detail})

    def call(self, description, function, *args, allowed=(), exact=None, **kwargs):
        """Runs one call and checks what came out; returns the result or None.
        `allowed` adds to the exception types a call may raise; `exact` is
        the one type it must raise."""
        self.calls += 1
        if self.log:
            self.log.write(description + "\n")
        del FIRED[:]
        try:
            result = function(*args, **kwargs)
        except BaseException as error:  # noqa: B036 - every outcome is checked
            self.outcomes[type(error).__name__] += 1
            if exact and type(error) is not exact and not FIRED:
                self.fail(f"{type(error).__qualname__} instead of {exact.__name__}", description, safe_repr(error, 300))
            self.check_error(description, error, allowed)
            return None
        self.outcomes["returned"] += 1
        if exact:
            self.fail(f"returned instead of raising {exact.__name__}", description)
        interrupts = [e for e in FIRED if isinstance(e, INTERRUPTS)]
        if interrupts:
            self.fail("interrupt swallowed", description, repr(interrupts[0]))
        if error_left_set():
            self.fail("exception left set beside a result", description)
        return result

    def check_error(self, description, error, allowed):
        interrupts = [e for e in FIRED if isinstance(e, INTERRUPTS)]
        if interrupts:
            if error is not interrupts[0]:
                self.fail("interrupt replaced", description, f"{interrupts[0]!r} came out as {error!r}")
            elif len(interrupts) > 1:
                self.fail("interrupt not propagated at once", description, repr(interrupts))
            elif getattr(error, "__notes__", None):
                self.fail("interrupt changed", description, repr(error.__notes__))
            return
        if isinstance(error, SystemError):
            self.fail("SystemError", description, str(error))
        elif is_panic(error):
            if not str(error).startswith(EXPECTED_PANICS):
                self.fail("unexpected panic", description, str(error))
        elif not isinstance(error, (TypeError, ValueError, OverflowError, RecursionError, HostileError) + allowed):
            self.fail("unexpected exception", description, f"{type(error).__qualname__}: {safe_repr(error, 300)}")

    def check_json(self, obj, description):
        if not hasattr(type(obj), "to_json"):
            return None
        text = self.call(f"{description}.to_json()", obj.to_json)
        if text is None:
            return None
        if type(text) is not str:
            self.fail("to_json not a str", description, safe_repr(text))
            return None
        try:
            value = json.loads(text, parse_constant=self.reject_constant)
        except ValueError as error:
            self.fail("to_json not valid JSON", description, f"{error}: {text[:300]!r}")
            return None
        self.harvest(value)
        return text

    @staticmethod
    def reject_constant(name):
        raise ValueError(f"{name} is not JSON")

    def harvest(self, value):
        """Enum texts from the wire (SECONDS) as words (seconds)."""
        if len(self.words) > 300:
            return
        stack = [value]
        while stack:
            item = stack.pop()
            if isinstance(item, dict):
                stack.extend(item.values())
            elif isinstance(item, list):
                stack.extend(item)
            elif isinstance(item, str) and item.isupper() and item.lower() not in self.words:
                self.words.append(item.lower())

    def keep(self, result, description):
        """Checks a result; a module object joins the pool when small."""
        cls = type(result)
        if cls not in self.pool:
            return
        text = self.check_json(result, description)
        if text is not None and len(text) > JSON_LIMIT:
            return
        samples = self.pool[cls]
        if len(samples) < POOL_PER_CLASS:
            samples.append(result)
        elif self.rng.random() < 0.2:
            samples[self.rng.randrange(POOL_PER_CLASS)] = result

    # ---- arguments

    def sample(self, cls=None):
        """An object of the class, or of any class; None while there is none."""
        classes = [c for c in ([cls] if cls else self.classes) if self.pool[c]]
        return self.rng.choice(self.pool[self.rng.choice(classes)]) if classes else None

    def plausible(self, depth=0):
        """A value a call would likely accept: to grow the pool."""
        r = self.rng.random()
        if r < 0.45 and any(self.pool.values()):
            return self.sample()
        if r < 0.6:
            return self.rng.choice([0, 1, 2, 10, 1.5, -3.0])
        if r < 0.8:
            return self.rng.choice(self.words)
        if depth:
            return None
        if r < 0.92:
            return [self.plausible(1) for _ in range(self.rng.randrange(4))]
        return {self.rng.choice(self.words): self.plausible(1) for _ in range(self.rng.randrange(3))}

    def nasty(self, depth=0):
        """Any value at all."""
        r = self.rng.random()
        if r < 0.25:
            return self.sample()
        if r < 0.55:
            return self.rng.choice(self.rng.choice([INTS, FLOATS, TEXTS, OTHERS, self.words]))
        if r < 0.72:
            return self.rng.choice(HOSTILE)()
        if r < 0.8:
            return self.rng.choice(ODD + [lambda: FloatSub(-1e300), lambda: IntSub(2**40),
                                          lambda: StrSub("seconds"), lambda: StrSub("x")])()
        if depth > 1:
            return self.rng.choice(INTS + FLOATS)
        n = self.rng.choice([0, 1, 2, 3, 5, 40])
        items = [self.nasty(depth + 1) for _ in range(n)]
        shape = self.rng.randrange(7)
        if shape == 0:
            return items
        if shape == 1:
            return tuple(items)
        if shape == 2:
            return {self.rng.choice(INTS + FLOATS + TEXTS[:7]) for _ in range(n)}
        if shape == 3:
            return {self.rng.choice(self.words + TEXTS[:7]): item for item in items}
        if shape == 4:
            return {self.rng.choice([1, None, b"k", StrSub("k"), StrSub("j")]): item for item in items}
        if shape == 5:
            target = {self.rng.choice(self.words): 1.0 for _ in range(n)}
            target["m"] = DictMutator(target, self.rng.choice(["grow", "swap", "none"]))
            return target
        return iter(items)

    def arguments(self, params, make):
        """Positional and keyword arguments for a parameter list: mostly what
        fits it, sometimes too many, too few, or keywords it does not name.
        Also whether they fit (None when the parameters are unknown)."""
        if params is None:
            return [make() for _ in range(self.rng.randrange(4))], {}, None
        required = sum(1 for _, is_required in params if is_required)
        count = self.rng.randint(required, len(params))
        args = [make() for _ in range(count)]
        kwargs = {}
        r = self.rng.random()
        if r < 0.3 and args:
            # Some given by name.
            split = self.rng.randrange(len(args))
            for (name, _), value in zip(params[split:], args[split:]):
                kwargs[name] = value
            args = args[:split]
        elif r < 0.36:
            args.append(make())
        elif r < 0.4 and args:
            args.pop()
        elif r < 0.46:
            name = self.rng.choice(["nope", "\ud800", "nul\0", StrSub("x"), "x" * 300] +
                                   [name for name, _ in params])
            kwargs[name] = make()
        return args, kwargs, fits(params, len(args), kwargs)

    # ---- actions

    def describe(self, label, args, kwargs):
        parts = [safe_repr(a) for a in args] + [f"{safe_repr(k)}={safe_repr(v)}" for k, v in kwargs.items()]
        return f"{label}({', '.join(parts)})"

    def call_callable(self, c, make):
        args, kwargs, fit = self.arguments(c.params, make)
        if c.kind == "method":
            receiver = self.sample(c.owner)
            if receiver is None or self.rng.random() < 0.05:
                receiver = self.nasty()  # the descriptor must refuse it
            args = [receiver] + args
        # Arguments that do not fit the parameters fail with TypeError and
        # nothing else, whatever they are.
        exact = TypeError if fit is False else None
        result = self.call(self.describe(c.label, args, kwargs), c.target, *args, exact=exact, **kwargs)
        if result is not None:
            self.keep(result, c.label)
        return result

    def operate(self):
        """An operator on a module object, the other operand (if any) a
        module object or anything, on either side."""
        operands = [self.sample()]
        if self.rng.random() < 0.75:
            operands.append(self.sample() if self.rng.random() < 0.5 else self.nasty())
            self.rng.shuffle(operands)
            op = self.rng.choice(BINARY)
        else:
            op = self.rng.choice(UNARY)
        label = f"{getattr(op, '__name__', 'op')}({', '.join(safe_repr(o) for o in operands)})"
        result = self.call(label, op, *operands)
        if result is not None:
            self.keep(result, "operator")

    def class_abuse(self):
        """What any class offers: none of it may make a half-built object."""
        cls = self.rng.choice(self.classes)
        name = cls.__name__
        other = self.rng.choice(self.classes)
        value = self.nasty()
        actions = [
            (f"{name}()", lambda: cls()),
            (f"object.__new__({name})", lambda: object.__new__(cls)),
            (f"{name}.__new__({other.__name__})", lambda: cls.__new__(other, value)),
            (f"class X({name})", lambda: type("X", (cls,), {})),
            (f"setattr({name}, __new__)", lambda: setattr(cls, "__new__", lambda c, *a: object.__new__(c))),
            (f"setattr({name}, to_json)", lambda: setattr(cls, "to_json", None)),
            (f"delattr({name}, __new__)", lambda: delattr(cls, "__new__")),
            (f"{name}.__dict__ write", lambda: cls.__dict__.__setitem__("x", 1)),
        ]
        sample = self.sample(cls)
        if sample is not None:
            actions += [
                (f"setattr({name} object)", lambda: setattr(sample, "x", 1)),
                (f"__class__ of {name} object", lambda: setattr(sample, "__class__", other)),
                (f"__reduce_ex__ of {name} object", lambda: sample.__reduce_ex__(2)),
            ]
        label, action = self.rng.choice(actions)
        result = self.call(label, action, allowed=(AttributeError,))
        if isinstance(result, type) and result.__module__ != "_compute":
            self.fail("a class could be subclassed or replaced", label)

    # ---- the run

    def grow(self, attempts):
        """Makes objects of as many classes as the callables allow: until
        every class has one, or a long while brings no new class."""
        since_new = 0
        for _ in range(attempts):
            sampled = sum(1 for samples in self.pool.values() if samples)
            if sampled == len(self.classes) or since_new > 3000:
                break
            self.call_callable(self.rng.choice(self.callables), self.plausible)
            since_new = 0 if sum(1 for samples in self.pool.values() if samples) > sampled else since_new + 1

    def run(self, calls):
        self.grow(min(calls // 3, 20000))
        actions = [lambda c=c: self.call_callable(c, self.nasty) for c in self.callables]
        actions += [self.operate] * max(8, len(self.callables) // 3)
        actions += [self.class_abuse] * max(2, len(self.callables) // 20)
        actions += [lambda: self.call_callable(self.rng.choice(self.callables), self.plausible)] * \
            max(4, len(self.callables) // 4)
        while self.calls < calls:
            self.rng.shuffle(actions)
            for action in actions:
                action()
                if self.calls >= calls:
                    break
        # Every object kept, to_json'd once more after everything else ran.
        for samples in self.pool.values():
            for sample in samples:
                self.check_json(sample, "pool")

    def summary(self):
        return {
            "calls": self.calls,
            "callables": len(self.callables),
            "classes_without_samples": [cls.__name__ for cls in self.classes if not self.pool[cls]],
            "outcomes": dict(self.outcomes.most_common()),
            "failures": self.failures,
        }


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--calls", type=int, default=50_000)
    parser.add_argument("--log", help="each call is written here before it is made")
    options = parser.parse_args()
    faulthandler.enable()
    sys.unraisablehook = lambda unraisable: None  # str() failures of enum texts land here
    sys.setrecursionlimit(10_000)
    fuzzer = Fuzzer(options.seed, options.log)
    fuzzer.run(options.calls)
    summary = fuzzer.summary()
    sys.stdout.write(json.dumps(summary) + "\n")
    sys.stdout.flush()
    # A normal exit: freeing the pool at shutdown is checked too.
    sys.exit(1 if summary["failures"] else 0)


if __name__ == "__main__":
    main()
