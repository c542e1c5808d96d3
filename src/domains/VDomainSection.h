// VDomainSection: a run of code-tagged blocks between a start marker and an end marker, the
// building block of most domain bodies.
//
// Format in a domain file (big-endian): blocks of code (16 bits), size (16 bits, counting the
// code and size words) and size - 4 payload bytes. The start block opens the section, one block
// per element follows, and an end block of size 4 closes it. When the start code equals the end
// code the section is the start block alone.
#ifndef MORVIT_DOMAINS_VDOMAINSECTION_H
#define MORVIT_DOMAINS_VDOMAINSECTION_H

#include <cstdint>
#include <memory>
#include <vector>

#include "morvit/VElement.h"
#include "morvit/VMotorolaIO.h"
#include "morvit/platform.h"

namespace morvit {

struct ElementValueLayout;

// Bytes of a block's code and size words.
inline constexpr std::uint16_t kSectionBlockHeaderSize = 2 + 2;
// Length of a section with no element: its start and end markers.
inline constexpr std::uint16_t kEmptySectionLength = 2 * kSectionBlockHeaderSize;

// Owns its elements: a section moves with them and is not copied.
class VDomainSection : public CObject {
  DECLARE_RUNTIME_CLASS(VDomainSection)

 public:
  VDomainSection(std::uint16_t startCode = 0, std::uint16_t endCode = 0,
                 std::uint16_t length = kEmptySectionLength);

  // Reads the section at `position` (0: at the file's current position). A first code other
  // than `startCode` leaves the section empty, length 4, with the file after those 4 bytes.
  // A file that ends inside the section raises end-of-file; the elements read so far stay.
  virtual void Read(CFile& file, std::uint16_t startCode, std::uint16_t endCode,
                    std::int32_t position);
  // Writes the section, or its listing lines when `listing` is non-zero. Bytes that a read start
  // block carried are written back in it, so a section read and written again is unchanged.
  virtual void Write(CFile& file, int listing);

  // Appends an empty element with `code` and returns it for filling; the caller adds the
  // block's size to the length once the element is filled.
  VElement& AppendElement(std::uint16_t code);

  // Gives the start block of an empty section `count` bytes (written back as its payload); the
  // caller sets the length.
  void SetStartBlockBytes(const void* bytes, std::size_t count);

  // What the bytes of this section's elements mean: their values are told beside their words
  // in a listing. `layout` must outlive the section (a table of the domain type).
  void SetElementValues(const morvit::ElementValueLayout* layout) { m_elementValues = layout; }

  const std::vector<std::unique_ptr<VElement>>& GetElements() const { return m_elements; }
  std::uint16_t GetStartCode() const { return m_wStartCode; }
  std::uint16_t GetEndCode() const { return m_wEndCode; }
  std::uint16_t GetLength() const { return m_wLength; }
  void SetLength(std::uint16_t length) { m_wLength = length; }

 private:
  std::uint16_t ReadBlockSize(CFile& file);
  // Appends an element with `code` holding the block's payload, and counts the block.
  void ReadBlock(CFile& file, std::uint16_t code, std::uint16_t size);
  // Writes the element as one block: its code, its size (with `sizeLabel`), its bytes.
  void WriteBlock(CFile& file, VElement& element, const char* sizeLabel, int listing,
                  std::int64_t index);

  std::vector<std::unique_ptr<VElement>> m_elements;
  VMotorolaIO m_io;
  std::uint16_t m_wStartCode;
  std::uint16_t m_wEndCode;
  std::uint16_t m_wLength;
  // Set by Read when the start block carried bytes: the first element holds them.
  bool m_bStartPayload = false;
  const morvit::ElementValueLayout* m_elementValues = nullptr;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VDOMAINSECTION_H
