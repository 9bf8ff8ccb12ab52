#include "registration.h"

#include "binding/module.h"
#include "classes/classes.h"
#include "module_functions.h"

namespace brastel_python {

bool register_classes(PyObject* module) { return binding::add_classes(module, AllClasses{}); }

int register_module(PyObject* module) {
  return binding::guarded(-1, [&] {
    bool ok = binding::check_module(module) && register_classes(module) &&
              binding::add_functions(module, module_functions());
    return ok ? 0 : -1;
  });
}

}  // namespace brastel_python
