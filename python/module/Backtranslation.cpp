// morvit.backtranslate: a node, db or pc run whose database callbacks are a Python object's
// methods of the same names. A method the object does not have takes the library's default (or
// the answer given in `answers`). A Python exception in a method stops the run at its next
// question (a callback answering 0, or the cancel query) and is raised when the run returns;
// so is Ctrl-C.
#include "module/Backtranslation.h"

#include <pybind11/stl.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <set>

#include "cli/Failure.h"
#include "cli/ToolPlatform.h"
#include "dataset/PrivateView.h"
#include "module/DataSetHost.h"
#include "module/Errors.h"
#include "module/Generation.h"
#include "morvit/VDataSet.h"
#include "morvit/VDatabase.h"
#include "morvit/VElement.h"
#include "morvit/VManager.h"
#include "morvit/VNameTables.h"
#include "record/RecordedRun.h"
#include "record/RecordingDatabase.h"

namespace py = pybind11;
namespace fs = std::filesystem;

namespace morvit::python {
namespace {

// An element handed over, copied: it lives on after the call.
struct Element {
  std::uint16_t code = 0;
  std::string name;  // the code's name as the dump names it, or ""
  std::uint16_t auxWord = 0;
  std::string data;
};

std::string CodeName(std::uint16_t code) {
  const char* name = FunctionBlockName(code);
  if (name == nullptr) name = OrderName(code);
  return name ? name : "";
}

std::string FixedText(const char* text, std::size_t size) {
  return std::string(text, std::find(text, text + size, '\0'));
}

// Where a run stands with the client's Python code: the first exception it raised (then no
// more of its methods are called) and Ctrl-C.
struct RunState {
  std::optional<py::error_already_set> error;
  bool Failed() const { return error.has_value(); }
  // Ctrl-C (or another signal handler's exception) stops the run like the user's cancel.
  void CheckSignals() {
    if (!Failed() && PyErr_CheckSignals() != 0) error.emplace();
  }
};

class PythonDatabase : public VDatabase {
 public:
  PythonDatabase(py::object client, tool::DatabaseAnswers answers, RunState& state)
      : m_client(std::move(client)), m_answers(std::move(answers)), m_state(state) {}

