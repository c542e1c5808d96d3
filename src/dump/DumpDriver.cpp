// The dump driver: mode, listing name, the listing head and the run of the mode.
#include "dump/DumpDriver.h"

#include "dump/CodeListing.h"
#include "dump/DumpDriverState.h"
#include "dump/IoConfigListing.h"
#include "dump/ListingSwitches.h"
#include "dump/ListingText.h"
#include "dump/TableListings.h"
#include "io/ListingHead.h"

namespace morvit {

namespace {

char Upper(std::string_view name, std::size_t place) {
  if (place >= name.size()) return '\0';
  const char c = name[place];
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWith(std::string_view name, std::string_view prefix) {
  if (name.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Upper(name, i) != prefix[i]) return false;
  }
  return true;
}

void Head(ListingOutput& out, std::string_view dataSetName) {
  out.LineEnd();
  out.Text("Dump Domain Program");
  out.LineEnd();
  out.LineEnd();
  out.Text(kDataSetLabel);
  out.Text(dataSetName);
  out.LineEnd();
  out.LineEnd();
  out.Flush();
}

// The size of a table file, 0 when it cannot be opened.
std::uint64_t TableFileSize(const CString& path) {
  CFile file;
  if (!file.Open(path, CFile::modeRead | CFile::typeBinary)) return 0;
  return static_cast<std::uint64_t>(file.GetLength());
}

CString ReadStop(int read, const DumpDriverState& state);

// Lists a file in CODE mode; returns where its read stopped (empty for a whole read).
CString ListCode(ListingOutput& out, const CString& input, std::string_view dataSetName) {
  DumpDriverState& state = GetDumpDriverState();
  const int result = ReadCodeFile(input, state);
  out.File(dataSetName, 0, state.bytesRead);
  Head(out, dataSetName);
  CodeListing listing(out, state, GetListingSwitches(), dataSetName);
  switch (listing.Head(result)) {
    case dumplayout::Body::ioConfig:
      ListIoConfigBody(listing);
      break;
    case dumplayout::Body::ioChange:
      ListIoChangeBody(listing);
      break;
    case dumplayout::Body::none:
    case dumplayout::Body::elements:
      listing.BodyLines();
      break;
  }
  listing.Finish();
  return ReadStop(result, state);
}

const char* ModeName(DumpMode mode) {
  switch (mode) {
    case DumpMode::code:
      return "CODE";
    case DumpMode::data:
      return "DATA";
    case DumpMode::pcData:
      return "PC DATA";
    case DumpMode::move:
      return "MOVE";
    case DumpMode::wideMove:
      return "WIDE MOVE";
  }
  return "";
}

// Where a CODE-mode read stopped, in words; empty for a whole read.
CString ReadStop(int read, const DumpDriverState& state) {
  if (read == kReadOk) return CString();
  if (read == kFileEndsEarly && state.bytesRead == 0) return "the file is empty";
  if (read == kFileEndsEarly) {
    return "the read stopped at byte " + std::to_string(state.bytesRead) +
           ": the file ends before the length its first word announces (" +
           std::to_string(state.announcedLength + 1) + " bytes)";
  }
  CFileException failure(kReadFailureBase - read, -1, CString());
  return "the file cannot be read: " + DescribeFileException(failure);
}

}  // namespace

DumpPath SplitDumpPath(const CString& path) {
  const CString hostPath = CFile::HostPath(path);
  const std::size_t slash = hostPath.rfind('/');
  if (slash == CString::npos) return {CString(), hostPath};
  return {hostPath.substr(0, slash + 1), hostPath.substr(slash + 1)};
}

DumpMode SelectDumpMode(std::string_view name) {
  // The basic-object domains BOBC and BMBD have a 'B' in place 2 but are domains, not tables.
  if (StartsWith(name, "BOBC") || StartsWith(name, "BMBD")) return DumpMode::code;
  const char place2 = Upper(name, 2);
  const char place3 = Upper(name, 3);
  if (place2 == 'A' || place2 == 'B') return place3 == 'I' ? DumpMode::wideMove : DumpMode::move;
  if (StartsWith(name, "PL")) return DumpMode::pcData;
  if (place2 == 'L' && (place3 == 'O' || place3 == 'E')) return DumpMode::data;
  return DumpMode::code;
}

CString DumpOutputName(std::string_view dataSetName) {
  CString name(dataSetName);
  const std::size_t dot = name.find('.');
  if (dot == CString::npos) return CString();
  if (dot + 1 == name.size()) return name + 'D';
  if (name[dot + 1] == 'D') return CString();
  name[dot + 1] = 'D';
  return name;
}

int RunDumpDriver(const CString& directory, std::string_view dataSetName, VDumpResult* result) {
  VDumpResult unused;
  VDumpResult& outcome = result != nullptr ? *result : unused;
  outcome.reader = "driver";
  outcome.mode = ModeName(SelectDumpMode(dataSetName));
  outcome.outcome = VDumpResult::kNotWritten;
  const CString outputName = DumpOutputName(dataSetName);
  if (outputName.empty()) {
    outcome.where = "the name gives no listing name";
    return kReadFailureBase - CFileException::badPath;
  }
  CFile output;
  CFileException error;
  if (!output.Open(directory + outputName, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary,
                   &error)) {
    error.m_strFileName = directory + outputName;
    outcome.where = DescribeFileException(error);
    return kReadFailureBase - error.m_cause;
  }
  try {
    ListingText out(output);
    outcome.where = ListThroughDriver(directory, dataSetName, out);
    out.Flush();
    output.Close();
    outcome.outcome = outcome.where.empty() ? VDumpResult::kWritten : VDumpResult::kStoppedShort;
    outcome.listing = directory + outputName;
  } catch (const CFileException& e) {
    outcome.where = DescribeFileException(e);
    // A listing cut short by a failed write would pass for a whole one: it goes.
    output.Abort();
    try {
      CFile::Remove(directory + outputName);
    } catch (const CFileException&) {
      // Not removable either: the caller still hears of the failure.
    }
    return kReadFailureBase - e.m_cause;
  }
  return 0;
}

CString ListThroughDriver(const CString& directory, std::string_view dataSetName,
                          morvit::VListingSink& sink) {
  ListingOutput out(sink);
  const CString input = directory + CString(dataSetName);
  const DumpMode mode = SelectDumpMode(dataSetName);
  if (mode == DumpMode::code) {
    const CString stop = ListCode(out, input, dataSetName);
    out.Flush();
    return stop;
  }
  out.File(dataSetName, 0, TableFileSize(input));
  Head(out, dataSetName);
  switch (mode) {
    case DumpMode::code:
      break;
    case DumpMode::data:
    case DumpMode::pcData:
      ListDataTable(out, input, mode == DumpMode::pcData);
      break;
    case DumpMode::move:
    case DumpMode::wideMove:
      ListMoveTables(out, directory, dataSetName, mode == DumpMode::wideMove);
      break;
  }
  out.Flush();
  // A table that could not be read whole is a listing stopped short, as in CODE mode.
  return out.StopReason();
}

}  // namespace morvit
