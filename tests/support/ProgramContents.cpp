// The sample PC program contents.
#include "support/ProgramContents.h"

namespace testutil {

VProgramElement Element(std::uint16_t code, std::vector<std::uint8_t> bytes) {
  return {code, std::move(bytes)};
}

VTadeContent SampleTask(std::uint16_t task) { return {task, 2, 3, 4, 5, 6, 7, {8, 9, 10, 11, 12}}; }

VRedeContent SampleResource() {
  VRedeContent resource;
  resource.reloLength = 0x0102;
  resource.offsetToIniData = 0x0304;
  resource.resourceName = "RESOURCE";
  resource.initLoadDate = {2026, 12, 7, 22, 30, 15, 500};
  resource.programNumber = 5;
  resource.preProgramFlag = 1;
  resource.secondName = "SECOND";
  resource.trailer = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  resource.initElements = {Element(540, {0xAA, 0xBB})};
  return resource;
}

VPodeContent ProgramWithoutPreProgram() {
  VPodeContent program;
  program.length = 0x100;
  program.programNumber = 5;
  program.offsetToProgVar = 0x1234;
  program.programInit = {Element(570, {1, 2})};
  program.record576 = {9, 9};
  program.prolog = {Element(610, {3}), Element(612)};
  program.section0 = {Element(0, {0xA}), Element(604), Element(620, {1}), Element(648),
                      Element(8, {2}),   Element(660), Element(670),      Element(696),
                      Element(652),      Element(8),   Element(653, {4}), Element(656),
                      Element(654)};
  program.section660 = {Element(680, {4, 5, 6})};
  program.record700 = {7};
  return program;
}

VPodeContent ProgramWithPreProgram() {
  VPodeContent program = ProgramWithoutPreProgram();
  program.offsetToPreProg = 0x40;
  program.section0.clear();
  program.preProgram = {Element(590, {1})};
  program.section652 = {Element(653, {2}), Element(655)};
  return program;
}

}  // namespace testutil