  void Initialize() override { Call("Initialize"); }
  void Open() override { Call("Open"); }
  void Close() override { Call("Close"); }
  void Save() override { Call("Save"); }
  void Insert(std::uint16_t code, VElement* element) override {
    Call("Insert", code, Copy(element));
  }
  void InsertBasicObject(std::uint16_t code, VElement* element) override {
    Call("InsertBasicObject", code, Copy(element));
  }
  void InsertConnections() override { Call("InsertConnections"); }
  void PrepareConnections() override { Call("PrepareConnections"); }
  void SetLevel(int level, int value) override { Call("SetLevel", level, value); }
  void FinishTask() override { Call("FinishTask"); }
  std::uint16_t GetMaxTask() override {
    return Answer<std::uint16_t>(Call("GetMaxTask"), m_answers.maxTask);
  }
  void GenerateMoveBlocks() override { Call("GenerateMoveBlocks"); }
  void SetObjectId(ObjId id) override { Call("SetObjectId", id.domainType, id.scope, id.version); }
  void Update(char* text, TCbxElement element) override {
    py::dict record;
    record["type_index"] = element.typeIndex;
    record["size_of_fb"] = element.sizeOfFB;
    record["name"] = FixedText(element.name, sizeof element.name);
    record["enum_texts"] =
        py::make_tuple(FixedText(element.enumText[0], sizeof element.enumText[0]),
                       FixedText(element.enumText[1], sizeof element.enumText[1]));
    record["offsets"] =
        py::dict(py::arg("COLO") = py::make_tuple(element.byteOffsetCOLO, element.bitOffsetCOLO),
                 py::arg("COLE") = py::make_tuple(element.byteOffsetCOLE, element.bitOffsetCOLE),
                 py::arg("COPM") = py::make_tuple(element.byteOffsetCOPM, element.bitOffsetCOPM),
                 py::arg("CODA") = py::make_tuple(element.byteOffsetCODA, element.bitOffsetCODA));
    Call("Update", text ? std::string(text) : std::string(), record);
  }
  void SetResourcePitch() override { Call("SetResourcePitch"); }
  void SetConfigPitch() override { Call("SetConfigPitch"); }
  void SaveExecPitch(Era era) override {
    Call("SaveExecPitch", std::vector<std::uint16_t>(std::begin(era.words), std::end(era.words)));
  }
  std::uint8_t RestoreTypeCircuits() override {
    return Answer<std::uint8_t>(Call("RestoreTypeCircuits"),
                                static_cast<std::uint8_t>(m_answers.restoreTypeCircuits));
  }
  void SetCallParam1OfSlavem() override { Call("SetCallParam1OfSlavem"); }
  void ClearSort(ObjParcelType* parcel) override {
    if (parcel != nullptr) Call("ClearSort", *parcel);
  }
  void BackupSort(ObjParcelType parcel) override { Call("BackupSort", parcel); }
  // A method's number (or the answer given) is written and answered 1; None answers 0.
  std::uint8_t GetPCProgNo(unsigned short* number) override {
    const py::object answer = Call("GetPCProgNo");
    std::optional<std::uint16_t> given = m_answers.pcProgNo;
    if (answer && !answer.is_none()) given = answer.cast<std::uint16_t>();
    if (!given || number == nullptr) return 0;
    *number = *given;
    return 1;
  }
  void SetPCProgNo(std::uint16_t number) override { Call("SetPCProgNo", number); }
  int InsertTCTermsInPOLODomains() override {
    return Answer<int>(Call("InsertTCTermsInPOLODomains"), m_answers.insertTCTermsInPOLODomains);
  }
  int RestoreDBElemsMMI() override {
    return Answer<int>(Call("RestoreDBElemsMMI"), m_answers.restoreDBElemsMMI);
  }
  int CompleteRIOs() override { return Answer<int>(Call("CompleteRIOs"), m_answers.completeRIOs); }
  void SetTCPageBreaks() override { Call("SetTCPageBreaks"); }
  void SetAllExecPitches() override { Call("SetAllExecPitches"); }
  int GenerateBoteDomain() override {
    return Answer<int>(Call("GenerateBoteDomain"), m_answers.generateBoteDomain);
  }
  void SetColoCopmLength(std::uint16_t coloLength, std::uint16_t copmLength) override {
    Call("SetColoCopmLength", coloLength, copmLength);
  }
  void SetBeginProgVarPOLO(std::uint16_t begin) override { Call("SetBeginProgVarPOLO", begin); }
  int PCTCRestored() override { return Answer<int>(Call("PCTCRestored"), m_answers.pctcRestored); }
  void CreateSoftPageNumbers() override { Call("CreateSoftPageNumbers"); }
  void SetAdditionalInfo(int info) override { Call("SetAdditionalInfo", info); }
  int IsAdditionalInfo(int info) override {
    return Answer<int>(Call("IsAdditionalInfo", info), m_answers.isAdditionalInfo);
  }

 private:
  static Element Copy(VElement* element) {
    Element copy;
    if (element == nullptr) return copy;
    copy.code = element->GetCode();
    copy.name = CodeName(copy.code);
    copy.auxWord = element->GetAuxWord();
    copy.data.assign(reinterpret_cast<const char*>(element->Data()),
                     static_cast<std::size_t>(element->GetLength()));
    return copy;
  }

  // Calls the client's method `name` when it has one and no earlier call failed; its result,
  // or a null object.
  template <typename... Arguments>
  py::object Call(const char* name, Arguments&&... arguments) {
    if (m_state.Failed() || m_client.is_none() || !py::hasattr(m_client, name)) return {};
    try {
      return m_client.attr(name)(std::forward<Arguments>(arguments)...);
    } catch (py::error_already_set& error) {
      m_state.error.emplace(std::move(error));
      return {};
    }
  }

