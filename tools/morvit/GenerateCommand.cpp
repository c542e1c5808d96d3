// `morvit generate JOB.json`: builds the domains a JSON job describes and prints the parcels
// written. The job format is documented in the README; examples/job.json is a complete one.
#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "Commands.h"
#include "Failure.h"
#include "SectionRecords.h"
#include "ToolPlatform.h"
#include "WriterTypes.h"
#include "morvit/VBase.h"
#include "morvit/VDomainPath.h"

namespace morvit::tool {
namespace {

// Room for every file a domain may write: a REBA splits into parts, at most 100 scopes.
constexpr std::uint16_t kHighestParcel = 99;

struct GenerateOptions {
  std::string job;
  Directories directories;
};

nlohmann::json ReadJob(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw CFileException(CFileException::OsErrorToCause(errno), errno, path);
  try {
    return nlohmann::json::parse(in);
  } catch (const nlohmann::json::parse_error& error) {
    throw Failure(path + ": not a JSON job: " + error.what());
  }
}

// The parcel's time stamp: "time" as "YYYY-MM-DD HH:MM:SS" (a 'T' may stand for the space), or
// the time now. The parcel holds the year in two digits.
void StampTime(const JobValue& domain, ObjParcelType& parcel) {
  std::array<int, 6> fields{};
  if (domain.Find("time") != nullptr) {
    const JobValue time = domain["time"];
    const std::string text = time.Text(32);
    char separator = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d", &fields[0], &fields[1], &fields[2],
                    &separator, &fields[3], &fields[4], &fields[5]) != 7 ||
        (separator != ' ' && separator != 'T') || fields[1] < 1 || fields[1] > 12 ||
        fields[2] < 1 || fields[2] > 31 || fields[3] > 23 || fields[4] > 59 || fields[5] > 59) {
      time.Fail("expected a time \"YYYY-MM-DD HH:MM:SS\"");
    }
  } else {
    const std::time_t now = std::time(nullptr);
    const std::tm local = LocalTime(now);
    fields = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
              local.tm_hour,        local.tm_min,     local.tm_sec};
  }
  parcel.timeStamp[0] = static_cast<std::uint16_t>(fields[0] % 100);
  for (std::size_t i = 1; i < fields.size(); ++i) {
    parcel.timeStamp[i] = static_cast<std::uint16_t>(fields[i]);
  }
}

ObjParcelType MakeParcel(const JobValue& domain, std::uint16_t type) {
  ObjParcelType parcel{};
  parcel.classLetter = 'C';
  parcel.domainType = type;
  parcel.objectNumber = static_cast<std::uint16_t>(domain["object"].Integer(0, 99));
  parcel.version = static_cast<std::uint16_t>(domain["version"].Integer(0, 9999));
  parcel.scope = static_cast<std::uint16_t>(OptionalInteger(domain, "scope", 0, 99, 0));
  parcel.majorVersion = static_cast<std::uint16_t>(OptionalInteger(domain, "major", 0, 0xFFFF, 1));
  parcel.minorVersion = static_cast<std::uint16_t>(OptionalInteger(domain, "minor", 0, 0xFFFF, 0));
  StampTime(domain, parcel);
  return parcel;
}

// A job's domain type: generated through the C interface or through a writer.
struct JobType {
  const CInterfaceType* viaInterface = nullptr;
  const WriterType* viaWriter = nullptr;

  const char* Name() const { return viaInterface ? viaInterface->name : viaWriter->name; }
  std::uint16_t Number() const { return viaInterface ? viaInterface->type : viaWriter->type; }
};

JobType DomainType(const JobValue& domain) {
  const JobValue type = domain["type"];
  JobType found;
  if (type.json.is_number_integer()) {
    const auto number = static_cast<std::uint16_t>(type.Integer(0, 0xFFFF));
    found = {FindCInterfaceType(number), FindWriterType(number)};
  } else {
    const std::string name = type.Text(8);
    found = {FindCInterfaceType(name), FindWriterType(name)};
  }
  if (found.viaInterface == nullptr && found.viaWriter == nullptr) {
    type.Fail(
        "not a domain type this tool generates (CNOD, RNOD, NOBA, REBA, POBA, BOBA1 to BOBA3, "
        "TADE, REDE, PODE, RELO, POLO, COIO, CODA, BXD0 to BXD7, CbD, CbP)");
  }
  return found;
}

