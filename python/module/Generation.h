// Generation and compression for Python: a job in the tool's job format written into a data set,
// and the compression of bytes.
#ifndef MORVIT_PYTHON_GENERATION_H
#define MORVIT_PYTHON_GENERATION_H

#include <pybind11/pybind11.h>

namespace morvit::python {

// The parcel class (Parcel), shared by generation and back-translation.
void BindParcel(pybind11::module_& module);
void BindGeneration(pybind11::module_& module);
void BindCompression(pybind11::module_& module);

}  // namespace morvit::python

#endif  // MORVIT_PYTHON_GENERATION_H