  // A method's answer, or the one given: a run whose client failed is answered 0 (stop).
  template <typename T>
  T Answer(const py::object& answer, T given) {
    if (m_state.Failed()) return 0;
    if (!answer || answer.is_none()) return given;
    try {
      return answer.cast<T>();
    } catch (const py::cast_error&) {
      PyErr_SetString(PyExc_TypeError, "a database answer must be a whole number");
      m_state.error.emplace();
      return 0;
    }
  }

  py::object m_client;
  tool::DatabaseAnswers m_answers;
  RunState& m_state;
};

// The run's host: the data set's directories, progress to the client's callable, the run events
// kept for the result, a failed client or Ctrl-C answering the cancel query.
class RunHost : public CallHost {
 public:
  RunHost(const CString& data, const CString& project, const CString& objects, py::object progress,
          RunState& state)
      : CallHost(data, project, objects), m_progress(std::move(progress)), m_state(state) {}

  int SendMessageToUI(int number, int value, const CString& text) override {
    if (number == kMessageProgress && !m_progress.is_none() && !m_state.Failed()) {
      try {
        m_progress(value, std::string(text));
      } catch (py::error_already_set& error) {
        m_state.error.emplace(std::move(error));
      }
      return 0;
    }
    if (number == kMessageCancelQuery) {
      m_state.CheckSignals();
      return m_state.Failed() ? 1 : 0;
    }
    return VDataSetHost::SendMessageToUI(number, value, text);
  }
  void DomainBegun(const CString& file, std::uint16_t) override { m_handedOver.append(file); }
  void DomainSkipped(const CString& file, std::uint16_t type, int cause, long osError) override {
    if (!m_skippedFiles.insert(file).second) return;
    m_skipped.push_back({file, type, cause, osError});
  }
  void RunStopped(const VRunStop& reason) override { m_stop = reason; }

  py::list m_handedOver;
  std::set<std::string> m_skippedFiles;
  std::vector<tool::SkippedDomain> m_skipped;
  std::optional<VRunStop> m_stop;

