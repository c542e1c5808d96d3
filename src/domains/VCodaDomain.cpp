// VCodaDomain: header image, option records, nine sections and two blocks in and out, and the
// hand-over of the sections to the database in the order the database rebuilds them.
#include "domains/VCodaDomain.h"

#include "domains/SectionBacktranslation.h"
#include "morvit/VDatabase.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VCodaDomain, VDomain)

namespace {

constexpr auto kCard = FieldEncoding::Cardinal;
constexpr auto kChars = FieldEncoding::Chars;

// Section indexes in file order.
enum : std::size_t {
  kColoInit,
  kColeInit,
  kCopmInit,
  kLn700Move,
  kMviMove,
  kEvsSend,
  kEvsTrans,
  kEvsCalc,
  kEvsMfb,
};

// The LN700 move section's elements reach the database under this code, not its start code.
constexpr std::uint16_t kLn700MoveCode = 820;

// A block (DAT, PARDAT) has a data type word and a size word (counting both) before its body.
constexpr std::uint16_t kBlockHeadSize = 2 + 2;

}  // namespace

const FieldSpec VCodaDomain::kHeader[24] = {
    {"Length of COLO", kCard},
    {"Length of COLE", kCard},
    {"Length of COPM", kCard},
    {"Offset to COLO INIDAT", kCard},
    {"Offset to COLE INIDAT", kCard},
    {"Offset to COPM INIDAT", kCard},
    {"Offset to LN700Move", kCard},
    {"DSExists", kCard},
    {"Offset to MVIMove", kCard},
    {"MVIExists", kCard},
    {"Offset to EVSSend", kCard},
    {"EVSSendExists", kCard},
    {"Offset to EVSTrans", kCard},
    {"EVSTransExists", kCard},
    {"Offset to CalcEvent", kCard},
    {"CalcEventScanTime", kCard},
    {"Offset to MVBEvent", kCard},
    {"MVBEventScanTime", kCard},
    {"Offset to DAT", kCard},
    {"Offset to PARDAT", kCard},
    {"Node Name", kChars, 20},
    {"CODAInitLoadDate", kChars, 8},
    {"Type and Version of KOR", kChars, 20},
    {"Target Code Info", kChars, 8},
};
const FieldSpec VCodaDomain::kOptionCount[1] = {{"NoOptionsMinus1", kCard}};
const FieldSpec VCodaDomain::kOption[2] = {{"Option Name", kChars, 18},
                                           {"Option Version", kChars, 16}};

const VCodaDomain::SectionCodes VCodaDomain::kSections[kSectionCount] = {
    {512, 520},   {936, 948},   {4160, 4172}, {4176, 4180}, {952, 956},
    {4096, 4108}, {4112, 4120}, {4124, 4136}, {4140, 4156}};

static_assert(sizeof VCodaDomain::kHeader / sizeof(FieldSpec) == 24);

VCodaDomain::VCodaDomain() {
  for (std::size_t i = 0; i < kSectionCount; ++i) {
    m_sections[i] = VDomainSection(kSections[i].start, kSections[i].end);
  }
}

VCodaDomain::~VCodaDomain() = default;

void VCodaDomain::ReadDomain() {
  m_pDat.reset();
  m_pParDat.reset();
  ReadDomainHeader();
  ReadLayout(m_file, m_headerImage, kHeader);
  // The image keeps the option count itself; the file's count - 1 wraps 0xFFFF to none.
  const auto options = static_cast<std::uint16_t>(m_io.ReadCardinal(m_file) + 1);
  const std::uint32_t countAt = LayoutSize(kHeader);
  SetField(m_headerImage, kOptionCount, 0, options, countAt);
  m_headerImage.SeekToEnd();
  for (std::uint16_t i = 0; i < options; ++i) ReadLayout(m_file, m_headerImage, kOption);
  for (std::size_t i = 0; i < kSectionCount; ++i) {
    m_sections[i].Read(m_file, kSections[i].start, kSections[i].end, 0);
  }
  ReadBlock(kDatOffsetField, kDatCode, m_pDat);
  ReadBlock(kParDatOffsetField, kParDatCode, m_pParDat);
}

