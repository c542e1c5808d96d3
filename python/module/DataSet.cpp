// The data set for Python: the library's inventory of a directory and its verdicts, each domain
// with its identity, parts and listing events.
#include "module/DataSet.h"

#include <pybind11/stl.h>

#include <filesystem>
#include <memory>

#include "cli/ToolPlatform.h"
#include "dataset/PrivateView.h"
#include "module/DataSetHost.h"
#include "module/Listing.h"
#include "morvit/VDataSet.h"

namespace py = pybind11;
namespace fs = std::filesystem;

namespace morvit::python {
namespace {

// A data set read once: its directory and inventory. Its domains are read in a private view
// made for each call and gone with it: a script that ends without its objects being destroyed
// leaves no scratch directory behind.
struct DataSetState {
  fs::path directory;
  VDataSetInventory inventory;
};

class Domain {
 public:
  Domain(std::shared_ptr<DataSetState> state, std::size_t index)
      : m_state(std::move(state)), m_index(index) {}
  const VDataSetDomain& Get() const { return m_state->inventory.domains.at(m_index); }

  py::object Events(bool text, bool strict, bool valuesOnly) const {
    const tool::PrivateView view(m_state->directory);
    const CallHost host(tool::Utf8(view.Data()));
    const std::string shown = tool::Utf8(m_state->directory / tool::PathFromUtf8(Get().file));
    return ListEvents(shown, view.Data() / tool::PathFromUtf8(Get().file), text, strict,
                      valuesOnly);
  }

 private:
  std::shared_ptr<DataSetState> m_state;
  std::size_t m_index;
};

class DataSet {
 public:
  DataSet(const std::string& path, bool judge) : m_state(std::make_shared<DataSetState>()) {
    m_state->directory = fs::absolute(tool::PathFromUtf8(path));
    m_state->inventory = VReadDataSet(tool::Utf8(m_state->directory));
    if (judge) {
      const tool::PrivateView view(m_state->directory);
      const CallHost host(tool::Utf8(view.Data()));
      VJudgeDomains(m_state->inventory, tool::Utf8(view.Data()));
    }
  }

  std::string Path() const { return tool::Utf8(m_state->directory); }
  std::size_t Size() const { return m_state->inventory.domains.size(); }
  Domain At(std::size_t index) const {
    if (index >= Size()) throw py::index_error("no domain " + std::to_string(index));
    return Domain(m_state, index);
  }
  // The domain of a file (any of its parts, any case), or a KeyError.
  Domain Find(const std::string& file) const {
    const VDataSetDomain* found = VFindDomainOfFile(m_state->inventory, file);
    if (found == nullptr) throw py::key_error("no domain has the file " + file);
    return Domain(m_state, static_cast<std::size_t>(found - m_state->inventory.domains.data()));
  }
  py::list Domains() const {
    py::list domains;
    for (std::size_t i = 0; i < Size(); ++i) domains.append(Domain(m_state, i));
    return domains;
  }
  const std::vector<VDataSetFile>& Others() const { return m_state->inventory.others; }

