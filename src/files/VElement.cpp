// VElement: a code-tagged memory file; GetBuffer copies its bytes out for clients.
#include "morvit/VElement.h"

VElement::VElement() : CMemFile(kGrowthStep) {}

VElement::VElement(std::uint16_t code) : CMemFile(kGrowthStep), m_wCode(code) {}

VElement::~VElement() = default;

std::unique_ptr<std::uint8_t[]> VElement::GetBuffer(std::uint16_t length) {
  // Value-initialised: the terminator, and any bytes the element does not have, are zero.
  auto buffer = std::make_unique<std::uint8_t[]>(std::size_t{length} + 1);
  Read(buffer.get(), length);
  return buffer;
}
