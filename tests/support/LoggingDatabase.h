// A database for the back-translation tests: every call the library makes is kept as one line
// of text, in order, and every answer a real database gives can be set per operation. Tests
// compare the whole call sequence of a run with the expected lines.
#ifndef MORVIT_TESTS_SUPPORT_LOGGINGDATABASE_H
#define MORVIT_TESTS_SUPPORT_LOGGINGDATABASE_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "morvit/VDatabase.h"

namespace testutil {

class LoggingDatabase : public VDatabase {
 public:
  // Lines read "Name" or "Name a b ...": Insert and InsertBasicObject give the code argument,
  // the element's own code and its byte count ("Insert 936 936 12"); SetObjectId the three
  // words; ClearSort and BackupSort the parcel's type, scope, version and object number;
  // Update the text and the element's type ("Update NAME 3", the type index). Queries log their
  // answer last
  // ("GetMaxTask 3").
  std::vector<std::string> calls;
  // The bytes of every element handed to Insert or InsertBasicObject, in order.
  std::vector<std::vector<std::uint8_t>> elements;

  // The answer of an operation that returns one ("GetMaxTask", "PCTCRestored", ...): the
  // library's default unless set here. GetPCProgNo's program number is `pcProgramNumber`.
  std::map<std::string, int> answers;
  std::uint16_t pcProgramNumber = 1;
  // A call whose line starts with this text raises a file exception once it is logged (a
  // database that fails while it takes over an element); empty: none does.
  std::string failOn;

  // The lines that start with `prefix` ("Insert", ...).
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;

  void Initialize() override { Log("Initialize"); }
  void Open() override { Log("Open"); }
  void Close() override { Log("Close"); }
  void Save() override { Log("Save"); }
  void Insert(std::uint16_t code, VElement* element) override;
  void InsertBasicObject(std::uint16_t code, VElement* element) override;
  void InsertConnections() override { Log("InsertConnections"); }
  void PrepareConnections() override { Log("PrepareConnections"); }
  void SetLevel(int level, int value) override;
  void FinishTask() override { Log("FinishTask"); }
  std::uint16_t GetMaxTask() override;
  void GenerateMoveBlocks() override { Log("GenerateMoveBlocks"); }
  void SetObjectId(ObjId id) override;
  void Update(char* text, TCbxElement element) override;
  void SetResourcePitch() override { Log("SetResourcePitch"); }
  void SetConfigPitch() override { Log("SetConfigPitch"); }
  void SaveExecPitch(Era era) override;
  std::uint8_t RestoreTypeCircuits() override;
  void SetCallParam1OfSlavem() override { Log("SetCallParam1OfSlavem"); }
  void ClearSort(ObjParcelType* parcel) override;
  void BackupSort(ObjParcelType parcel) override;
  std::uint8_t GetPCProgNo(unsigned short* number) override;
  void SetPCProgNo(std::uint16_t number) override;
  int InsertTCTermsInPOLODomains() override { return Answer("InsertTCTermsInPOLODomains", 1); }
  int RestoreDBElemsMMI() override { return Answer("RestoreDBElemsMMI", 1); }
  int CompleteRIOs() override { return Answer("CompleteRIOs", 1); }
  void SetTCPageBreaks() override { Log("SetTCPageBreaks"); }
  void SetAllExecPitches() override { Log("SetAllExecPitches"); }
  int GenerateBoteDomain() override { return Answer("GenerateBoteDomain", 1); }
  void SetColoCopmLength(std::uint16_t coloLength, std::uint16_t copmLength) override;
  void SetBeginProgVarPOLO(std::uint16_t begin) override;
  int PCTCRestored() override { return Answer("PCTCRestored", 0); }
  void CreateSoftPageNumbers() override { Log("CreateSoftPageNumbers"); }
  void SetAdditionalInfo(int info) override;
  int IsAdditionalInfo(int info) override;

 private:
  void Log(std::string line);
  // Logs "name answer" and returns the answer.
  int Answer(const std::string& name, int fallback);
  void LogElement(const char* name, std::uint16_t code, VElement* element);
};

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_LOGGINGDATABASE_H
