// The skip list behind GSkipList: a head with kMaxLevels links and element nodes of random
// height, all in memory from the deriving class's allocation callback.
#include "support/GSkipList.h"

#include <new>

namespace morvit {

GSkipList::Node* GSkipList::AllocateNode(void* data, unsigned levels) {
  // One block: the node, then its forward links.
  void* memory = AllocateMemory(sizeof(Node) + levels * sizeof(Node*));
  if (memory == nullptr) throw std::bad_alloc();
  Node* node = new (memory) Node{data, levels, nullptr};
  node->forward = new (static_cast<unsigned char*>(memory) + sizeof(Node)) Node* [levels] {};
  return node;
}

// Each further level with probability 1/4.
unsigned GSkipList::RandomLevels() {
  unsigned levels = 1;
  for (;;) {
    m_random ^= m_random << 13;
    m_random ^= m_random >> 17;
    m_random ^= m_random << 5;
    if ((m_random & 3) != 0 || levels == kMaxLevels) return levels;
    ++levels;
  }
}

void GSkipList::CreateList() {
  m_head = AllocateNode(nullptr, kMaxLevels);
  m_levels = 1;
}

bool GSkipList::Insert(void* element) {
  if (m_head == nullptr) CreateList();
  const void* key = GetKey(element);
  Node* update[kMaxLevels];
  Node* at = m_head;
  for (unsigned level = m_levels; level-- > 0;) {
    while (at->forward[level] != nullptr && Compare(GetKey(at->forward[level]->data), key) < 0) {
      at = at->forward[level];
    }
    update[level] = at;
  }
  Node* next = at->forward[0];
  if (next != nullptr && Compare(key, GetKey(next->data)) == 0) return false;

  const unsigned levels = RandomLevels();
  for (unsigned level = m_levels; level < levels; ++level) update[level] = m_head;
  if (levels > m_levels) m_levels = levels;
  Node* node = AllocateNode(element, levels);
  for (unsigned level = 0; level < levels; ++level) {
    node->forward[level] = update[level]->forward[level];
    update[level]->forward[level] = node;
  }
  return true;
}

GSkipList::Node* GSkipList::Find(const void* key) {
  if (m_head == nullptr) return nullptr;
  Node* at = m_head;
  for (unsigned level = m_levels; level-- > 0;) {
    while (at->forward[level] != nullptr && Compare(key, GetKey(at->forward[level]->data)) > 0) {
      at = at->forward[level];
    }
  }
  Node* candidate = at->forward[0];
  return candidate != nullptr && Compare(key, GetKey(candidate->data)) == 0 ? candidate : nullptr;
}

bool GSkipList::IsEmpty() const { return m_head == nullptr || m_head->forward[0] == nullptr; }

GSkipList::Node* GSkipList::GetFirstObj() const {
  return m_head == nullptr ? nullptr : m_head->forward[0];
}

GSkipList::Node* GSkipList::GetNext(const Node* node) { return node->forward[0]; }

void GSkipList::DestroyList(void (*releaseElement)(void* element)) {
  if (m_head == nullptr) return;
  for (Node* node = m_head->forward[0]; node != nullptr;) {
    Node* next = node->forward[0];
    if (releaseElement != nullptr) releaseElement(node->data);
    ReleaseMemory(node);
    node = next;
  }
  ReleaseMemory(m_head);
  m_head = nullptr;
  m_levels = 0;
}

}  // namespace morvit
