// A recorded back-translation run: the run of the library with the recording database, the
// progress bar and Ctrl-C around it, its warnings and its summary.
#include "record/RecordedRun.h"

#include <iostream>
#include <memory>
#include <optional>
#include <set>

#include "cli/Failure.h"
#include "cli/Session.h"
#include "cli/ToolPlatform.h"
#include "morvit/VDataSet.h"
#include "record/JsonLinesSink.h"
#include "record/SqliteSink.h"
#include "record/ToolHost.h"

namespace morvit::tool {
namespace {

// The hint for a database call that answered 0 and whose answer can be given.
std::string AnswerHint(const std::string& call, AnswerSyntax syntax) {
  const auto given = [&](const char* value) {
    return syntax == AnswerSyntax::kOption
               ? "--answer " + call + "=" + value
               : "answers={\"" + call + "\": " + value + "} or a " + call + " method";
  };
  if (call == "GetPCProgNo") return "; give the program number with " + given("N");
  for (const std::string& name : DatabaseAnswers::Names()) {
    if (name == call) return "; set its answer with " + given("1");
  }
  return "";
}

// The answers the run needed and did not get, for a run that stopped or skipped domains: a
// default answer (the task count of GetMaxTask, for one) makes a run look for domains that the
// data set does not have. Empty when every answer asked for was given.
std::string DefaultedHint(const std::vector<std::string>& defaulted) {
  std::string names;
  std::string options;
  for (const std::string& name : defaulted) {
    if (name == "GetPCProgNo") continue;  // it stops the run with a hint of its own
    names += (names.empty() ? "" : ", ") + name;
    options += (options.empty() ? "" : " ") + std::string("--answer ") + name + "=N";
  }
  if (names.empty()) return "";
  return "the run needed answers it was not given (" + names +
         ": the defaults answered); give "
         "them with " +
         options;
}

}  // namespace

std::string StopText(const VRunStop& reason, AnswerSyntax syntax) {
  switch (reason.kind) {
    case VRunStop::kDatabaseAnswer:
      if (!reason.call.empty())
        return reason.call + " answered 0" + AnswerHint(reason.call, syntax);
      return "the database answered 0 while " + reason.file + " was handed over";
    case VRunStop::kCancel:
      return "interrupted while " + reason.file + " was handed over";
    case VRunStop::kFileException:
      return DescribeFileException(CFileException(reason.cause, reason.osError, reason.file));
  }
  return "unknown reason";
}

// A name with open fields that found no file is a domain missing.
std::string SkippedText(const SkippedDomain& domain) {
  if (domain.cause == CFileException::fileNotFound && domain.file.find('?') != std::string::npos) {
    return domain.file + ": no domain file of this name (missing)";
  }
  // A domain whose file could not even be named is named by its type.
  std::string file = domain.file;
  if (file.empty()) {
    const VDomainType* type = VFindDomainType(domain.type);
    file = type == nullptr ? "a domain of type " + std::to_string(domain.type)
                           : std::string(type->code) + "??????.C?? (" + type->name + ", type " +
                                 std::to_string(domain.type) + ")";
  }
  return DescribeFileException(CFileException(domain.cause, domain.osError, file));
}

int RunRecorded(const RecordedRunSettings& settings, const RecordedRun& run) {
  std::vector<std::unique_ptr<RecordSink>> sinks;
  if (!settings.database.empty()) sinks.push_back(std::make_unique<SqliteSink>(settings.database));
  if (!settings.json.empty()) sinks.push_back(std::make_unique<JsonLinesSink>(settings.json));
  std::vector<RecordSink*> sinkPointers = settings.extraSinks;
  for (const auto& sink : sinks) sinkPointers.push_back(sink.get());
  RecordingDatabase database(sinkPointers, settings.answers, settings.namer);
  ProgressBar bar(std::cerr, settings.progress);
  bar.SetFilesToDo(settings.filesToDo);
  int result = 0;
  int handedOver = 0;
  std::vector<SkippedDomain> skipped;
  std::optional<VRunStop> stop;
  bool interrupted = false;
  {
    ToolHost host(bar, [&](const std::string& file, std::uint16_t type) {
      database.SetDomainFile(file, type);
    });
    VManager manager(&database);
    result = run(manager, settings.nodeMode);
    handedOver = host.DomainsHandedOver();
    skipped = host.Skipped();
    stop = host.StopReason();
    interrupted = ToolHost::Interrupted();
  }
  database.Finish(settings.command, result);
  std::ostream& out = Session::Current().Out();
  // A domain read in several passes is skipped in each: it is reported and counted once.
  std::set<std::string> skippedFiles;
  for (const SkippedDomain& domain : skipped) {
    if (!skippedFiles.insert(domain.file).second) continue;
    Warn(settings.command + " back-translation: skipped " + SkippedText(domain));
  }
  const std::string defaulted = DefaultedHint(database.DefaultedAnswers());
  if ((result == 0 || !skippedFiles.empty()) && !defaulted.empty() && !interrupted) {
    Warn(settings.command + " back-translation: " + defaulted);
  }
  out << settings.command << " back-translation " << (result == 0 ? "stopped" : "completed");
  if (result != 0 && !skippedFiles.empty()) {
    out << " with " << skippedFiles.size() << (skippedFiles.size() == 1 ? " domain" : " domains")
        << " skipped";
  }
  out << ": " << handedOver << " domains, " << database.CallCount() << " calls, "
      << database.ElementCount() << " elements";
  for (const std::string* output : {&settings.database, &settings.json}) {
    if (!output->empty()) out << " -> " << *output;
  }
  out << "\n";
  const std::string kept = "; the output keeps what was handed over";
  if (result == 0) {
    if (interrupted) {
      throw InterruptedRun(settings.command + " back-translation stopped: interrupted" + kept);
    }
    throw Failure(settings.command + " back-translation stopped: " +
                  (stop ? StopText(*stop) : "the run answered 0") + kept);
  }
  // A run that found no domain of its kind at all ran on the wrong directory.
  if (handedOver == 0 && settings.requireDomains) {
    throw Failure(settings.command + " back-translation found no domain to back-translate in " +
                  settings.dataDirectory);
  }
  if (settings.strict && !skippedFiles.empty()) {
    throw Failure(settings.command + " back-translation skipped " +
                  std::to_string(skippedFiles.size()) + " of its domains (--strict)");
  }
  return kExitSuccess;
}

}  // namespace morvit::tool
