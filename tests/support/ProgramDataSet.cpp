// The sample PC program data set.
#include "support/ProgramDataSet.h"

#include <stdexcept>

#include "morvit/VProgramWriters.h"
#include "support/DataSetNames.h"
#include "support/DomainBuilders.h"
#include "support/ProgramContents.h"

namespace testutil {

namespace {

ObjParcelType Parcel(std::uint16_t type, std::uint16_t scope, std::uint16_t version) {
  ObjParcelType parcel = TestParcel(type);
  parcel.objectNumber = kSampleProgram;
  parcel.scope = scope;
  parcel.version = version;
  return parcel;
}

void Generate(const ObjParcelType& parcel, const std::vector<TSectionInfo>& sections) {
  if (GenerateThroughC(parcel, sections).finishStatus != VBASE_STATUS_OK) {
    throw std::runtime_error("sample domain not generated");
  }
}

// A small program per task: one prolog element (its byte the task number), and for task 2 a
// pre-program element.
VPodeContent TaskProgram(std::uint16_t task) {
  VPodeContent program;
  program.offsetToProgVar = 0x1234;
  program.prolog = {Element(610, {static_cast<std::uint8_t>(task)})};
  if (task == 2) {
    program.offsetToPreProg = 0x40;
    program.preProgram = {Element(590)};
  }
  return program;
}

}  // namespace

std::string ProgramFileName(std::uint16_t type, std::uint16_t scope, std::uint16_t version,
                            std::uint16_t object) {
  ObjParcelType parcel = TestParcel(type);
  parcel.scope = scope;
  parcel.version = version;
  parcel.objectNumber = object;
  return MakeDataSetName(parcel);
}

void WriteProgramDataSet(std::uint16_t tasks) {
  for (const std::uint16_t version : {kResourceVersion - 1, kResourceVersion + 0}) {
    VWriteRede(Parcel(33, 0, static_cast<std::uint16_t>(version)), SampleResource());
    VWriteRelo(Parcel(35, 0, static_cast<std::uint16_t>(version)), {1, 2, 3});
  }
  for (std::uint16_t task = 1; task <= tasks; ++task) {
    VWriteTade(Parcel(49, task, 1), SampleTask(task));
    VWritePode(Parcel(65, task, ProgramVersion(task)), TaskProgram(task));
    VWritePolo(Parcel(67, task, ProgramVersion(task)), {4, 5});
    VWritePolo(Parcel(67, task, 1), {6});
    Generate(Parcel(78, task, 1), {Entry(task, {}, "E")});
  }
  static const char kNodeText[] = "NODE";
  Generate(Parcel(3, 0, 1), {NobaText(kNodeText, 4)});
  Generate(Parcel(46, 0, 1), {Entry(1, {}, "E"), PageBreak(1, 2, 1, "P")});
  for (const std::uint16_t type : {116, 117, 118}) {
    Generate(Parcel(type, 0, 1), {BobaObject(1, 2, 3, 4)});
  }
}

}  // namespace testutil
