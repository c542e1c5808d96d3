// A configuration data set built by the configuration writers, for the tests of the COIO, CODA,
// decoder-table and BxD domains and of the database back-translation: contents with every
// feature the readers must handle, and the writes of a whole set.
#ifndef MORVIT_TESTS_SUPPORT_CONFIGDATASET_H
#define MORVIT_TESTS_SUPPORT_CONFIGDATASET_H

#include <cstdint>
#include <string>
#include <vector>

#include "morvit/VConfigWriters.h"
#include "support/FakeHost.h"

namespace testutil {

// Elements of `count` bytes each, codes `code`, bytes counting up from `seed`.
std::vector<VConfigElement> Elements(std::uint16_t code, std::size_t count, std::size_t size,
                                     std::uint8_t seed = 1);

// A decoder-table description of element type `t`; the enumeration texts go where the type
// has them; every offset is `offset` (bit offsets `offset` + 1).
TCbxElement CbxElement(std::int32_t t, const std::string& name, const std::string& enum0 = "",
                       const std::string& enum1 = "", std::uint16_t offset = 0);

// COIO with a class-1 (864) and a class-2/3 (868) hardware-init element.
VCoioContent SampleCoio();
// CODA with two options, one element in each of its nine sections, DAT and PARDAT.
VCodaContent SampleCoda();
// BxD with programs in slots 0, 5 and 9: prolog, section B and section C elements.
VBxdContent SampleBxd();
// CbD of `count` descriptions of every DAT type in turn, named "N<i>" with texts.
VCbxContent SampleCbd(std::size_t count);
// CbP with one description of every PARDAT type and a shift of 100 and 200.
VCbxContent SampleCbp();

// The parcel every writer gets: the tests' parcel (object 1, version 1).
ObjParcelType ConfigParcel(std::uint16_t type);

// Which domains a data set leaves out.
struct DataSetGaps {
  bool coio = false;
  bool cbd = false;
};

// Writes COIO, CODA, CbD (`cbdCount` descriptions), CbP and BxD types 96 and 98 into the host's
// data directory, leaving out what `gaps` says.
void WriteConfigDataSet(std::size_t cbdCount, DataSetGaps gaps = {});

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_CONFIGDATASET_H