// A size below the block's own head cannot come from a writer: taken as it stands it would
// wrap to a copy of nearly 64 KiB. The block is damaged: end of file, at once.
void VCodaDomain::ReadBlock(std::size_t offsetField, std::uint16_t code,
                            std::unique_ptr<VElement>& block) {
  if (GetField(m_headerImage, kHeader, offsetField) == kNoBlock) return;
  block = std::make_unique<VElement>(code);
  m_io.ReadCardinal(m_file);  // the data type: the element keeps its own code
  const std::uint16_t size = m_io.ReadCardinal(m_file);
  if (size < kBlockHeadSize)
    AfxThrowFileException(CFileException::endOfFile, -1, m_file.GetFullPath());
  m_io.CopyBytes(m_file, *block, size - kBlockHeadSize, 0);
  block->SeekToBegin();
}

void VCodaDomain::WriteDomain(int listing) {
  // The DAT and PARDAT blocks count with their bodies only, not with their 4 head bytes: the
  // domain length is what the writers of these files put there.
  std::uint32_t length = static_cast<std::uint32_t>(m_headerImage.GetLength());
  for (const VDomainSection& section : m_sections) length += section.GetLength();
  if (m_pDat) length += static_cast<std::uint32_t>(m_pDat->GetLength());
  if (m_pParDat) length += static_cast<std::uint32_t>(m_pParDat->GetLength());
  WriteDomainHeader(static_cast<std::uint16_t>(length), listing);

  m_headerImage.SeekToBegin();
  WriteLayout(m_io, m_headerImage, m_file, kHeader, listing);
  const auto options = static_cast<std::uint16_t>(m_io.ReadCardinal(m_headerImage));
  m_io.WriteCardinal(m_file, static_cast<std::uint16_t>(options - 1), listing,
                     kOptionCount[0].label);
  for (std::uint16_t i = 0; i < options; ++i) {
    WriteLayout(m_io, m_headerImage, m_file, kOption, listing);
  }
  for (VDomainSection& section : m_sections) section.Write(m_file, listing);
  if (m_pDat) WriteBlock(*m_pDat, "DATDataType", listing);
  if (m_pParDat) WriteBlock(*m_pParDat, "PARDATDataType", listing);
}

void VCodaDomain::WriteBlock(VElement& body, const char* typeLabel, int listing) {
  body.SeekToBegin();
  const auto length = static_cast<std::uint16_t>(body.GetLength());
  m_io.WriteCardinal(m_file, body.GetCode(), listing, typeLabel);
  m_io.WriteCardinal(m_file, static_cast<std::uint16_t>(length + kBlockHeadSize), listing,
                     "FBSize");
  m_io.CopyBytes(body, m_file, length, listing);
}

int VCodaDomain::Backtranslate() {
  if (m_pDatabase == nullptr) return 1;
  long total = 1;
  for (std::size_t i = kColeInit; i < kSectionCount; ++i) total += ElementCount({&m_sections[i]});
  // Each step is reported once its element is handed over.
  ElementHandOver handOver(*m_pDatabase, m_file.GetFileName(), total,
                           ElementHandOver::Cancel::Asked, ElementHandOver::Report::AfterEach);
  const auto insert = [&](std::size_t index, std::uint16_t code) {
    return handOver.Insert(m_sections[index], code);
  };
  if (!insert(kColeInit, kSections[kColeInit].start) ||
      !insert(kEvsCalc, kSections[kEvsCalc].start) || !insert(kEvsMfb, kSections[kEvsMfb].start) ||
      !insert(kEvsSend, kSections[kEvsSend].start) ||
      !insert(kEvsTrans, kSections[kEvsTrans].start) || !insert(kLn700Move, kLn700MoveCode) ||
      !insert(kMviMove, kSections[kMviMove].start)) {
    return 0;
  }
  if (m_pDat) m_pDatabase->Insert(kDatCode, m_pDat.get());
  if (m_pParDat) m_pDatabase->Insert(kParDatCode, m_pParDat.get());
  if (!insert(kCopmInit, kSections[kCopmInit].start)) return 0;

  m_pDatabase->SetObjectId(DomainObjectId(m_file.GetParcel()));
  m_pDatabase->SetColoCopmLength(
      static_cast<std::uint16_t>(GetField(m_headerImage, kHeader, kColoLengthField)),
      static_cast<std::uint16_t>(GetField(m_headerImage, kHeader, kCopmLengthField)));
  return 1;
}

}  // namespace morvit
