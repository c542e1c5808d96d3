// VCoioDomain: a 4-byte header and one section in and out, and the hand-over to the database.
#include "domains/VCoioDomain.h"

#include "domains/SectionBacktranslation.h"
#include "morvit/VDatabase.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VCoioDomain, VDomain)

const FieldSpec VCoioDomain::kHeader[2] = {{"NetStart", FieldEncoding::Cardinal},
                                           {"BusNo", FieldEncoding::Cardinal}};

VCoioDomain::VCoioDomain() : m_hwInitSection(kHwInitStartCode, kHwInitEndCode) {}

VCoioDomain::~VCoioDomain() = default;

void VCoioDomain::ReadDomain() {
  ReadDomainHeader();
  ReadLayout(m_file, m_headerImage, kHeader);
  m_hwInitSection.Read(m_file, kHwInitStartCode, kHwInitEndCode, 0);
}

void VCoioDomain::WriteDomain(int listing) {
  WriteDomainHeader(
      static_cast<std::uint16_t>(m_headerImage.GetLength() + m_hwInitSection.GetLength()), listing);
  m_headerImage.SeekToBegin();
  WriteLayout(m_io, m_headerImage, m_file, kHeader, listing);
  m_hwInitSection.Write(m_file, listing);
}

int VCoioDomain::Backtranslate() {
  if (m_pDatabase == nullptr) return 1;
  ElementHandOver handOver(*m_pDatabase, m_file.GetFileName(), ElementCount({&m_hwInitSection}),
                           ElementHandOver::Cancel::Never);
  handOver.Insert(m_hwInitSection, kHwInitStartCode);
  m_pDatabase->SetObjectId(DomainObjectId(m_file.GetParcel()));
  return 1;
}

}  // namespace morvit
