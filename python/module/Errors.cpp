// The translation of C++ failures into the package's exceptions.
#include "module/Errors.h"

#include <filesystem>

#include "cli/Failure.h"
#include "cli/ToolPlatform.h"
#include "job/JobGeneration.h"
#include "morvit/platform.h"

namespace py = pybind11;

namespace morvit::python {

void Raise(const char* kind, const std::string& message, py::dict members) {
  py::object type = py::module_::import("morvit").attr(kind);
  py::object error = type(message, **members);
  PyErr_SetObject(type.ptr(), error.ptr());
  throw py::error_already_set();
}

namespace {

[[noreturn]] void RaiseFileError(const CFileException& error) {
  py::dict members;
  members["cause"] = std::string(
      error.m_strReason.empty() ? CFileException::GetCauseText(error.m_cause) : error.m_strReason);
  if (!error.m_strFileName.empty()) members["file"] = std::string(error.m_strFileName);
  members["cause_code"] = error.m_cause;
  if (error.m_lOsError >= 0) members["os_error"] = error.m_lOsError;
  Raise("FileError", DescribeFileException(error), members);
}

void Translate(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const JobFaultsError& error) {
    py::list faults;
    py::object type = py::module_::import("morvit").attr("JobFault");
    for (const JobFault& fault : error.faults) {
      faults.append(type(fault.path, fault.message, fault.line, fault.column));
    }
    py::dict members;
    members["faults"] = faults;
    Raise("JobError", error.message, members);
  } catch (const tool::StepFailure& error) {
    py::dict members;
    members["status"] = error.Status();
    members["cause"] = error.Reason();
    Raise("MorvitError", error.what(), members);
  } catch (const CFileException& error) {
    RaiseFileError(error);
  } catch (const std::filesystem::filesystem_error& error) {
    // A directory made or a file copied by the module itself: the same words as the library's.
    const int code = error.code().value();
    RaiseFileError(
        CFileException(CFileException::OsErrorToCause(code), code, tool::Utf8(error.path1())));
  } catch (const tool::Failure& error) {
    Raise("MorvitError", error.what(), py::dict());
  }
}

}  // namespace

void RegisterErrorTranslation() {
  py::register_exception_translator([](std::exception_ptr failure) {
    if (failure) Translate(failure);
  });
}

}  // namespace morvit::python
