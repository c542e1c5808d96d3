// VTadeDomain: the task body as a layout table, and its hand-over to the database.
#include "domains/VTadeDomain.h"

#include "domains/FieldLayout.h"
#include "domains/SectionBacktranslation.h"
#include "morvit/VDatabase.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VTadeDomain, VDomain)

namespace {

constexpr FieldSpec kTaskFields[] = {
    {"TaskNumber", FieldEncoding::Cardinal},    {"Scheduling", FieldEncoding::Cardinal},
    {"CycleTime", FieldEncoding::Cardinal},     {"PlaceInCTT", FieldEncoding::Cardinal},
    {"InitialState", FieldEncoding::Cardinal},  {"InstanceKey", FieldEncoding::Cardinal},
    {"TypeCode", FieldEncoding::Cardinal},      {"CallParameter", FieldEncoding::Cardinal},
    {"CallParameter", FieldEncoding::Cardinal}, {"CallParameter", FieldEncoding::Cardinal},
    {"CallParameter", FieldEncoding::Cardinal}, {"CallParameter", FieldEncoding::Cardinal},
};
constexpr FieldLayout kTaskLayout(kTaskFields);
constexpr std::uint16_t kBodyLength = 24;

}  // namespace

VTadeDomain::VTadeDomain() = default;

VTadeDomain::~VTadeDomain() = default;

void VTadeDomain::ReadDomain() {
  ReadDomainHeader();
  ReadLayout(m_file, m_taskElement, kTaskLayout);
}

void VTadeDomain::WriteDomain(int listing) {
  WriteDomainHeader(GetDomainLength(), listing);
  m_taskElement.SeekToBegin();
  WriteLayout(m_io, m_taskElement, m_file, kTaskLayout, listing);
}

std::uint16_t VTadeDomain::GetDomainLength() { return kBodyLength; }

// A domain read without a database has nobody to hand its body to: it goes on (1) at once.
int VTadeDomain::Backtranslate() {
  m_taskElement.SetCode(kType);
  const Era stamp = TimeStamp();
  return HandElementToDatabase(m_pDatabase, m_file.GetFileName(), m_taskElement, ObjectId(),
                               [&](VDatabase& database) { database.SaveExecPitch(stamp); });
}

void VTadeDomain::SetContent(const VTadeContent& content) {
  const std::uint16_t values[] = {content.taskNumber, content.scheduling,   content.cycleTime,
                                  content.placeInCTT, content.initialState, content.instanceKey,
                                  content.typeCode};
  std::size_t index = 0;
  for (const std::uint16_t value : values) SetField(m_taskElement, kTaskLayout, index++, value);
  for (const std::uint16_t value : content.callParameters) {
    SetField(m_taskElement, kTaskLayout, index++, value);
  }
}

}  // namespace morvit
