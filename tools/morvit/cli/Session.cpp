// The run's session: shared options, the lines for people, and the report at the end.
#include "cli/Session.h"

#include <cerrno>
#include <fstream>
#include <iostream>

#include "cli/StandardStreams.h"
#include "morvit/platform.h"

namespace morvit::tool {
namespace {

Session* g_current = nullptr;

// Where dropped lines go: a stream without a buffer writes nothing.
std::ostream& Nowhere() {
  static std::ostream nowhere(nullptr);
  nowhere.clear();
  return nowhere;
}

}  // namespace

Session& Session::Current() {
  // Parts of the tool used outside a run (tests of a command's pieces) get a default session,
  // which makes itself current when first needed; runs then stack on it.
  if (g_current == nullptr) static Session fallback;
  return *g_current;
}

Session::Session(std::string command) : m_command(std::move(command)), m_outer(g_current) {
  g_current = this;
}

Session::~Session() {
  if (g_current == this) g_current = m_outer;
}

void Session::AddCommonOptions(CLI::App& command) {
  CLI::Option* quiet = command.add_flag("-q,--quiet", m_quiet,
                                        "no lines for people on standard output, no progress");
  command.add_flag("-v,--verbose", m_verbose, "notes on what the command does, on standard error")
      ->excludes(quiet);
}

void Session::AddReportOption(CLI::App& command) {
  command
      .add_option("--json", m_reportFile,
                  "a JSON report of what the run did (- for standard output)")
      ->type_name("FILE|-")
      ->each([this](const std::string& value) {
        if (IsStandardStream(value)) ClaimStandardOutput("--json -");
      });
}

std::ostream& Session::Out() {
  return m_quiet || !m_standardOutputOwner.empty() ? Nowhere() : std::cout;
}

void Session::Note(const std::string& text) {
  if (m_verbose) std::cerr << "morvit " << m_command << ": " << text << "\n";
}

void Session::ClaimStandardOutput(const std::string& what) {
  if (!m_standardOutputOwner.empty() && m_standardOutputOwner != what) {
    throw CLI::ValidationError(what,
                               "standard output is already taken by " + m_standardOutputOwner);
  }
  m_standardOutputOwner = what;
}

bool Session::ReportOnStandardOutput() const { return IsStandardStream(m_reportFile); }

void Session::Finish(int exitStatus, const std::string& error) {
  if (m_reportFile.empty()) return;
  const std::string text = m_report.ToJson(m_command, exitStatus, error).dump(2) + "\n";
  if (ReportOnStandardOutput()) {
    std::cout << text;
    CheckStandardOutput();
    return;
  }
  std::ofstream out(m_reportFile, std::ios::binary);
  if (!out) throw CFileException(CFileException::OsErrorToCause(errno), errno, m_reportFile);
  out << text;
  out.close();
  if (!out) throw CFileException(CFileException::hardIO, -1, m_reportFile);
}

}  // namespace morvit::tool
