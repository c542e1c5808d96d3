// A database for back-translation runs that records every call: each call as a row of the
// calls table, elements, decoder-table records and objects in their own tables, written to
// the sinks given (SQLite, JSON lines). Answers come from settings with the library's
// defaults, so a run behaves as with the library's own database unless told otherwise.
#ifndef MORVIT_TOOL_RECORDINGDATABASE_H
#define MORVIT_TOOL_RECORDINGDATABASE_H

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "morvit/VDatabase.h"
#include "record/RecordTables.h"

namespace morvit::tool {

// The answers the recording database gives; defaults are the library's.
struct DatabaseAnswers {
  std::uint16_t maxTask = 64;
  std::optional<std::uint16_t> pcProgNo;  // none: GetPCProgNo answers 0 and writes nothing
  int restoreTypeCircuits = 1;
  int insertTCTermsInPOLODomains = 1;
  int restoreDBElemsMMI = 1;
  int completeRIOs = 1;
  int generateBoteDomain = 1;
  int pctcRestored = 0;
  int isAdditionalInfo = 0;
  std::set<std::string> given;  // the operations Set gave an answer

  // Sets the answer of the operation `name` (as in "GetMaxTask"); false for an unknown name
  // or a value outside RangeOf(name).
  bool Set(const std::string& name, long value);
  // The operation names Set takes.
  static std::vector<std::string> Names();
  // The answers an operation can give (its result's type): none for an unknown name.
  static std::optional<std::pair<long, long>> RangeOf(const std::string& name);
};

class RecordingDatabase : public VDatabase {
 public:
  // The name of an element code (from the dump's name tables); empty when unknown.
  using CodeNamer = std::function<std::string(std::uint16_t code)>;

  RecordingDatabase(std::vector<RecordSink*> sinks, DatabaseAnswers answers,
                    CodeNamer namer = nullptr);

  // The domain file whose calls follow, and its type (empty: the run's own calls, recorded with
  // no file); a change ends the previous file's transaction.
  void SetDomainFile(const std::string& name, std::uint16_t type = 0);
  // Records the run's result and closes the sinks.
  void Finish(const std::string& command, int result);

  long CallCount() const { return m_seq; }
  // The operations that --answer can set which the run asked and which were not given: the
  // library's defaults answered them.
  std::vector<std::string> DefaultedAnswers() const;
  long ElementCount() const { return m_elements; }

  void Initialize() override;
  void Open() override;
  void Close() override;
  void Save() override;
  void Insert(std::uint16_t code, VElement* element) override;
  void InsertBasicObject(std::uint16_t code, VElement* element) override;
  void InsertConnections() override;
  void PrepareConnections() override;
  void SetLevel(int level, int value) override;
  void FinishTask() override;
  std::uint16_t GetMaxTask() override;
  void GenerateMoveBlocks() override;
  void SetObjectId(ObjId id) override;
  void Update(char* text, TCbxElement element) override;
  void SetResourcePitch() override;
  void SetConfigPitch() override;
  void SaveExecPitch(Era era) override;
  std::uint8_t RestoreTypeCircuits() override;
  void SetCallParam1OfSlavem() override;
  void ClearSort(ObjParcelType* parcel) override;
  void BackupSort(ObjParcelType parcel) override;
  std::uint8_t GetPCProgNo(unsigned short* number) override;
  void SetPCProgNo(std::uint16_t number) override;
  int InsertTCTermsInPOLODomains() override;
  int RestoreDBElemsMMI() override;
  int CompleteRIOs() override;
  void SetTCPageBreaks() override;
  void SetAllExecPitches() override;
  int GenerateBoteDomain() override;
  void SetColoCopmLength(std::uint16_t coloLength, std::uint16_t copmLength) override;
  void SetBeginProgVarPOLO(std::uint16_t begin) override;
  int PCTCRestored() override;
  void CreateSoftPageNumbers() override;
  void SetAdditionalInfo(int info) override;
  int IsAdditionalInfo(int info) override;

 private:
  // Records a call with its arguments (a JSON object's text, or none) and its answer.
  void Call(const char* operation, const std::string& arguments = "",
            std::optional<long> answer = std::nullopt);
  void Write(const Row& row);
  void RecordElement(const char* operation, std::uint16_t code, VElement* element);
  void RecordParcel(const char* operation, const ObjParcelType& parcel, bool withObject);

  std::vector<RecordSink*> m_sinks;
  DatabaseAnswers m_answers;
  std::set<std::string> m_asked;  // every operation called
  CodeNamer m_namer;

  // The current domain file as a value (NULL for the run's own calls).
  Value DomainFileValue() const;
  std::string ElementName(std::uint16_t code) const;
  std::string m_domainFile;
  std::uint16_t m_domainType = 0;
  long m_seq = 0;
  long m_elements = 0;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_RECORDINGDATABASE_H
