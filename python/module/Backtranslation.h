// Back-translation for Python: a run of the library whose database is a Python object.
#ifndef MORVIT_PYTHON_BACKTRANSLATION_H
#define MORVIT_PYTHON_BACKTRANSLATION_H

#include <pybind11/pybind11.h>

namespace morvit::python {

void BindBacktranslation(pybind11::module_& module);

}  // namespace morvit::python

#endif  // MORVIT_PYTHON_BACKTRANSLATION_H
