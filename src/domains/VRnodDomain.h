// VRnodDomain: the node domain of the other node kind (RNOD, type 44): a CNOD whose companion
// file list is of type 120.
#ifndef MORVIT_DOMAINS_VRNODDOMAIN_H
#define MORVIT_DOMAINS_VRNODDOMAIN_H

#include "domains/VCnodDomain.h"

namespace morvit {

class VRnodDomain : public VCnodDomain {
  DECLARE_RUNTIME_CLASS(VRnodDomain)

 public:
  explicit VRnodDomain(int nodeMode);
  ~VRnodDomain() override;

  void OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode) override;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VRNODDOMAIN_H
