// The data set, its domains and the table of domain types, for Python.
#ifndef MORVIT_PYTHON_DATASET_H
#define MORVIT_PYTHON_DATASET_H

#include <pybind11/pybind11.h>

namespace morvit::python {

void BindDataSet(pybind11::module_& module);

}  // namespace morvit::python

#endif  // MORVIT_PYTHON_DATASET_H
