// An ordered list (a skip list) whose elements, keys, order and memory the deriving class
// supplies through four callbacks. Nodes are visited in ascending order of the comparison.
#ifndef MORVIT_SUPPORT_GSKIPLIST_H
#define MORVIT_SUPPORT_GSKIPLIST_H

#include <cstddef>
#include <cstdint>

namespace morvit {

class GSkipList {
 public:
  // A list node: the element and its forward links. Nodes and the head are allocated through
  // AllocateMemory; an owner that frees them itself uses ReleaseMemory (see DestroyList).
  struct Node {
    void* data;
    unsigned levels;  // number of forward links
    Node** forward;   // forward[0] is the next node in order
  };

  GSkipList() = default;
  GSkipList(const GSkipList&) = delete;
  GSkipList& operator=(const GSkipList&) = delete;
  // Frees nothing: the callbacks are gone by the time a base destructor runs, so a deriving
  // class whose list may still hold nodes calls DestroyList in its own destructor.
  virtual ~GSkipList() = default;

  // Makes a new empty list. Nodes of a list made earlier are no longer reached: destroy it
  // first.
  void CreateList();
  // Files `element` in order. An element whose key compares equal to one already filed is
  // not taken: the result is then false and the element stays the caller's.
  bool Insert(void* element);
  // The node holding an element whose key compares equal to `key`, or null.
  Node* Find(const void* key);
  bool IsEmpty() const;
  // The list head (not an element node), or null before CreateList.
  Node* GetFirst() const { return m_head; }
  // The first element node, or null.
  Node* GetFirstObj() const;
  // The node after `node`, or null.
  static Node* GetNext(const Node* node);
  static void* GetData(const Node* node) { return node->data; }

  // Hands every element to `releaseElement` (when given), releases every node and the head
  // through ReleaseMemory, and leaves the list uncreated.
  void DestroyList(void (*releaseElement)(void* element));

 protected:
  // List memory: `size` bytes suitably aligned for a Node, and its release.
  virtual void* AllocateMemory(std::size_t size) = 0;
  virtual void ReleaseMemory(void* memory) = 0;
  // The key of an element.
  virtual const void* GetKey(const void* element) = 0;
  // Negative, zero or positive as `key` orders before, equal to or after `other`.
  virtual int Compare(const void* key, const void* other) = 0;

 private:
  static constexpr unsigned kMaxLevels = 24;

  Node* AllocateNode(void* data, unsigned levels);
  unsigned RandomLevels();

  Node* m_head = nullptr;
  unsigned m_levels = 0;                // levels in use
  std::uint32_t m_random = 0x2545F491;  // xorshift state: deterministic node heights
};

}  // namespace morvit

#endif  // MORVIT_SUPPORT_GSKIPLIST_H
