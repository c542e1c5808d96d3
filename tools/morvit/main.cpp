// The morvit command-line tool.
#include "Commands.h"

int main(int argc, char** argv) { return morvit::tool::RunTool(argc, argv); }
