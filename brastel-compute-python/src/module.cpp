// The module's entry point: multi-phase initialisation, one exec step.
#include "python.h"

#include "registration.h"

namespace {

int compute_exec(PyObject* module) { return brastel_python::register_module(module); }

PyModuleDef_Slot compute_slots[] = {
    {Py_mod_exec, reinterpret_cast<void*>(compute_exec)},
    {0, nullptr},
};

PyModuleDef compute_def = {
    PyModuleDef_HEAD_INIT,
    "_compute",
    "",
    0,
    nullptr,
    compute_slots,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace

PyMODINIT_FUNC PyInit__compute(void) { return PyModuleDef_Init(&compute_def); }
