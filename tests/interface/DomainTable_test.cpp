// The type table of the manager: the domain class each generated type number gets.
#include "interface/DomainTable.h"

#include <gtest/gtest.h>

#include "domains/VBobaDomain.h"
#include "domains/VCnodDomain.h"
#include "domains/VNobaDomain.h"
#include "domains/VPobaDomain.h"
#include "domains/VRebaDomain.h"
#include "domains/VRnodDomain.h"

namespace morvit {

namespace {

TEST(DomainTable, TypeNumbersGetTheirClasses) {
  const struct {
    std::uint16_t type;
    const CRuntimeClass* cls;  // null: no domain class
  } rows[] = {
      {1, RUNTIME_CLASS(VCnodDomain)},
      {3, RUNTIME_CLASS(VNobaDomain)},
      {44, RUNTIME_CLASS(VRnodDomain)},
      {46, RUNTIME_CLASS(VRebaDomain)},
      {78, RUNTIME_CLASS(VPobaDomain)},
      {116, RUNTIME_CLASS(VBobaDomain)},
      {117, RUNTIME_CLASS(VBobaDomain)},
      {118, RUNTIME_CLASS(VBobaDomain)},
      {2, nullptr},
      {33, nullptr},  // REDE, TADE and PODE are read, never generated
      {49, nullptr},
      {65, nullptr},
      {47, nullptr},
      {79, nullptr},
      {119, nullptr},
      {120, nullptr},
  };
  for (const auto& row : rows) {
    const auto domain = CreateDomainForType(row.type);
    if (row.cls == nullptr) {
      EXPECT_EQ(domain, nullptr) << row.type;
    } else {
      ASSERT_NE(domain, nullptr) << row.type;
      EXPECT_EQ(domain->GetRuntimeClass(), row.cls) << row.type;
    }
  }
}

}  // namespace

}  // namespace morvit
