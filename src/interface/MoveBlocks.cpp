// The move-block registries: signature keys, their order, the signature list and the shapes.
#include "interface/MoveBlocks.h"

#include <cstring>
#include <new>

namespace morvit {

namespace {

// A record filed under its signature; owned by the registry.
struct StoredMoveBlock {
  std::vector<std::uint8_t> key;
  std::int32_t value;
  std::int16_t extraValue;
  std::uint16_t functionBlockKey;
};

void ReleaseStoredMoveBlock(void* element) { delete static_cast<StoredMoveBlock*>(element); }

// Appends the bytes of `count` 16-bit values as they lie in host memory.
void AppendWords(std::vector<std::uint8_t>& key, const std::uint16_t* words, std::size_t count) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(words);
  key.insert(key.end(), bytes, bytes + count * sizeof(std::uint16_t));
}

MoveBlockRegistry g_moveBlocks;

}  // namespace

// The signature list: entries are StoredMoveBlock objects keyed by their key bytes, list memory
// from the ordinary allocator.
class MoveBlockRegistry::SignatureList : public GSkipList {
 public:
  SignatureList() { CreateList(); }
  ~SignatureList() override { DestroyList(ReleaseStoredMoveBlock); }

 protected:
  void* AllocateMemory(std::size_t size) override { return ::operator new(size); }
  void ReleaseMemory(void* memory) override { ::operator delete(memory); }
  const void* GetKey(const void* element) override {
    return static_cast<const StoredMoveBlock*>(element)->key.data();
  }
  // CompareMoveBlockKeys is positive when its second key is greater; the list wants positive
  // when the first is.
  int Compare(const void* key, const void* other) override {
    return CompareMoveBlockKeys(static_cast<const std::uint8_t*>(other),
                                static_cast<const std::uint8_t*>(key));
  }
};

std::vector<std::uint8_t> BuildMoveBlockKey(const TMoveBlock& record) {
  if (record.firstCount > kMoveBlockFirstListMax || record.secondCount > kMoveBlockSecondListMax) {
    return {};
  }
  const std::size_t length = 2 * record.firstCount + 2 * record.secondCount + 4;
  std::vector<std::uint8_t> key;
  key.reserve(length);
  key.push_back(static_cast<std::uint8_t>(length));
  AppendWords(key, &record.functionBlockKey, 1);
  AppendWords(key, record.firstList, record.firstCount);
  AppendWords(key, record.secondList, record.secondCount);
  key.push_back(static_cast<std::uint8_t>(record.lastValue & 0xFF));
  return key;
}

int CompareMoveBlockKeys(const std::uint8_t* key, const std::uint8_t* other) {
  const unsigned length = key[0];
  for (unsigned i = 0; i < length; ++i) {
    if (key[i] != other[i]) return int{other[i]} - int{key[i]};
  }
  return 0;
}

MoveBlockRegistry::~MoveBlockRegistry() = default;

void MoveBlockRegistry::Activate(bool on) {
  m_signatures.reset();
  if (on) m_signatures = std::make_unique<SignatureList>();
  m_active = on;
}

bool MoveBlockRegistry::Insert(const TMoveBlock& record) {
  if (!m_active) return false;
  std::vector<std::uint8_t> key = BuildMoveBlockKey(record);
  if (key.empty()) return false;
  m_shapes.try_emplace(
      record.functionBlockKey,
      MoveBlockShape{static_cast<std::uint16_t>(2 * record.firstCount),
                     static_cast<std::uint16_t>(2 * record.secondCount), record.shapeValue});
  auto entry = std::make_unique<StoredMoveBlock>(
      StoredMoveBlock{std::move(key), record.value, record.extraValue, record.functionBlockKey});
  if (!m_signatures->Insert(entry.get())) return false;
  entry.release();  // the list's now
  return true;
}

bool MoveBlockRegistry::Find(const std::uint8_t* key, TMoveBlock& record) {
  if (!m_signatures) return false;
  GSkipList::Node* node = m_signatures->Find(key);
  if (node == nullptr) return false;
  const auto* entry = static_cast<const StoredMoveBlock*>(GSkipList::GetData(node));
  record.value = entry->value;
  record.extraValue = entry->extraValue;
  return true;
}

const MoveBlockShape* MoveBlockRegistry::FindShape(std::uint16_t functionBlockKey) const {
  auto found = m_shapes.find(functionBlockKey);
  return found == m_shapes.end() ? nullptr : &found->second;
}

MoveBlockRegistry& GetMoveBlockRegistry() { return g_moveBlocks; }

}  // namespace morvit
