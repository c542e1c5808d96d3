// The COIO and COIC bodies in CODE mode. A COIO body is a section of device records: each opens
// with its element code and length, names its device, and for the classes 2/3 and the J460
// carries object-type blocks of instances and configuration blocks. Whatever does not fit that
// structure is flagged "Data corrupted!" and listed plainly to the end.
#include "dump/IoConfigListing.h"

#include <cstdint>

#include "support/ControllerTypes.h"

namespace morvit {

namespace {

using dumplayout::LabelStep;
using dumplayout::Line;
using dumplayout::Lines;
using dumplayout::When;

// Section and device-record codes.
constexpr std::uint16_t kHwInitStart = 848;
constexpr std::uint16_t kHwInitEnd = 852;
constexpr std::uint16_t kHwChangeStart = 856;
constexpr std::uint16_t kHwChangeEnd = 860;
constexpr std::uint16_t kClass1Device = 864;
constexpr std::uint16_t kClass23Device = 868;
constexpr std::uint16_t kJ460Device = 1792;

// A count word with this value counts nothing.
constexpr std::uint16_t kNoneMinus1 = 0xFFFF;
// The object type's low byte modulo this is its number of configuration blocks; a
// configuration block's word modulo kByteCountUnit is its byte count.
constexpr unsigned kConfigBlockCountUnit = 128;
constexpr unsigned kByteCountUnit = 4096;

constexpr LabelStep kDeviceRecord[] = {
    Lines("DeviceIdent         ", 5),
    Line("IMPL                ", When::from50),
    Line("Instance Key        ", When::from50),
    Line("DedNo               ", When::from50),
    Line("Spare 1             ", When::from50),
    Line("Spare 2             ", When::from50),
    Line("Bus          Station", When::from50),
    Line("Cluster     Position", When::from50),
    Line("SubStat   DeviceNo  ", When::below50),
    Line("DevSpec1  Class     "),
    Line("DevSpec2            "),
};

constexpr LabelStep kDeviceTime[] = {
    Line("SEC       MIN       "),
    Line("HOU       DAY       "),
    Line("MON       YEA       "),
};

// The two words before an object type: the second is the instance count.
constexpr LabelStep kObjectTypeHead[] = {
    Line("MaxNumberInstances  "),
    Line("NoActiveInstances   "),
};
constexpr LabelStep kJ460ObjectTypeHead[] = {
    Line("TreatmentInfo       "),
    Line("MaxNumberInstances  "),
};

constexpr LabelStep kInstanceFrom50[] = {
    Line("Instance Key"),
    Line("DedNo"),
    Line("ACT (1 bit)   Spare (15 bit)"),
    Line("ObjInstanceNumber  "),
};
constexpr LabelStep kInstance[] = {Line("ObjActiveInstanceNo ")};
constexpr LabelStep kJ460Instance[] = {Line("ObjInstanceNumber   ")};

// A module of a COIC list.
constexpr LabelStep kModule[] = {
    Line("Bus          Station", When::from50),
    Line("Cluster     Position", When::from50),
    Line("ioStat | subp*64,pos", When::below50),
};

// Instances of one object type, each followed by its configuration blocks.
void Instances(CodeListing& listing, std::uint16_t code, std::uint32_t instances,
               std::uint32_t blocks) {
  std::span<const LabelStep> instance = kInstance;
  if (listing.VersionFrom50()) {
    instance = kInstanceFrom50;
  } else if (code == kJ460Device) {
    instance = kJ460Instance;
  }
  for (std::uint32_t i = 0; i < instances && !listing.PastEnd(); ++i) {
    listing.Steps(instance, true);
    for (std::uint32_t b = 0; b < blocks && !listing.PastEnd(); ++b) {
      listing.Line("ObjAttr   NoByteConf");
      const unsigned bytes = listing.LastWord() % kByteCountUnit;
      listing.SetLabel(CodeListing::kBlankLabel);
      for (unsigned w = 0; w < (bytes + 1) / 2 && !listing.PastEnd(); ++w) listing.Line();
    }
  }
}

// The time and object-type blocks of a class 2/3 or J460 device.
void ObjectTypes(CodeListing& listing, std::uint16_t code) {
  listing.SetTimeStamp(true);
  listing.Steps(kDeviceTime);
  listing.SetTimeStamp(false);
  listing.Line("NoObjTypeBlocksMin1 ");
  const std::uint16_t typesMinus1 = listing.LastWord();
  if (typesMinus1 == kNoneMinus1) return;
  for (std::uint32_t t = 0; t <= typesMinus1 && !listing.PastEnd(); ++t) {
    listing.Steps(code == kJ460Device ? std::span<const LabelStep>(kJ460ObjectTypeHead)
                                      : std::span<const LabelStep>(kObjectTypeHead),
                  true);
    const std::uint16_t instances = listing.LastWord();
    listing.Line("ObjType   NoConfBloc");
    std::uint8_t objectType = 0;
    std::uint8_t blockCount = 0;
    controller::CardinalToHighLow(listing.LastWord(), objectType, blockCount);
    const unsigned blocks = blockCount % kConfigBlockCountUnit;
    Instances(listing, code, instances, blocks);
  }
}

// The element line of a code and the plain line of its length.
void ElementWithLength(CodeListing& listing) {
  listing.ElementLine();
  listing.Line();
}

// "Data corrupted!" for the word at hand, then the rest as plain body words.
void Corrupted(CodeListing& listing) {
  listing.Line("Data corrupted!     ");
  listing.SetLabel(CodeListing::kBlankLabel);
  listing.BodyLines();
}

}  // namespace

void ListIoConfigBody(CodeListing& listing) {
  const std::uint16_t start = listing.CurrentWord();
  if (start != kHwInitStart && start != kHwChangeStart) return Corrupted(listing);
  ElementWithLength(listing);
  while (!listing.PastEnd()) {
    const std::uint16_t code = listing.CurrentWord();
    if (code == kHwInitEnd || code == kHwChangeEnd) return ElementWithLength(listing);
    if (code != kClass1Device && code != kClass23Device && code != kJ460Device) break;
    ElementWithLength(listing);
    listing.Steps(kDeviceRecord);
    if (code != kClass1Device) ObjectTypes(listing, code);
  }
  Corrupted(listing);
}

void ListIoChangeBody(CodeListing& listing) {
  for (const char* label : {"NoDeletedModulesMin1", "NoChangedOrNewMoMin1"}) {
    listing.Line(label);
    const std::uint16_t modulesMinus1 = listing.LastWord();
    if (modulesMinus1 == kNoneMinus1) continue;
    for (std::uint32_t m = 0; m <= modulesMinus1 && !listing.PastEnd(); ++m) {
      listing.Steps(kModule, true);
    }
  }
}

}  // namespace morvit
