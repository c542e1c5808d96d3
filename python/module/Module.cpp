// The compiled core of the Python package `morvit` (morvit._morvit): the library's data-set
// model, listing events, generation, back-translation and compression. The package's
// __init__.py puts its names, exceptions and documentation in front of it.
#include <pybind11/pybind11.h>

#include "module/Backtranslation.h"
#include "module/DataSet.h"
#include "module/Errors.h"
#include "module/Generation.h"
#include "module/Listing.h"

#ifndef MORVIT_VERSION
#error "MORVIT_VERSION comes from the build"
#endif

PYBIND11_MODULE(_morvit, module) {
  using namespace morvit::python;
  module.doc() = "The compiled core of the morvit package; use the package `morvit`.";
  module.attr("__version__") = MORVIT_VERSION;
  RegisterErrorTranslation();
  BindParcel(module);
  BindDataSet(module);
  BindListing(module);
  BindGeneration(module);
  BindCompression(module);
  BindBacktranslation(module);
}
