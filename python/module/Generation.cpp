// morvit.generate: the tool's job check and generation, on a job given as a Python dict (or a
// job file), into the data directory of the call.
#include "module/Generation.h"

#include <pybind11/stl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "cli/ScratchDirectory.h"
#include "cli/ToolPlatform.h"
#include "job/JobCheck.h"
#include "job/JobGeneration.h"
#include "module/DataSetHost.h"
#include "module/Errors.h"
#include "morvit/VBase.h"
#include "morvit/VDomainPath.h"
#include "morvit/VFileCompression.h"

namespace py = pybind11;
namespace fs = std::filesystem;

namespace morvit::python {
namespace {

// A file written by a generation.
struct WrittenFile {
  std::string file;      // its name
  std::string path;      // its full path
  std::string typeName;  // "REBA"; "XBFI" for a node's file list
  ObjParcelType parcel;
};

// The call's host: the warnings of the generation (a node's file pattern that matched nothing)
// are kept, to become Python warnings once the library has returned; other messages are the
// library's.
class GenerationHost : public CallHost {
 public:
  using CallHost::CallHost;
  void WriteMessage(int number, const std::vector<VMessageValue>& values) override {
    if (const std::optional<std::string> warning = tool::GenerationWarning(number, values)) {
      m_messages.push_back(*warning);
    } else {
      VDataSetHost::WriteMessage(number, values);
    }
  }
  const std::vector<std::string>& Messages() const { return m_messages; }

 private:
  std::vector<std::string> m_messages;
};

std::vector<WrittenFile> Generate(const py::object& job, const std::string& data,
                                  const std::string& project) {
  std::unique_ptr<tool::JobSource> source;
  if (py::isinstance<py::str>(job) || py::hasattr(job, "__fspath__")) {
    source = std::make_unique<tool::JobSource>(py::str(job).cast<std::string>());
  } else {
    const std::string text = py::module_::import("json").attr("dumps")(job).cast<std::string>();
    source = std::make_unique<tool::JobSource>("<job>", text);
  }
  // The whole job is checked before the first file is written.
  tool::JobFaults faults(source->Name());
  const std::vector<tool::CheckedDomain> domains = tool::CheckJob(*source, faults);
  if (!faults.Empty()) {
    JobFaultsError error;
    const std::string count = std::to_string(faults.Count());
    error.message = (faults.Full() ? "stopped after " + count : count) +
                    (faults.Count() == 1 ? " fault" : " faults") + " in the job; nothing written";
    for (const tool::PlacedFault& fault : faults.Faults()) {
      error.faults.push_back({fault.path, fault.what, fault.place.line, fault.place.column});
      error.message +=
          "\n  " + (fault.path.empty() ? std::string("(job)") : fault.path) + ": " + fault.what;
    }
    throw error;
  }
  const fs::path directory = fs::absolute(tool::PathFromUtf8(data));
  fs::create_directories(directory);
  std::vector<WrittenFile> written;
  std::vector<std::string> messages;
  {
    GenerationHost host(tool::Utf8(directory), project);
    std::unique_ptr<VManager, void (*)(VManager*)> manager(
        VBase_CreateManager(), [](VManager* m) { VBase_DeleteManager(&m); });
    tool::GenerateCheckedJob(
        *source, domains, *manager,
        [&](const ObjParcelType& parcel) {
          VDomainPath path;
          const std::string full = path.FindFile(parcel);
          written.push_back({tool::Utf8(tool::PathFromUtf8(full).filename()), full,
                             tool::WrittenDomainName(parcel.domainType), parcel});
        },
        tool::Utf8(directory));
    messages = host.Messages();
  }
  for (const std::string& message : messages) {
    PyErr_WarnEx(py::module_::import("morvit").attr("MorvitWarning").ptr(), message.c_str(), 1);
  }
  return written;
}

// Bytes through one of the library's file compressions, in a scratch directory.
py::bytes Compress(const std::string& data,
                   const std::function<int(const CString&, const CString&)>& step) {
  const tool::ScratchDirectory scratch("python");
  const fs::path in = scratch.Path() / "in", out = scratch.Path() / "out";
  {
    std::ofstream file(in, std::ios::binary);
    file.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!file) throw tool::Failure("cannot write the bytes into the scratch space");
  }
  const int result = step(tool::Utf8(in), tool::Utf8(out));
  if (result != kCompressOk) {
    py::dict members;
    members["status"] = result;
    members["cause"] = std::string(CompressResultText(result));
    Raise("MorvitError", CompressResultText(result), members);
  }
  std::ifstream file(out, std::ios::binary);
  return py::bytes(std::string(std::istreambuf_iterator<char>(file), {}));
}

}  // namespace

