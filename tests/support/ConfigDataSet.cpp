// The sample configuration contents and the data set written from them.
#include "support/ConfigDataSet.h"

#include <cstring>

#include "support/DomainBuilders.h"

namespace testutil {

std::vector<VConfigElement> Elements(std::uint16_t code, std::size_t count, std::size_t size,
                                     std::uint8_t seed) {
  std::vector<VConfigElement> elements(count);
  for (VConfigElement& element : elements) {
    element.code = code;
    for (std::size_t i = 0; i < size; ++i) element.bytes.push_back(seed++);
  }
  return elements;
}

TCbxElement CbxElement(std::int32_t t, const std::string& name, const std::string& enum0,
                       const std::string& enum1, std::uint16_t offset) {
  TCbxElement element{};
  element.typeIndex = t;
  element.nameLength = static_cast<std::uint16_t>(name.size());
  std::memcpy(element.name, name.data(), std::min<std::size_t>(name.size(), 20));
  std::memcpy(element.enumText[0], enum0.data(), std::min<std::size_t>(enum0.size(), 20));
  std::memcpy(element.enumText[1], enum1.data(), std::min<std::size_t>(enum1.size(), 20));
  for (std::uint16_t* field : {&element.byteOffsetCOLO, &element.byteOffsetCOLE,
                               &element.byteOffsetCOPM, &element.byteOffsetCODA}) {
    field[0] = offset;
    field[1] = static_cast<std::uint16_t>(offset + 1);
  }
  return element;
}

VCoioContent SampleCoio() {
  VCoioContent coio;
  coio.netStart = 3;
  coio.busNo = 7;
  coio.hardwareInit = Elements(864, 1, 6);
  const auto class23 = Elements(868, 1, 10, 40);
  coio.hardwareInit.push_back(class23[0]);
  return coio;
}

VCodaContent SampleCoda() {
  VCodaContent coda;
  coda.coloLength = 0x1234;
  coda.coleLength = 0x0100;
  coda.copmLength = 0x0220;
  coda.calcEventScanTime = 50;
  coda.nodeName = "NODE 17";
  coda.initLoadDate = {2024, 5, 17, 12, 30, 45, 250};
  coda.targetType = "KOR 5.1";
  coda.targetCodeInfo = "TCI";
  coda.options = {{"MVB", "1.0"}, {"EVENTS", "2.3"}};
  std::vector<VConfigElement>* sections[] = {&coda.coloInit,  &coda.coleInit, &coda.copmInit,
                                             &coda.ln700Move, &coda.mviMove,  &coda.evsSend,
                                             &coda.evsTrans,  &coda.evsCalc,  &coda.evsMfb};
  std::uint16_t code = 0x0300;
  for (auto* section : sections) {
    code = static_cast<std::uint16_t>(code + 4);
    *section = Elements(code, 1, 4 + code % 8);
  }
  coda.hasDat = true;
  coda.dat = {1, 2, 3, 4, 5, 6};
  coda.hasParDat = true;
  coda.parDat = {9, 8, 7};
  return coda;
}

VBxdContent SampleBxd() {
  VBxdContent bxd;
  bxd.headerWord = 0x0102;
  bxd.elementWord = 0x0BEE;
  for (std::uint16_t slot : {9, 0, 5}) {
    VBxdProgram program;
    program.slot = slot;
    program.slotValue = static_cast<std::uint16_t>(100 + slot);
    program.head = {slot, 1, 2, 3};
    program.trailer = {0xFFFF, slot};
    program.prolog = Elements(608, 2, 4, static_cast<std::uint8_t>(slot));
    program.sectionB = Elements(452, 1, 6);
    program.sectionC = Elements(664, 1, 2);
    bxd.programs.push_back(program);
  }
  return bxd;
}

VCbxContent SampleCbd(std::size_t count) {
  VCbxContent cbd;
  for (std::size_t i = 0; i < count; ++i) {
    cbd.elements.push_back(CbxElement(static_cast<std::int32_t>(i % 7), "N" + std::to_string(i),
                                      "ON" + std::to_string(i % 10), "OFF",
                                      static_cast<std::uint16_t>(i)));
  }
  return cbd;
}

VCbxContent SampleCbp() {
  VCbxContent cbp;
  for (std::int32_t t = 7; t < 16; ++t) {
    cbp.elements.push_back(CbxElement(t, "P" + std::to_string(t), "", "", 10));
  }
  cbp.shifts = {{100, 200}};
  return cbp;
}

ObjParcelType ConfigParcel(std::uint16_t type) { return TestParcel(type); }

void WriteConfigDataSet(std::size_t cbdCount, DataSetGaps gaps) {
  if (!gaps.coio) VWriteCoio(ConfigParcel(26), SampleCoio());
  VWriteCoda(ConfigParcel(17), SampleCoda());
  if (!gaps.cbd) VWriteCbx(ConfigParcel(114), SampleCbd(cbdCount));
  VWriteCbx(ConfigParcel(115), SampleCbp());
  VWriteBxd(ConfigParcel(96), SampleBxd());
  VWriteBxd(ConfigParcel(98), SampleBxd());
}

}  // namespace testutil
