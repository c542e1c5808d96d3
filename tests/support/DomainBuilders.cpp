// Section-record builders, C-interface generation and the recording database.
#include "support/DomainBuilders.h"

#include <algorithm>
#include <filesystem>

#include "morvit/VElement.h"

namespace testutil {

TSectionInfo Section(std::int32_t kind) {
  TSectionInfo section{};
  section.kind = kind;
  return section;
}

void PutText(TSectionInfo& section, std::size_t offset, std::size_t lengthOffset,
             const std::string& text) {
  std::memcpy(reinterpret_cast<unsigned char*>(&section) + offset, text.data(), text.size());
  Put(section, lengthOffset, static_cast<std::uint16_t>(text.size()));
}

TSectionInfo NobaText(const char* chars, std::uint16_t length) {
  TSectionInfo section = Section(0);
  Put(section, 8, length);
  Put(section, 12, chars);
  return section;
}

TSectionInfo Entry(std::uint16_t key, EntryValues values, const std::string& name) {
  TSectionInfo section = Section(5);
  Put(section, 8, key);
  Put(section, 10, values.a);
  Put(section, 12, values.b);
  Put(section, 14, values.c);
  Put(section, 16, values.d);
  Put(section, 18, values.e);
  PutText(section, 20, 122, name);
  return section;
}

TSectionInfo Addition(std::uint16_t key, std::uint16_t number, const std::string& first,
                      const std::string& second, std::int16_t terminalValue) {
  TSectionInfo section = Section(7);
  Put(section, 8, key);
  Put(section, 10, number);
  PutText(section, 12, 114, first);
  PutText(section, 116, 218, second);
  Put(section, 220, std::int32_t{1});
  Put(section, 224, terminalValue);
  Put(section, 280, std::uint16_t{2});
  return section;
}

TSectionInfo PageBreak(std::uint16_t number, std::int32_t value, std::uint8_t flag,
                       const std::string& text) {
  TSectionInfo section = Section(6);
  Put(section, 8, value);
  Put(section, 12, number);
  Put(section, 14, flag);
  PutText(section, 15, 96, text);
  return section;
}

TSectionInfo BobaObject(std::uint16_t object, std::uint16_t value1, std::uint16_t value2,
                        std::uint16_t value3) {
  TSectionInfo section = Section(3);
  Put(section, 8, object);
  Put(section, 10, value1);
  Put(section, 12, value2);
  Put(section, 14, value3);
  return section;
}

namespace {

TSectionInfo BobaTerminal(const TBATerminal& terminal) {
  TSectionInfo section = Section(4);
  std::memcpy(reinterpret_cast<unsigned char*>(&section) + 8, &terminal, sizeof terminal);
  return section;
}

}  // namespace

TSectionInfo BobaTerminal(std::uint16_t object, std::int16_t value) {
  TBATerminal terminal{};
  terminal.objectNumber = object;
  terminal.typeCode = 1;
  std::memcpy(terminal.value.bytes, &value, sizeof value);
  return BobaTerminal(terminal);
}

TSectionInfo BobaTerminal(std::uint16_t object, const std::string& text) {
  TBATerminal terminal{};
  terminal.objectNumber = object;
  terminal.typeCode = 4;
  std::memcpy(terminal.value.bytes, text.data(), text.size());
  terminal.length = static_cast<std::uint16_t>(text.size());
  return BobaTerminal(terminal);
}

TSectionInfo NodeRecord(const NodeFiles& files) {
  TSectionInfo section = Section(0);
  for (std::size_t i = 0; i < 3; ++i) Put(section, 12 + 4 * i, files.searchKinds[i]);
  Put(section, 24, files.kind);
  Put(section, 28, files.value);
  std::memcpy(reinterpret_cast<unsigned char*>(&section) + 32, files.text.data(),
              std::min<std::size_t>(files.text.size(), 17));
  Put(section, 49, static_cast<std::uint8_t>(files.carry ? 1 : 0));
  std::memcpy(reinterpret_cast<unsigned char*>(&section) + 52, files.pattern.data(),
              files.pattern.size());
  return section;
}

ObjParcelType TestParcel(std::uint16_t type) {
  ObjParcelType parcel{};
  parcel.objectNumber = 1;
  parcel.classLetter = 'C';
  parcel.domainType = type;
  parcel.version = 1;
  parcel.timeStamp[0] = 26;
  parcel.timeStamp[1] = 12;
  parcel.timeStamp[2] = 7;
  return parcel;
}

Generation GenerateThroughC(std::uint16_t type, const std::vector<TSectionInfo>& sections,
                            std::uint16_t highestIndex) {
  return GenerateThroughC(TestParcel(type), sections, highestIndex);
}

Generation GenerateThroughC(const ObjParcelType& parcel, const std::vector<TSectionInfo>& sections,
                            std::uint16_t highestIndex, const VManager::DomainFactory& factory) {
  const std::uint16_t type = parcel.domainType;
  Generation result;
  VManager* manager = factory ? new VManager(nullptr, factory) : VBase_CreateManager();
  result.startStatus = VBase_PutStart(manager, type, parcel);
  for (TSectionInfo section : sections) {
    result.insertStatus.push_back(VBase_Insert(manager, type, &section));
  }
  std::vector<ObjParcelType> parcels(highestIndex + 1u);
  std::uint16_t count = 0;
  result.finishStatus = VBase_PutFinishEx(manager, type, &count, highestIndex, parcels.data());
  parcels.resize(count);
  result.parcels = parcels;
  VBase_DeleteManager(&manager);
  return result;
}

void RecordingDatabase::Insert(std::uint16_t code, VElement* element) {
  Bytes bytes(element->GetLength());
  element->SeekToBegin();
  element->Read(bytes.data(), static_cast<unsigned>(bytes.size()));
  inserted.push_back({code, element->GetCode(), std::move(bytes)});
}

std::vector<std::string> FilesWithExtensionLetter(const std::string& directory, char letter) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    const std::string extension = entry.path().extension().string();
    if (extension.size() > 1 && extension[1] == letter) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

Bytes DomainTypeTest::OnlyFile(char letter) const {
  const auto files = FilesWithExtensionLetter(host.DataDirectory(), letter);
  EXPECT_EQ(files.size(), 1u) << "files with extension letter " << letter;
  return files.empty() ? Bytes() : ReadWholeFile(files[0]);
}

std::vector<int> DomainTypeTest::Progress() const {
  std::vector<int> values;
  for (const auto& m : host.sent)
    if (m.number == kMessageProgress) values.push_back(m.value);
  return values;
}

}  // namespace testutil
