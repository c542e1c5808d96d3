// The move-block registries kept for the client's code generator: stored entries filed under a
// signature key built from a TMoveBlock, and the shape of the first record seen per
// function-block key. One process-wide instance serves the VBase_ move-block exports.
#ifndef MORVIT_INTERFACE_MOVEBLOCKS_H
#define MORVIT_INTERFACE_MOVEBLOCKS_H

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "morvit/VBase.h"
#include "support/GSkipList.h"

namespace morvit {

// Most values of the two lists that a signature takes.
inline constexpr std::uint16_t kMoveBlockFirstListMax = 4;
inline constexpr std::uint16_t kMoveBlockSecondListMax = 2;

// The signature key of a record: length byte L = 2A + 2B + 4, the function-block key (2 bytes
// as they lie in the record), the first A values of the first list, the first B values of the
// second list, the low byte of the last value. Empty when a count is over its maximum: such a
// record would make the key read past the record's lists.
std::vector<std::uint8_t> BuildMoveBlockKey(const TMoveBlock& record);

// Order of signature keys: bytewise over the length held in the first key's first byte,
// starting with that byte, so keys order by length first. Positive when `other` is greater.
int CompareMoveBlockKeys(const std::uint8_t* key, const std::uint8_t* other);

// Shape of the first record filed for a function-block key: the byte lengths of its two lists
// and its shape value.
struct MoveBlockShape {
  std::uint16_t firstLength;
  std::uint16_t secondLength;
  std::int16_t shapeValue;
};

class MoveBlockRegistry {
 public:
  MoveBlockRegistry() = default;
  MoveBlockRegistry(const MoveBlockRegistry&) = delete;
  MoveBlockRegistry& operator=(const MoveBlockRegistry&) = delete;
  ~MoveBlockRegistry();

  // On: a new empty signature list (entries of an active list are freed first). Off: every
  // stored entry is freed. The shapes are not touched.
  void Activate(bool on);
  bool IsActive() const { return m_active; }
  // Files the record; false while inactive, for a record with oversized counts (then nothing
  // is stored, not even a shape) and for a signature already filed.
  bool Insert(const TMoveBlock& record);
  // Copies the value and extra value filed under `key` into `record`; false if none.
  bool Find(const std::uint8_t* key, TMoveBlock& record);
  // The shape for a function-block key, or null.
  const MoveBlockShape* FindShape(std::uint16_t functionBlockKey) const;
  void DeleteShapes() { m_shapes.clear(); }

 private:
  class SignatureList;
  void FreeSignatures();

  bool m_active = false;
  std::unique_ptr<SignatureList> m_signatures;  // the list while active
  std::map<std::uint16_t, MoveBlockShape> m_shapes;
};

// The process-wide registries: created at load, destroyed at unload; unguarded.
MoveBlockRegistry& GetMoveBlockRegistry();

}  // namespace morvit

#endif  // MORVIT_INTERFACE_MOVEBLOCKS_H
