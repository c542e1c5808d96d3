// The header label table of the CODE-mode listing: for each domain type, the label of its type
// line, whether the date block follows, the labels of its further header words and where its
// element body starts. Labels are the system's own, 20 characters unless the format has
// others.
#include "dump/HeaderLayouts.h"

#include <algorithm>
#include <iterator>

namespace morvit::dumplayout {

namespace {

// A label of 21 spaces (the low words of the decoder-table block offsets).
constexpr const char* kBlank21 = "                     ";

constexpr LabelStep kCodaOptionBlock[] = {
    Valued(Lines("Option Name         ", 9), Meaning::text),
    Valued(Lines("Option Version      ", 8), Meaning::text),
};
// The option count holds at most this many blocks less one; a larger word lists none.
constexpr std::uint16_t kMaxOptionsMinus1 = 32766;

constexpr LabelStep kCoda[] = {
    Line("Length of COLO      "),
    Line("Length of COLE      "),
    Line("Length of COPM    ", When::from50),
    Line("Offset to COLO INIDA"),
    Line("Offset to COLE INIDA"),
    Line("Offset to COPM INIDA", When::from50),
    Line("Offset to LN700Move ", When::from50),
    Line("Offset to DSMove    ", When::below50),
    Valued(Line("DSExists            "), Meaning::flag),
    Line("Offset to MVIMove   "),
    Valued(Line("MVIExists           "), Meaning::flag),
    Line("Offset to EVSSend   "),
    Valued(Line("EVSSendExists       "), Meaning::flag),
    Line("Offset to EVSTrans  "),
    Valued(Line("EVSTransExists      "), Meaning::flag),
    Line("Offset to CalcEvent "),
    Line("CalcEventScanTime   "),
    Line("Offset to MVBEvent  "),
    Line("MVBEventScanTime    "),
    Line("Offset to DAT     ", When::from50),
    Line("Offset to PARDAT  ", When::from50),
    Valued(Lines("Node Name           ", 10), Meaning::name),
    Valued(Lines("Config Pitch        ", 4), Meaning::shortDate),
    Valued(Lines("MA Type and Version ", 10), Meaning::text),
    Valued(Lines("Target Code Info ", 4, When::from50), Meaning::text),
    Line("NoOptionsMinus1     "),
    {StepKind::repeatBlock, When::always, nullptr, kMaxOptionsMinus1, kCodaOptionBlock},
};

constexpr LabelStep kCodc[] = {
    Line("COLOChangeStartOffs "),
    Line("COLEChangeStartOffs "),
    Line("COPMChangeStartOffs ", When::from50),
};

constexpr LabelStep kCody[] = {Line("Offset to Force     "), Line("Offset to Display   ")};

constexpr LabelStep kCoio[] = {Line("NetStat (on NB40)   "), Line("BusNo   (of NB40)   ")};

constexpr LabelStep kCoic[] = {Line("DeletedModulesOffs  "), Line("ChangedOrNewModulesO")};

constexpr LabelStep kRede[] = {
    Line("Length of RELO      "),
    Line("Offset to INIDAT    "),
    Valued(Lines("Resource Name       ", 10), Meaning::name),
    Valued(Lines("Resource Pitch      ", 4), Meaning::shortDate),
    Line("PGMNumber           "),
    Line("PreProgramFlag      "),
    Valued(Lines("MA Type and Version ", 10), Meaning::text),
    Valued(Lines("Target Code Info ", 4, When::from50), Meaning::text),
};

constexpr LabelStep kTade[] = {
    Line("Exec Unit No        "),
    Line("Scheduling Strategy "),
    Line("Cycle Time / Event# "),
    Line("PlaceInCycleTable   "),
    Line("InitialOnState      "),
    Valued(Line("Instance Key        ", When::from50), Meaning::key),
    Valued(Line("TypCode             ", When::from50), Meaning::code),
    Line("Call Parameter 1    ", When::from50),
    Line("Call Parameter 2    ", When::from50),
    Line("Call Parameter 3    ", When::from50),
    Line("Call Parameter 4    ", When::from50),
    Line("Call Parameter 5    ", When::from50),
};

constexpr LabelStep kPode[] = {
    Line("Length of POLO      "),
    Line("Offset to INIDAT    "),
    Valued(Line("ProgramNumber       "), Meaning::key),
    Line("KindOfProgram       "),
    Line("BeginProgramVariabls"),
    Line("Offset to ProgStart "),
    Line("Offset to PreProg   "),
    Line("Offset to Prolog    "),
    Line("Offset to Orders    "),
    Line("Offset to Epilog    "),
    Line("Offset to ProgEnd   "),
    {StepKind::extensionLine, When::always, "Offset to ExtensionSection ", 1, {}},
};

constexpr LabelStep kPody[] = {Line("Length of PODU      "), Line("Offset to Start     ")};

constexpr LabelStep kPofo[] = {
    Line("Length of POFT      "), Line("Offset to PreOverIn "), Line("Offset to PreOverOu "),
    Line("Offset to OverIn    "), Line("Offset to OverOu    "),
};

constexpr LabelStep kBxd[] = {
    Line("Length of Locally   "), Line("DED number          ", When::from54),
    Line("FBBOGroup10msOffs   "), Line("FBBOGroup20msOffs   "),
    Line("FBBOGroup40msOffs   "), Line("FBBOGroup80msOffs   "),
    Line("FBBOGroup160msOffs  "), Line("FBBOGroup320msOffs  "),
    Line("FBBOGroup640msOffs  "), Line("FBBOGroup1280msOffs "),
    Line("FBBOGroup2560msOffs "), Line("FBBOGroup5120msOffs "),
    Line("FBBOGroup10240msOffs"), Line("FBBOGroup20480msOffs"),
    Line("FBBOGroup40960msOffs"), Line("FBBOGroup81920msOffs"),
    Line("FBBOGroup163840msOfs"), Line("FBBOGroup327680msOfs"),
};

constexpr LabelStep kBobc[] = {Line("DeletedBOsOffs      "), Line("ChangedOrNewBOsOffs ")};

// The decoder-table domains: compress header, then (first file only) the structure header.
constexpr LabelStep kCbx[] = {
    Line("Own Domain number y  "),
    Line("No Domains -1        "),
    Line("Compress Version     "),
    Line("SPARE                "),
    Line("SPARE                "),
    Line("Structure Version    ", When::firstFile),
    Valued(Line("Block1Offs(4 Bytes)  ", When::firstFile), Meaning::longNumber),
    Line(kBlank21, When::firstFile),
    Valued(Line("Block2Offs(4 Bytes)  ", When::firstFile), Meaning::longNumber),
    Line(kBlank21, When::firstFile),
    Lines("SPARE (16 Bytes)     ", 8, When::firstFile),
    Line("DecodeTableOffs      ", When::firstFile),
    Line("SizeInBytesDBElOffs  ", When::firstFile),
    Line("General Info(8 Bytes)", When::firstFile),
};

constexpr std::span<const LabelStep> kNothing;

using C = CommonLines;

// In ascending type order.
constexpr HeaderLayout kLayouts[] = {
    {17, "CODA                ", C::full, kCoda, Body::elements},
    {18, "CODC                ", C::full, kCodc, Body::elements},
    {19, "COLO                ", C::typeAndVersion, kNothing, Body::none},
    {20, "COLE                ", C::typeAndVersion, kNothing, Body::none},
    {22, "CODY                ", C::full, kCody, Body::elements},
    {23, "CODU                ", C::full, kNothing, Body::none},
    {26, "COIO                ", C::full, kCoio, Body::ioConfig},
    {27, "COIC                ", C::full, kCoic, Body::ioChange},
    {33, "REDE                ", C::full, kRede, Body::elements},
    {34, "REDC                ", C::full, kNothing, Body::elements},
    {35, "RELO                ", C::typeAndVersion, kNothing, Body::none},
    {49, "TADE, task_no       ", C::full, kTade, Body::none},
    {65, "PODE, prog_no       ", C::full, kPode, Body::elements},
    {66, "PODC, prog_no       ", C::full, kNothing, Body::elements},
    {67, "POLO, prog_no       ", C::typeAndVersion, kNothing, Body::none},
    {70, "PODY, prog_no       ", C::full, kPody, Body::elements},
    {71, "PODU, prog_no       ", C::full, kNothing, Body::none},
    {74, "POFO, prog_no       ", C::full, kPofo, Body::elements},
    {96, "BAID                ", C::full, kBxd, Body::elements},
    {97, "BAOD                ", C::full, kBxd, Body::elements},
    {98, "BDID                ", C::full, kBxd, Body::elements},
    {99, "BDOD                ", C::full, kBxd, Body::elements},
    {100, "BMBD                ", C::full, kBxd, Body::elements},
    {101, "BMID                ", C::full, kBxd, Body::elements},
    {102, "BMLD                ", C::full, kBxd, Body::elements},
    {103, "BMRD                ", C::full, kBxd, Body::elements},
    {112, "BOBC                ", C::full, kBobc, Body::elements},
    {114, "CBAD                ", C::full, kCbx, Body::none, true},
    {115, "CBAP                ", C::full, kCbx, Body::none, true},
};

}  // namespace

const HeaderLayout* FindHeaderLayout(std::uint16_t type) {
  const auto* found = std::lower_bound(
      std::begin(kLayouts), std::end(kLayouts), type,
      [](const HeaderLayout& layout, std::uint16_t wanted) { return layout.type < wanted; });
  return found != std::end(kLayouts) && found->type == type ? found : nullptr;
}

std::span<const HeaderLayout> HeaderLayouts() { return kLayouts; }

}  // namespace morvit::dumplayout
