// Sample contents of the PC program domains for the tests: a task description, a resource
// description and programs with and without a pre-program, whose sections exercise every rule
// of the program back-translation.
#ifndef MORVIT_TESTS_SUPPORT_PROGRAMCONTENTS_H
#define MORVIT_TESTS_SUPPORT_PROGRAMCONTENTS_H

#include <cstdint>
#include <vector>

#include "morvit/VProgramWriters.h"

namespace testutil {

VProgramElement Element(std::uint16_t code, std::vector<std::uint8_t> bytes = {});

// Task `task` with the body words 1 to 12 (the task number in place of 1).
VTadeContent SampleTask(std::uint16_t task = 1);
// Resource "RESOURCE" with one initialisation element.
VRedeContent SampleResource();
// A program without a pre-program: section 0 holds the markers 604/648, 660/696 and 652/656
// with elements inside and outside them. "OffsetToProgVar" is 0x1234.
VPodeContent ProgramWithoutPreProgram();
// A program with a pre-program ("OffsetToPreProg" 0x40) and section 652.
VPodeContent ProgramWithPreProgram();

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_PROGRAMCONTENTS_H
