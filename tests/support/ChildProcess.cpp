// Child processes of a test program: started with posix_spawn or CreateProcessW, found at the
// child's start by a GoogleTest environment that runs the registered body and ends the process
// before any test.
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace testutil {
namespace {

// The child's name and its arguments, one per line, reach it through its environment.
constexpr const char* kNameVariable = "MORVIT_TEST_CHILD";
constexpr const char* kArgumentsVariable = "MORVIT_TEST_CHILD_ARGUMENTS";

std::map<std::string, ChildBody>& Bodies() {
  static std::map<std::string, ChildBody> bodies;
  return bodies;
}

std::string Joined(const std::vector<std::string>& arguments) {
  std::string joined;
  for (const std::string& argument : arguments) joined += argument + "\n";
  return joined;
}

std::vector<std::string> Split(const char* joined) {
  std::vector<std::string> arguments;
  std::string current;
  for (const char* c = joined; *c != '\0'; ++c) {
    if (*c != '\n') {
      current += *c;
    } else {
      arguments.push_back(current);
      current.clear();
    }
  }
  return arguments;
}

// Runs in every test program before its tests: in a child it runs the body and ends there.
class ChildEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* name = std::getenv(kNameVariable);
    if (name == nullptr || *name == '\0') return;
    const auto body = Bodies().find(name);
    if (body == Bodies().end()) std::_Exit(2);
    const char* arguments = std::getenv(kArgumentsVariable);
    body->second(Split(arguments != nullptr ? arguments : ""));
    std::_Exit(0);
  }
};

[[maybe_unused]] ::testing::Environment* const kChildEnvironment =
    ::testing::AddGlobalTestEnvironment(new ChildEnvironment);

// The child runs the parent's current test alone, so that the environments are set up.
std::string OnlyThisTest() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string("--gtest_filter=") + (test != nullptr ? test->test_suite_name() : "") + "." +
         (test != nullptr ? test->name() : "");
}

}  // namespace

ChildRegistration::ChildRegistration(const char* name, ChildBody body) { Bodies()[name] = body; }

#ifdef _WIN32

namespace {

std::wstring Wide(const std::string& text) {
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), size);
  wide.resize(wide.empty() ? 0 : wide.size() - 1);
  return wide;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& name, const std::vector<std::string>& arguments) {
  wchar_t program[MAX_PATH * 4] = {};
  ::GetModuleFileNameW(nullptr, program, MAX_PATH * 4);
  std::wstring commandLine = L"\"" + std::wstring(program) + L"\" " + Wide(OnlyThisTest());
  // The child inherits this process's environment, with its name and arguments in it.
  ::SetEnvironmentVariableW(Wide(kNameVariable).c_str(), Wide(name).c_str());
  ::SetEnvironmentVariableW(Wide(kArgumentsVariable).c_str(), Wide(Joined(arguments)).c_str());
  // The child's standard output (GoogleTest's banner) goes nowhere.
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE nothing = ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       &inherited, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = nothing;
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION started{};
  const BOOL made = ::CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                     nullptr, nullptr, &startup, &started);
  if (nothing != INVALID_HANDLE_VALUE) ::CloseHandle(nothing);
  if (made) {
    ::CloseHandle(started.hThread);
    m_process = reinterpret_cast<std::intptr_t>(started.hProcess);
  }
  ::SetEnvironmentVariableW(Wide(kNameVariable).c_str(), nullptr);
  ::SetEnvironmentVariableW(Wide(kArgumentsVariable).c_str(), nullptr);
}

void ChildProcess::Kill() {
  if (m_process != -1 && !m_waited) {
    ::TerminateProcess(reinterpret_cast<HANDLE>(m_process), kKilledStatus);
  }
}

int ChildProcess::Wait() {
  if (m_process == -1 || m_waited) return m_status;
  HANDLE process = reinterpret_cast<HANDLE>(m_process);
  DWORD code = 0;
  if (::WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 &&
      ::GetExitCodeProcess(process, &code)) {
    m_status = static_cast<int>(code);
  }
  ::CloseHandle(process);
  m_waited = true;
  return m_status;
}

#else

ChildProcess::ChildProcess(const std::string& name, const std::vector<std::string>& arguments) {
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    environment.emplace_back(*variable);
  }
  environment.push_back(std::string(kNameVariable) + "=" + name);
  environment.push_back(std::string(kArgumentsVariable) + "=" + Joined(arguments));
  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);
  std::string program = "/proc/self/exe";
  std::string filter = OnlyThisTest();
  char* argv[] = {program.data(), filter.data(), nullptr};
  // The child's standard output (GoogleTest's banner) goes nowhere.
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = -1;
  if (::posix_spawn(&child, program.c_str(), &actions, nullptr, argv, envp.data()) == 0) {
    m_process = child;
  }
  ::posix_spawn_file_actions_destroy(&actions);
}

void ChildProcess::Kill() {
  if (m_process != -1 && !m_waited) ::kill(static_cast<pid_t>(m_process), SIGKILL);
}

int ChildProcess::Wait() {
  if (m_process == -1 || m_waited) return m_status;
  int status = 0;
  if (::waitpid(static_cast<pid_t>(m_process), &status, 0) == m_process) {
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  m_waited = true;
  return m_status;
}

#endif

ChildProcess::~ChildProcess() {
  Kill();
  Wait();
}

}  // namespace testutil