 private:
  std::shared_ptr<DataSetState> m_state;
};

py::object TypeOrNone(const VDomainType* type) {
  return type == nullptr ? py::none() : py::cast(type, py::return_value_policy::reference);
}

const char* RoleName(VFileRole role) {
  switch (role) {
    case VFileRole::domain:
      return "domain";
    case VFileRole::part:
      return "part";
    case VFileRole::stalePart:
      return "stale part";
    case VFileRole::staging:
      return "staging";
    case VFileRole::journal:
      return "journal";
    case VFileRole::sibling:
      return "sibling";
    case VFileRole::orphan:
      return "orphan";
    case VFileRole::foreign:
      return "foreign";
    case VFileRole::table:
      return "table";
    case VFileRole::damagedTable:
      return "damaged table";
  }
  return "foreign";
}

const char* PartNamingName(VPartNaming naming) {
  switch (naming) {
    case VPartNaming::single:
      return "single";
    case VPartNaming::split:
      return "split";
    case VPartNaming::continued:
      return "continued";
  }
  return "single";
}

}  // namespace

void BindDataSet(py::module_& module) {
  py::class_<VDomainType>(module, "DomainType", "A domain type of the library's one table.")
      .def_readonly("number", &VDomainType::number, "the domain type number")
      .def_property_readonly(
          "code", [](const VDomainType& t) { return std::string(t.code); },
          "the two letters that begin its data-set names")
      .def_property_readonly(
          "name", [](const VDomainType& t) { return std::string(t.name); }, "its name (\"REBA\")")
      .def_property_readonly(
          "area", [](const VDomainType& t) { return VDomainAreaName(t.area); },
          "node, configuration or program")
      .def_property_readonly(
          "parts", [](const VDomainType& t) { return PartNamingName(t.parts); },
          "single, split (one compressed stream in part files) or continued")
      .def_readonly("block_headers", &VDomainType::blockHeaders,
                    "its files carry the compress and structure headers")
      .def("__repr__", [](const VDomainType& t) {
        return "<DomainType " + std::string(t.name) + " " + t.code + " " +
               std::to_string(t.number) + ">";
      });

  module.def(
      "domain_types",
      [] {
        py::list types;
        for (const VDomainType& type : VDomainTypes()) {
          types.append(py::cast(&type, py::return_value_policy::reference));
        }
        return types;
      },
      "Every domain type that has a data-set name, in ascending type order.");
  module.def(
      "domain_type",
      [](const py::object& key) {
        if (py::isinstance<py::int_>(key)) return TypeOrNone(VFindDomainType(key.cast<int>()));
        return TypeOrNone(VFindDomainTypeByCode(key.cast<std::string>()));
      },
      py::arg("key"), "The domain type of a number or a two-letter code (any case), or None.");

  py::class_<VDataSetName>(module, "DataSetName", "A data-set name TTSSVVVV.COO taken apart.")
      .def_property_readonly("code", [](const VDataSetName& n) { return std::string(n.code); })
      .def_property_readonly("type", [](const VDataSetName& n) { return TypeOrNone(n.type); })
      .def_readonly("scope", &VDataSetName::scope)
      .def_readonly("version", &VDataSetName::version)
      .def_readonly("object", &VDataSetName::object)
      .def("__repr__", [](const VDataSetName& n) {
        return "<DataSetName " + std::string(n.code) + " scope " + std::to_string(n.scope) +
               " version " + std::to_string(n.version) + " object " + std::to_string(n.object) +
               ">";
      });
  module.def(
      "parse_name",
      [](const std::string& name) -> py::object {
        const std::optional<VDataSetName> parsed = VParseDataSetName(name);
        return parsed ? py::cast(*parsed) : py::none();
      },
      py::arg("file_name"),
      "A data-set file name taken apart (letters in either case), or None when it is none.");

  py::class_<VDataSetFile>(module, "DataSetFile",
                           "A file of the data-set directory that is no domain's file.")
      .def_property_readonly("name", [](const VDataSetFile& f) { return f.name; })
      .def_property_readonly(
          "role", [](const VDataSetFile& f) { return RoleName(f.role); },
          "staging, journal, sibling, orphan, stale part, table, damaged table or foreign")
      .def_property_readonly(
          "note", [](const VDataSetFile& f) { return f.note; }, "what it is, in words")
      .def("__repr__", [](const VDataSetFile& f) {
        return "<DataSetFile " + f.name + " " + RoleName(f.role) + ">";
      });

  py::class_<Domain>(module, "Domain", "A domain of a data set: its identity, files and verdict.")
      .def_property_readonly(
          "file", [](const Domain& d) { return d.Get().file; },
          "its first file's name as it stands in the directory")
      .def_property_readonly(
          "type", [](const Domain& d) { return TypeOrNone(d.Get().type); },
          "its DomainType, None for an unknown type")
      .def_property_readonly("type_number", [](const Domain& d) { return d.Get().typeNumber; })
      .def_property_readonly("scope", [](const Domain& d) { return d.Get().scope; })
      .def_property_readonly("version", [](const Domain& d) { return d.Get().version; })
      .def_property_readonly("object", [](const Domain& d) { return d.Get().object; })
      .def_property_readonly(
          "time", [](const Domain& d) { return d.Get().time; },
          "the common header's time stamp, YYYY-MM-DD HH:MM:SS.mmm")
      .def_property_readonly("compressed", [](const Domain& d) { return d.Get().compressed; })
      .def_property_readonly(
          "parts", [](const Domain& d) { return d.Get().parts; },
          "every file of the domain, the first one included ('' for a "
          "missing one)")
      .def_property_readonly("sizes", [](const Domain& d) { return d.Get().sizes; })
      .def_property_readonly(
          "verdict", [](const Domain& d) { return VVerdictName(d.Get().verdict); },
          "sound, damaged, incomplete, stale or unknown type")
      .def_property_readonly("sound",
                             [](const Domain& d) { return d.Get().verdict == VVerdict::sound; })
      .def_property_readonly(
          "cause", [](const Domain& d) { return When(!d.Get().cause.empty(), d.Get().cause); },
          "why it is not sound, in words (None when sound)")
      .def_property_readonly(
          "cause_file",
          [](const Domain& d) { return When(!d.Get().causeFile.empty(), d.Get().causeFile); })
      .def_property_readonly(
          "cause_offset",
          [](const Domain& d) { return When(d.Get().causeOffset >= 0, d.Get().causeOffset); })
      .def(
          "describe", [](const Domain& d) { return VDescribeVerdict(d.Get()); },
          "The verdict in one line, with its cause, file and offset.")
      .def("events", &Domain::Events, py::arg("text") = false, py::arg("strict") = true,
           py::arg("values_only") = false,
           "Its listing events, lazily (an iterator of Event); see morvit.listing.\n\n"
           "`values_only=True` gives only the value events (and a stop event).")
      .def("__repr__", [](const Domain& d) {
        return "<Domain " + d.Get().file + " " + VVerdictName(d.Get().verdict) + ">";
      });

  py::class_<DataSet>(module, "DataSet",
                      "The domains of a data-set directory, as the library's inventory reads "
                      "them.\n\nIterating gives each Domain in the order of its first file's "
                      "name; `judge` (default True) runs each\nsound domain's own reader, as "
                      "`morvit check` does, in a private view of the directory.")
      .def(py::init<const std::string&, bool>(), py::arg("path"), py::arg("judge") = true)
      .def_property_readonly("path", &DataSet::Path, "the directory, absolute")
      .def_property_readonly("domains", &DataSet::Domains)
      .def_property_readonly("others", &DataSet::Others,
                             "the files that are no domain's: staging files, siblings, ...")
      .def("__len__", &DataSet::Size)
      .def("__getitem__", &DataSet::At, py::arg("index"))
      .def("__getitem__", &DataSet::Find, py::arg("file"))
      .def("__iter__", [](const DataSet& d) { return py::iter(d.Domains()); })
      .def("__repr__", [](const DataSet& d) {
        return "<DataSet " + d.Path() + ": " + std::to_string(d.Size()) + " domains>";
      });
}

}  // namespace morvit::python
