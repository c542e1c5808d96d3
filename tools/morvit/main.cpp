// The morvit command-line tool.
#include <vector>

#include "cli/Commands.h"
#include "cli/ToolPlatform.h"

// The arguments go on in UTF-8 on every host: they name files that the library opens.
int main(int argc, char** argv) {
  const std::vector<std::string> arguments = morvit::tool::Utf8Arguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
  return morvit::tool::RunTool(static_cast<int>(pointers.size()), pointers.data());
}
