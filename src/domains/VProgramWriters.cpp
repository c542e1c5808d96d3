// The writers of the PC program domains: fill the domain from the content, then generate it as
// the manager does (open for generation, write, close), leaving no file when anything fails.
#include "morvit/VProgramWriters.h"

#include "domains/ProgramContent.h"
#include "domains/VPodeDomain.h"
#include "domains/VRedeDomain.h"
#include "domains/VTadeDomain.h"
#include "domains/WriterGeneration.h"
#include "files/HeaderFormat.h"

using namespace morvit;

namespace morvit {
namespace {

constexpr std::uint16_t kReloType = 35;
constexpr std::uint16_t kPoloType = 67;
// Room for the parcels of one domain file.
constexpr std::uint16_t kParcelRoom = 8;

// A load file that the library only removes: the common header and its body unchanged.
class LoadFileDomain : public VDomain {
 public:
  explicit LoadFileDomain(const std::vector<std::uint8_t>& body) : m_body(body) {}

  void WriteDomain(int listing) override {
    WriteDomainHeader(static_cast<std::uint16_t>(m_body.size()), listing);
    m_file.Write(m_body.data(), static_cast<unsigned>(m_body.size()));
  }

 private:
  const std::vector<std::uint8_t>& m_body;
};

// Writes and closes the filled domain as one file of the parcel with `type`. A domain longer
// than one domain file may be (its 16-bit header length would wrap) is refused.
std::vector<ObjParcelType> Generate(VDomain& domain, ObjParcelType parcel, std::uint16_t type) {
  parcel.domainType = type;
  return GenerateFilledDomain(domain, parcel, kParcelRoom, [](VDomain& written) {
    if (written.GetFile().GetLength() > headerformat::kMaximumPartSize) RefuseContent();
  });
}

template <typename Domain, typename Content>
std::vector<ObjParcelType> WriteFilled(const ObjParcelType& parcel, const Content& content) {
  Domain domain;
  domain.SetContent(content);
  return Generate(domain, parcel, Domain::kType);
}

}  // namespace
}  // namespace morvit

std::vector<ObjParcelType> VWriteTade(const ObjParcelType& parcel, const VTadeContent& content) {
  return WriteFilled<VTadeDomain>(parcel, content);
}

std::vector<ObjParcelType> VWriteRede(const ObjParcelType& parcel, const VRedeContent& content) {
  return WriteFilled<VRedeDomain>(parcel, content);
}

std::vector<ObjParcelType> VWritePode(const ObjParcelType& parcel, const VPodeContent& content) {
  return WriteFilled<VPodeDomain>(parcel, content);
}

std::vector<ObjParcelType> VWriteRelo(const ObjParcelType& parcel,
                                      const std::vector<std::uint8_t>& body) {
  LoadFileDomain domain(body);
  return Generate(domain, parcel, kReloType);
}

std::vector<ObjParcelType> VWritePolo(const ObjParcelType& parcel,
                                      const std::vector<std::uint8_t>& body) {
  LoadFileDomain domain(body);
  return Generate(domain, parcel, kPoloType);
}
