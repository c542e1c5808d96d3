// VRedeDomain: the resource header as a layout table, the initialisation section, and the
// hand-over of the header to the database.
#include "domains/VRedeDomain.h"

#include <stdexcept>

#include "domains/FieldLayout.h"
#include "domains/ProgramContent.h"
#include "domains/SectionBacktranslation.h"
#include "morvit/VDatabase.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VRedeDomain, VDomain)

namespace {

constexpr std::uint16_t kResourceInitStart = 536;
constexpr std::uint16_t kResourceInitEnd = 544;
constexpr std::uint16_t kNameWidth = 20;

// The load date is kept in its 8-byte short form (year, month, day, hour, minute, second as
// bytes, then the milliseconds) and carried unchanged; the last ten bytes have no label.
constexpr FieldSpec kHeaderFields[] = {
    {"Length of RELO", FieldEncoding::Cardinal},
    {"OffsToIniDat", FieldEncoding::Cardinal},
    {"ResourceName", FieldEncoding::Chars, kNameWidth},
    {"REDE InitLoadDate", FieldEncoding::Bytes, 8},
    {"PGMNumber", FieldEncoding::Cardinal},
    {"PreProFlag", FieldEncoding::Cardinal},
    {"ResourceName", FieldEncoding::Chars, kNameWidth},
    {nullptr, FieldEncoding::Bytes, 8},
    {nullptr, FieldEncoding::Bytes, 2},
};
constexpr FieldLayout kHeaderLayout(kHeaderFields);
enum HeaderField : std::size_t {
  kReloLength,
  kOffsetToIniData,
  kResourceName,
  kInitLoadDate,
  kProgramNumber,
  kPreProgramFlag,
  kSecondName,
  kTrailer,  // ten bytes in two unlabelled fields
};
constexpr std::size_t kTrailerWidth = 8 + 2;

}  // namespace

VRedeDomain::VRedeDomain() : m_initSection(kResourceInitStart, kResourceInitEnd) {}

VRedeDomain::~VRedeDomain() = default;

void VRedeDomain::ReadDomain() {
  ReadDomainHeader();
  ReadLayout(m_file, m_resourceHeader, kHeaderLayout);
  m_initSection.Read(m_file, kResourceInitStart, kResourceInitEnd, 0);
}

void VRedeDomain::WriteDomain(int listing) {
  WriteDomainHeader(
      static_cast<std::uint16_t>(LayoutSize(kHeaderLayout) + m_initSection.GetLength()), listing);
  m_resourceHeader.SeekToBegin();
  WriteLayout(m_io, m_resourceHeader, m_file, kHeaderLayout, listing);
  m_initSection.Write(m_file, listing);
}

// A domain read without a database has nobody to hand its header to: it goes on (1) at once.
int VRedeDomain::Backtranslate() {
  m_resourceHeader.SetCode(kType);
  const std::uint16_t program = m_file.GetParcel().objectNumber;
  return HandElementToDatabase(m_pDatabase, m_file.GetFileName(), m_resourceHeader, ObjectId(),
                               [&](VDatabase& database) { database.SetPCProgNo(program); });
}

void VRedeDomain::SetContent(const VRedeContent& content) {
  CheckFits(content.resourceName, kNameWidth);
  CheckFits(content.secondName, kNameWidth);
  if (content.trailer.size() > kTrailerWidth) RefuseContent();
  SetField(m_resourceHeader, kHeaderLayout, kReloLength, content.reloLength);
  SetField(m_resourceHeader, kHeaderLayout, kOffsetToIniData, content.offsetToIniData);
  SetField(m_resourceHeader, kHeaderLayout, kResourceName, content.resourceName);
  m_resourceHeader.Seek(FieldOffset(kHeaderLayout, kInitLoadDate), CFile::begin);
  try {
    m_io.WriteRTime(m_resourceHeader, content.initLoadDate, 0, nullptr, 1);
  } catch (const std::out_of_range&) {
    RefuseContent();  // a date that the short form cannot hold
  }
  SetField(m_resourceHeader, kHeaderLayout, kProgramNumber, content.programNumber);
  SetField(m_resourceHeader, kHeaderLayout, kPreProgramFlag, content.preProgramFlag);
  SetField(m_resourceHeader, kHeaderLayout, kSecondName, content.secondName);
  std::vector<std::uint8_t> trailer(content.trailer);
  trailer.resize(kTrailerWidth);
  m_resourceHeader.Seek(FieldOffset(kHeaderLayout, kTrailer), CFile::begin);
  m_resourceHeader.Write(trailer.data(), static_cast<unsigned>(trailer.size()));
  FillSection(m_initSection, content.initElements);
}

}  // namespace morvit