// Reads the whole domain from the job without writing anything.
void CheckDomain(const JobValue& domain) {
  const JobType type = DomainType(domain);
  const ObjParcelType parcel = MakeParcel(domain, type.Number());
  if (type.viaWriter) {
    type.viaWriter->generate(domain, parcel, false);
    return;
  }
  SectionList unused;
  type.viaInterface->build(domain, unused);
}

// A node's file list comes with it: its parcels are of type 119 (a CNOD's) or 120 (an RNOD's).
const char* DomainName(std::uint16_t type) {
  if (const CInterfaceType* known = FindCInterfaceType(type)) return known->name;
  if (const WriterType* known = FindWriterType(type)) return known->name;
  return type == 119 || type == 120 ? "XBFI" : "?";
}

void PrintParcel(const ObjParcelType& parcel) {
  VDomainPath path;
  const CString full = path.FindFile(parcel);
  const std::size_t slash = full.find_last_of('/');
  std::cout << full.substr(slash == CString::npos ? 0 : slash + 1) << "  "
            << DomainName(parcel.domainType) << "  type " << parcel.domainType << "  scope "
            << parcel.scope << "  version " << parcel.version << "  object " << parcel.objectNumber
            << "  " << parcel.length << " bytes\n";
}

// Starts, fills and finishes one domain through the C interface. A failure names the domain;
// the manager removes the files of a domain that was not finished.
void GenerateDomain(VManager* manager, const JobValue& domain) {
  const JobType jobType = DomainType(domain);
  const ObjParcelType parcel = MakeParcel(domain, jobType.Number());
  if (jobType.viaWriter) {
    for (const ObjParcelType& written : jobType.viaWriter->generate(domain, parcel, true)) {
      PrintParcel(written);
    }
    return;
  }
  const CInterfaceType& type = *jobType.viaInterface;
  SectionList sections;
  type.build(domain, sections);

  const auto check = [&](std::int16_t status, const char* step) {
    if (status != VBASE_STATUS_OK) {
      throw Failure(domain.place + " (" + type.name + "): " + step + " failed with status " +
                    std::to_string(status));
    }
  };
  check(VBase_PutStart(manager, type.type, parcel), "start");
  for (TSectionInfo& record : sections.records) {
    check(VBase_Insert(manager, type.type, &record), "insert");
  }
  std::array<ObjParcelType, kHighestParcel + 1> parcels{};
  std::uint16_t count = 0;
  check(VBase_PutFinishEx(manager, type.type, &count, kHighestParcel, parcels.data()), "finish");
  for (std::uint16_t i = 0; i < count; ++i) PrintParcel(parcels[i]);
}

int Generate(const GenerateOptions& options) {
  // The data directory is where the job's files go: made when missing.
  if (!options.directories.data.empty()) {
    std::filesystem::create_directories(options.directories.data);
  }
  UseDirectories(options.directories);
  const nlohmann::json json = ReadJob(options.job);
  const JobValue job{json, ""};
  const JobValue domains = job["domains"];
  // Every domain is checked before the first file is written.
  for (std::size_t i = 0; i < domains.Size(); ++i) CheckDomain(domains.At(i));
  std::unique_ptr<VManager, void (*)(VManager*)> manager(
      VBase_CreateManager(), [](VManager* m) { VBase_DeleteManager(&m); });
  if (!manager) throw Failure("cannot create a domain manager");
  for (std::size_t i = 0; i < domains.Size(); ++i) GenerateDomain(manager.get(), domains.At(i));
  return kExitSuccess;
}

}  // namespace

CommandAction AddGenerateCommand(CLI::App& app) {
  auto options = std::make_shared<GenerateOptions>();
  CLI::App* command =
      app.add_subcommand("generate", "Builds the domain files a JSON job describes");
  command->add_option("JOB", options->job, "the job file (format in the README)")->required();
  AddDirectoryOptions(*command, options->directories);
  return [options] { return Generate(*options); };
}

}  // namespace morvit::tool