void BindParcel(py::module_& module) {
  py::class_<ObjParcelType>(module, "Parcel",
                            "The identity of a domain file: the parcel the library reports.")
      .def_readonly("domain_type", &ObjParcelType::domainType)
      .def_readonly("scope", &ObjParcelType::scope)
      .def_readonly("version", &ObjParcelType::version)
      .def_readonly("object", &ObjParcelType::objectNumber)
      .def_readonly("length", &ObjParcelType::length,
                    "the file's length (modulo 65536) for a file written")
      .def_property_readonly(
          "time_stamp",
          [](const ObjParcelType& p) {
            return std::vector<std::uint16_t>(std::begin(p.timeStamp), std::end(p.timeStamp));
          },
          "year (two digits), month, day, hour, minute, second, millisecond")
      .def_readonly("major_version", &ObjParcelType::majorVersion)
      .def_readonly("minor_version", &ObjParcelType::minorVersion)
      .def("__repr__", [](const ObjParcelType& p) {
        return "<Parcel type " + std::to_string(p.domainType) + " scope " +
               std::to_string(p.scope) + " version " + std::to_string(p.version) + " object " +
               std::to_string(p.objectNumber) + ">";
      });
}

void BindGeneration(py::module_& module) {
  py::class_<WrittenFile>(module, "WrittenFile", "A domain file a generation wrote.")
      .def_readonly("file", &WrittenFile::file, "its name")
      .def_readonly("path", &WrittenFile::path, "its full path")
      .def_readonly("type_name", &WrittenFile::typeName, "its domain type's name")
      .def_readonly("parcel", &WrittenFile::parcel, "its Parcel")
      .def("__repr__", [](const WrittenFile& w) {
        return "<WrittenFile " + w.file + " " + w.typeName + " " + std::to_string(w.parcel.length) +
               " bytes>";
      });
  module.def("generate", &Generate, py::arg("job"), py::arg("data_dir"),
             py::arg("project_dir") = std::string(),
             "Builds the domain files a job describes into `data_dir` (made when missing).\n\n"
             "`job` is a dict in the job format of `morvit generate` (docs/job-format.md), or\n"
             "the path of a job file. The whole job is checked first: any fault raises one\n"
             "JobError that lists every fault with its JSON path, and nothing is written.\n"
             "`project_dir` is the root of a node's directory kinds (default: `data_dir`).\n"
             "Returns the files written, in order, each with its Parcel.");
}

void BindCompression(py::module_& module) {
  module.def(
      "implode",
      [](const py::bytes& data, bool ascii, unsigned dictionary) {
        return Compress(data, [&](const CString& in, const CString& out) {
          return ImplodeFile(in, out, ascii ? 1 : 0, dictionary);
        });
      },
      py::arg("data"), py::arg("ascii") = false, py::arg("dictionary") = 4096,
      "The bytes compressed as the domains' parts are (DCL implode): binary literals unless\n"
      "`ascii`, a dictionary of 1024, 2048 or 4096 bytes.");
  module.def(
      "explode", [](const py::bytes& data) { return Compress(data, ExplodeFile); }, py::arg("data"),
      "The bytes of an imploded stream expanded; a stream cut short or damaged raises\n"
      "MorvitError.");
}

}  // namespace morvit::python
