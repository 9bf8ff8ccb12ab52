"""Registration: the 31 classes in order, __all__, and what every class is."""

import importlib
import inspect
import sys
import weakref

import pytest

from brastel.compute import _compute
from conftest import CLASSES, FUNCTIONS, own_methods

RANGE_BUILDERS = CLASSES[25:]


def test_all_lists_classes_then_functions_in_registration_order():
    names = _compute.__all__
    assert isinstance(names, list)
    assert names[:31] == CLASSES
    # The module functions follow the classes, in their own order.
    assert names[31:] == FUNCTIONS[: len(names) - 31]
    assert len(set(names)) == len(names)


def test_module_has_only_its_registered_names():
    own = {name for name in vars(_compute) if not name.startswith("__")}
    assert own == set(_compute.__all__)
    assert _compute.__doc__ == ""
    assert not hasattr(_compute, "__version__")


@pytest.mark.parametrize("name", CLASSES)
def test_class_attributes(name):
    cls = getattr(_compute, name)
    assert cls.__module__ == "_compute"
    assert cls.__name__ == name
    assert cls.__qualname__ == name
    assert repr(cls) == f"<class '_compute.{name}'>"
    assert cls.__bases__ == (object,)
    with pytest.raises(TypeError):
        type("Sub", (cls,), {})
    if name == "RangeMap":
        assert str(inspect.signature(cls)) == "(output, start=None, end=None)"
    else:
        assert cls.__doc__ is None
        with pytest.raises(TypeError):
            cls()


@pytest.mark.parametrize("name", CLASSES)
def test_to_json_is_the_last_method_of_the_value_classes(name):
    cls = getattr(_compute, name)
    methods = own_methods(cls)
    if name in RANGE_BUILDERS:
        assert "to_json" not in methods
    else:
        assert methods[-1] == "to_json"
        assert str(inspect.signature(cls.to_json)) == "(self, /)"
        assert cls.to_json.__doc__ is None


def test_instances_take_no_attributes_and_no_weak_references():
    value = _compute.FloatConstant.Literal(1.0)
    with pytest.raises(AttributeError):
        value.extra = 1
    with pytest.raises(AttributeError):
        value.__dict__
    with pytest.raises(TypeError):
        weakref.ref(value)
    assert repr(value).startswith("<_compute.FloatConstant object at 0x")


@pytest.mark.parametrize("name", CLASSES)
def test_class_attributes_cannot_be_replaced(name):
    # A replaced __new__ would make objects whose value was never built.
    cls = getattr(_compute, name)
    before = dict(vars(cls))
    for attribute in ("__new__", "to_json", "extra_attribute"):
        with pytest.raises(TypeError) as error:
            setattr(cls, attribute, lambda *args: None)
        assert str(error.value) == f"cannot set '{attribute}' attribute of immutable type '_compute.{name}'"
        with pytest.raises(TypeError):
            delattr(cls, attribute)
    assert dict(vars(cls)) == before


def test_class_objects_survive_a_fresh_import():
    name = "brastel.compute._compute"
    first = sys.modules.pop(name)
    try:
        second = importlib.import_module(name)
        assert second is not first
        assert second.__all__ == first.__all__
        for cls in CLASSES:
            assert getattr(second, cls) is getattr(first, cls)
    finally:
        sys.modules[name] = first


def test_range_map_is_the_one_callable_class():
    value = _compute.RangeMap("high", start=10)
    assert value.to_json() == '{"start":{"type":"literal","literal":10.0},"output":{"type":"literal","literal":"high"}}'
    assert _compute.RangeMap(output="o", end=None).to_json() == '{"output":{"type":"literal","literal":"o"}}'
    with pytest.raises(TypeError) as error:
        _compute.RangeMap()
    assert str(error.value) == "RangeMap.__new__() missing 1 required positional argument: 'output'"


def run_exec_step(prepare):
    """Makes a fresh module object from the definition, lets prepare() change
    it, then runs the exec step on it."""
    import importlib.util

    spec = importlib.util.spec_from_file_location("brastel.compute._compute", _compute.__file__)
    module = importlib.util.module_from_spec(spec)
    prepare(module)
    spec.loader.exec_module(module)
    return module


def test_exec_step_appends_to_an_existing_all():
    module = run_exec_step(lambda m: setattr(m, "__all__", ["before"]))
    assert module.__all__[:2] == ["before", "NumericSeries"]
    assert module.__all__[1:] == _compute.__all__
    assert module.Duration is _compute.Duration


def test_exec_step_refuses_an_all_that_is_not_a_list():
    with pytest.raises(TypeError) as error:
        run_exec_step(lambda m: setattr(m, "__all__", ("before",)))
    assert str(error.value) == "'tuple' object is not an instance of 'list'"
