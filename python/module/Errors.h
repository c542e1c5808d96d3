// How the module fails: every failure of the library or the tool's code becomes one of the
// package's exceptions (morvit.MorvitError and its kinds), carrying the status, the cause in
// words and the file.
#ifndef MORVIT_PYTHON_ERRORS_H
#define MORVIT_PYTHON_ERRORS_H

#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <vector>

namespace morvit::python {

// A job with faults: each with the JSON path of its value.
struct JobFault {
  std::string path;
  std::string message;
  std::uint32_t line = 0, column = 0;
};
struct JobFaultsError {
  std::string message;
  std::vector<JobFault> faults;
};

// Raises the package's exception `kind` ("MorvitError", "RunStopped", ...) with its members
// given as keyword arguments; `message` is the exception's text.
[[noreturn]] void Raise(const char* kind, const std::string& message, pybind11::dict members);

// Turns the library's and the tool's C++ exceptions into the package's, for every binding.
void RegisterErrorTranslation();

}  // namespace morvit::python

#endif  // MORVIT_PYTHON_ERRORS_H
