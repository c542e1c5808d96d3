// VElement: the unit of domain content, a growable in-memory byte stream tagged with a 16-bit
// code, with an auxiliary word that travels with it to the client.
#ifndef MORVIT_VELEMENT_H
#define MORVIT_VELEMENT_H

#include <cstdint>
#include <memory>

#include "morvit/VMotorolaIO.h"
#include "morvit/platform.h"

class MORVIT_API VElement : public CMemFile {
 public:
  // Capacity grows in steps of this many bytes.
  static constexpr unsigned kGrowthStep = 64;

  // An empty element; code and auxiliary word start at 0 (set the code before it is read).
  VElement();
  explicit VElement(std::uint16_t code);
  ~VElement() override;

  std::uint16_t GetCode() const { return m_wCode; }
  void SetCode(std::uint16_t code) { m_wCode = code; }
  std::uint16_t GetAuxWord() const { return m_wAuxWord; }
  void SetAuxWord(std::uint16_t word) { m_wAuxWord = word; }

  // Copies `length` bytes from the current position (advancing it) into a new buffer of
  // `length` + 1 bytes with a zero after them; the buffer is the caller's. Asked for more
  // than remains, the buffer holds zeros in place of the missing bytes.
  std::unique_ptr<std::uint8_t[]> GetBuffer(std::uint16_t length);

 protected:
  std::uint16_t m_wAuxWord = 0;
  std::uint16_t m_wCode = 0;
  // Big-endian reader and writer with which subclasses fill and read the element's bytes.
  VMotorolaIO m_io;
};

#endif  // MORVIT_VELEMENT_H