 private:
  py::object m_progress;
  RunState& m_state;
};

tool::DatabaseAnswers ParseAnswers(const py::dict& answers) {
  tool::DatabaseAnswers parsed;
  for (const auto& [key, value] : answers) {
    const std::string name = py::str(key);
    if (!tool::DatabaseAnswers::RangeOf(name)) {
      std::string names;
      for (const std::string& known : tool::DatabaseAnswers::Names()) names += " " + known;
      throw py::value_error("no database operation " + name +
                            " takes an answer; these do:" + names);
    }
    const auto range = *tool::DatabaseAnswers::RangeOf(name);
    const long number = value.cast<long>();
    if (!parsed.Set(name, number)) {
      throw py::value_error("the answer of " + name + " must be from " +
                            std::to_string(range.first) + " to " + std::to_string(range.second));
    }
  }
  return parsed;
}

py::dict Backtranslate(const std::string& kind, const std::string& data, py::object database,
                       const py::dict& answers, const std::string& project,
                       const std::string& objects, int nodeMode, py::object progress,
                       bool inPlace) {
  if (kind != "node" && kind != "db" && kind != "pc") {
    throw py::value_error("the run is node, db or pc, not " + kind);
  }
  tool::DatabaseAnswers given = ParseAnswers(answers);
  const fs::path directory = fs::absolute(tool::PathFromUtf8(data));
  if (!fs::is_directory(directory)) {
    throw CFileException(CFileException::fileNotFound, ENOENT, tool::Utf8(directory));
  }
  bool anyDomain = false;
  for (const auto& entry : fs::directory_iterator(directory)) {
    anyDomain = anyDomain || VParseDataSetName(tool::Utf8(entry.path().filename())).has_value();
  }
  if (!anyDomain) {
    throw tool::Failure(tool::Utf8(directory) +
                        ": no domain files in this directory, so there is nothing to "
                        "back-translate");
  }
  // The run reads a private view unless asked to work in place: the files it removes, expands
  // or restores go with the view. The object database stays the project's.
  const fs::path projectDirectory = project.empty() ? directory : fs::absolute(project);
  const std::string objectStore =
      objects.empty() ? tool::Utf8(projectDirectory / "objects.json") : objects;
  std::optional<tool::PrivateView> view;
  if (!inPlace) view.emplace(directory);
  RunState state;
  py::dict result;
  int status = 0;
  RunHost host(tool::Utf8(view ? view->Data() : directory),
               tool::Utf8(view ? view->Project() : projectDirectory), objectStore, progress, state);
  {
    PythonDatabase client(database, given, state);
    VManager manager(&client);
    if (kind == "node") {
      CString nodeName;
      status = manager.NodeBacktranslate(nodeName, nodeMode);
      result["node_file"] = std::string(nodeName);
    } else {
      status = kind == "db" ? manager.DBBacktranslate() : manager.PCBacktranslate();
    }
  }
  if (state.error) {
    state.error->restore();
    throw py::error_already_set();
  }
  result["kind"] = kind;
  result["result"] = status;
  result["domains"] = host.m_handedOver;
  py::list skipped;
  for (const tool::SkippedDomain& domain : host.m_skipped) {
    const std::string text = tool::SkippedText(domain);
    skipped.append(py::dict(py::arg("file") = domain.file, py::arg("type") = domain.type,
                            py::arg("cause") = CFileException::GetCauseText(domain.cause),
                            py::arg("text") = text));
    PyErr_WarnEx(py::module_::import("morvit").attr("MorvitWarning").ptr(),
                 (kind + " back-translation: skipped " + text).c_str(), 1);
  }
  result["skipped"] = skipped;
  if (status == 0) {
    const std::string reason = host.m_stop
                                   ? tool::StopText(*host.m_stop, tool::AnswerSyntax::kPython)
                                   : "the run answered 0";
    result["stop"] = reason;
    py::dict members;
    members["cause"] = reason;
    if (host.m_stop && !host.m_stop->file.empty()) members["file"] = std::string(host.m_stop->file);
    members["result"] = result;
    Raise("RunStopped", kind + " back-translation stopped: " + reason, members);
  }
  return result;
}

}  // namespace

void BindBacktranslation(py::module_& module) {
  py::class_<Element>(module, "Element", "An element handed to the database, copied.")
      .def_readonly("code", &Element::code)
      .def_readonly("name", &Element::name, "the code's name as the dump names it, or ''")
      .def_readonly("aux_word", &Element::auxWord)
      .def_property_readonly(
          "data", [](const Element& e) { return py::bytes(e.data); },
          "its bytes, big-endian as the domain holds them")
      .def("__repr__", [](const Element& e) {
        return "<Element " + std::to_string(e.code) + (e.name.empty() ? "" : " " + e.name) + ", " +
               std::to_string(e.data.size()) + " bytes>";
      });
  module.def("backtranslate", &Backtranslate, py::arg("kind"), py::arg("data_dir"),
             py::arg("database") = py::none(), py::arg("answers") = py::dict(),
             py::arg("project_dir") = std::string(), py::arg("object_database") = std::string(),
             py::arg("node_mode") = 0, py::arg("progress") = py::none(),
             py::arg("in_place") = false,
             R"(Runs the node, db or pc back-translation of the data set in `data_dir`.

`database` is any object: each database callback (Insert, SetLevel, GetMaxTask, ...) calls its
method of the same name when it has one; the others take the library's defaults, or the answer
given in `answers` ({"GetMaxTask": 32}: the operations `morvit backtranslate --answer` takes).
A method that returns None gives the default as well. Elements come as Element objects.

The run reads a private view of the data set (what it removes, expands or restores goes with
it) unless `in_place`. `progress(percent, file)` is called as it goes. A domain skipped is a
MorvitWarning. Returns a dict: kind, result, domains (the files handed over), skipped, and for a
node run node_file. A run that stops raises RunStopped (its `result` has the dict); an exception
raised by a method, or Ctrl-C, stops the run and is raised when it has returned.)");
}

}  // namespace morvit::python
