// Reading a listing's events into nodes, and comparing two such trees: places are paired by
// their identity (headers, sections, tables) or aligned by content (elements, rows), fields
// within a pair aligned by content too, the rest paired by label and the order of that label.
#include "listing/ListingDiff.h"

#include <algorithm>
#include <map>
#include <span>
#include <string_view>

#include "listing/ListingEvents.h"
#include "listing/ListingJson.h"

namespace morvit::tool {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
// Places and fields are aligned by content while the table for the part between their common
// head and tail has at most this many cells (the table grows with the product of the two
// lengths); longer parts are paired in order.
constexpr std::size_t kAlignCells = std::size_t{1} << 20;
// Unaligned stretches of places longer than this on either side pair only in order.
constexpr std::size_t kAlignLimit = 1000;

void Mix(std::uint64_t& hash, std::string_view bytes) {
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= kFnvPrime;
  }
  hash ^= 0xFF;
  hash *= kFnvPrime;
}

void Mix(std::uint64_t& hash, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) {
    hash ^= (value >> (8 * i)) & 0xFF;
    hash *= kFnvPrime;
  }
}

// Gathers the events into nodes; each node's content hash is made when it ends. Time-stamp
// fields are left out of the hash, so that places differing only in them still align.
class ListingCollector : public VListingSink {
 public:
  explicit ListingCollector(DiffListing& listing) : m_listing(listing) {
    m_open.push_back(&listing.top);
  }
  void File(std::string_view name, std::uint32_t, std::uint64_t) override {
    if (m_files++ == 0) m_listing.name = name;
  }
  void Begin(const VListingBegin& begin) override {
    DiffNode& node = m_open.back()->children.emplace_back();
    node.kind = begin.kind;
    node.name = begin.name;
    node.code = begin.code;
    node.codeName = begin.codeName;
    node.index = begin.index;
    node.offset = begin.offset;
    if (m_open.size() == 1) node.part = m_part;
    m_open.push_back(&node);
  }
  void Field(const VListingField& field) override {
    DiffField& kept = m_open.back()->fields.emplace_back();
    kept.offset = field.offset;
    kept.width = field.width;
    kept.hex.reserve(2 * field.width);
    for (std::uint32_t i = 0; i < field.width; ++i) {
      kept.hex += kHexDigits[field.bytes[i] >> 4];
      kept.hex += kHexDigits[field.bytes[i] & 0xF];
    }
    kept.value = FieldValue(field);
    kept.label = field.label;
    kept.timeStamp = field.timeStamp;
  }
  void End(VListingPlace) override {
    if (m_open.size() > 1) {
      Seal(*m_open.back());
      m_open.pop_back();
    }
  }
  void Stop(std::int64_t, std::string_view reason) override { m_listing.stop = reason; }
  bool WantsText() const override { return false; }

  // The part number of the file listed next on its own.
  void SetPart(std::uint32_t part) { m_part = part; }

  // Closes what a listing cut short left open.
  void Finish() {
    while (m_open.size() > 1) End(m_open.back()->kind);
    Seal(m_listing.top);
  }

 private:
  static void Seal(DiffNode& node) {
    std::uint64_t hash = kFnvOffset;
    Mix(hash, static_cast<std::uint64_t>(node.kind));
    Mix(hash, static_cast<std::uint64_t>(node.code));
    Mix(hash, std::uint64_t{node.part});
    for (const DiffField& field : node.fields) {
      if (field.timeStamp) continue;
      Mix(hash, field.label);
      Mix(hash, field.hex);
    }
    for (const DiffNode& child : node.children) Mix(hash, child.hash);
    node.hash = hash;
  }

  DiffListing& m_listing;
  std::vector<DiffNode*> m_open;
  std::uint32_t m_files = 0;
  std::uint32_t m_part = 0;
};

bool Aligned(VListingPlace kind) {
  return kind == VListingPlace::element || kind == VListingPlace::row;
}

// What pairs two places: content for elements and rows, identity for the rest.
std::uint64_t AlignKey(const DiffNode& node) {
  if (Aligned(node.kind)) return node.hash;
  std::uint64_t key = kFnvOffset;
  Mix(key, static_cast<std::uint64_t>(node.kind));
  Mix(key, static_cast<std::uint64_t>(node.code));
  Mix(key, std::uint64_t{node.part});
  Mix(key, node.name);
  return key;
}

// Whether two places are the same place, changed or not.
bool SamePlace(const DiffNode& a, const DiffNode& b) {
  return a.kind == b.kind && a.code == b.code && a.part == b.part &&
         (Aligned(a.kind) || a.name == b.name);
}

bool HasTimeStamps(const DiffNode& node) {
  for (const DiffField& field : node.fields) {
    if (field.timeStamp) return true;
  }
  for (const DiffNode& child : node.children) {
    if (HasTimeStamps(child)) return true;
  }
  return false;
}

// The pairs (i, j) of a longest common subsequence of a[0..n) and b[0..m) under `same`, in
// order. The table grows with n * m: callers bound the lengths.
template <class Same>
std::vector<std::pair<std::size_t, std::size_t>> CommonSubsequence(std::size_t n, std::size_t m,
                                                                   Same same) {
  std::vector<std::uint32_t> table((n + 1) * (m + 1), 0);
  const auto cell = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
    return table[i * (m + 1) + j];
  };
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      cell(i, j) = same(i, j) ? cell(i + 1, j + 1) + 1 : std::max(cell(i + 1, j), cell(i, j + 1));
    }
  }
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < n && j < m) {
    if (same(i, j)) {
      pairs.emplace_back(i++, j++);
    } else if (cell(i + 1, j) >= cell(i, j + 1)) {
      ++i;
    } else {
      ++j;
    }
  }
  return pairs;
}

// Aligns a and b: their common head and tail under `same`, then a longest common subsequence
// of the rest while its table has at most `cells` cells (else `tooLong` takes the rest whole).
// `match` takes each aligned pair, `gap` each stretch between two (empty ones too), in order.
template <class T, class Same, class Match, class Gap, class TooLong>
void Align(std::span<const T> a, std::span<const T> b, std::size_t cells, Same same, Match match,
           Gap gap, TooLong tooLong) {
  std::size_t head = 0;
  for (; head < a.size() && head < b.size() && same(a[head], b[head]); ++head) {
    match(a[head], b[head]);
  }
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         same(a[a.size() - 1 - tail], b[b.size() - 1 - tail])) {
    ++tail;
  }
  const std::span<const T> restA = a.subspan(head, a.size() - head - tail);
  const std::span<const T> restB = b.subspan(head, b.size() - head - tail);
  if (restA.size() * restB.size() > cells) {
    tooLong(restA, restB);
  } else {
    std::size_t fromA = 0;
    std::size_t fromB = 0;
    for (const auto& [i, j] : CommonSubsequence(
             restA.size(), restB.size(),
             [&](std::size_t i, std::size_t j) { return same(restA[i], restB[j]); })) {
      gap(restA.subspan(fromA, i - fromA), restB.subspan(fromB, j - fromB));
      match(restA[i], restB[j]);
      fromA = i + 1;
      fromB = j + 1;
    }
    gap(restA.subspan(fromA), restB.subspan(fromB));
  }
  for (std::size_t i = tail; i > 0; --i) match(a[a.size() - i], b[b.size() - i]);
}

class Comparison {
 public:
  Comparison(const DiffOptions& options, std::vector<Difference>& out)
      : m_options(options), m_out(out) {}

  void Nodes(const DiffNode& a, const DiffNode& b, const std::string& place) {
    if (a.hash == b.hash && (m_options.noTimes || !HasTimeStamps(a))) return;
    Fields(a, b, place);
    Children(a, b, place);
  }

 private:
  // Fields are aligned by label and bytes, so that words inserted into an element are
  // additions and the words around them stay unchanged; the fields between two aligned ones
  // pair by label and order.
  void Fields(const DiffNode& a, const DiffNode& b, const std::string& place) {
    using Fields = std::span<const DiffField>;
    const auto byLabel = [&](Fields x, Fields y) { ByLabel(x, y, place); };
    Align(
        Fields(a.fields), Fields(b.fields), kAlignCells,
        [&](const DiffField& x, const DiffField& y) { return SameField(x, y); },
        [](const DiffField&, const DiffField&) {}, byLabel, byLabel);
  }

  bool SameField(const DiffField& a, const DiffField& b) const {
    return a.label == b.label && (a.hex == b.hex || (Ignored(a) && Ignored(b)));
  }

  // The n-th field of a label pairs with the n-th of the same label.
  void ByLabel(std::span<const DiffField> a, std::span<const DiffField> b,
               const std::string& place) {
    std::map<std::string_view, std::vector<const DiffField*>> others;
    for (const DiffField& field : b) others[field.label].push_back(&field);
    std::map<std::string_view, std::size_t> seen;
    for (const DiffField& field : a) {
      const std::size_t nth = seen[field.label]++;
      const auto found = others.find(field.label);
      if (found == others.end() || nth >= found->second.size()) {
        if (!Ignored(field))
          m_out.push_back({Difference::Kind::removed, place, field.label, &field});
        continue;
      }
      const DiffField* other = found->second[nth];
      if (Ignored(field) || field.hex == other->hex) continue;
      m_out.push_back({Difference::Kind::changed, place, field.label, &field, other});
    }
    for (const auto& [label, fields] : others) {
      const std::size_t matched = seen.count(label) != 0 ? seen[label] : 0;
      for (std::size_t i = matched; i < fields.size(); ++i) {
        if (!Ignored(*fields[i])) {
          m_out.push_back({Difference::Kind::added, place, fields[i]->label, nullptr, fields[i]});
        }
      }
    }
  }

  bool Ignored(const DiffField& field) const { return m_options.noTimes && field.timeStamp; }

  // Places are aligned by their keys, each unaligned stretch paired place by place where they
  // are the same place; runs too long to align are paired in order.
  void Children(const DiffNode& a, const DiffNode& b, const std::string& place) {
    using Nodes = std::span<const DiffNode>;
    Align(
        Nodes(a.children), Nodes(b.children), kAlignCells,
        [](const DiffNode& x, const DiffNode& y) { return AlignKey(x) == AlignKey(y); },
        [&](const DiffNode& x, const DiffNode& y) { Pair(x, y, place); },
        [&](Nodes x, Nodes y) { Stretch(x, y, place); },
        [&](Nodes x, Nodes y) { InOrder(x, y, place); });
  }

  void Pair(const DiffNode& a, const DiffNode& b, const std::string& place) {
    Nodes(a, b, Join(place, PlaceText(b)));
  }

  static std::string Join(const std::string& place, const std::string& inner) {
    return place.empty() ? inner : place + " > " + inner;
  }

  // Places that did not align: paired where the same place on both sides holds mostly the same
  // fields (an element changed in one value), in order, the rest removed or added.
  void Stretch(std::span<const DiffNode> a, std::span<const DiffNode> b, const std::string& place) {
    std::vector<bool> pairs(a.size() * b.size(), false);
    if (a.size() <= kAlignLimit && b.size() <= kAlignLimit) {
      for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j) pairs[i * b.size() + j] = Alike(a[i], b[j]);
      }
    }
    // Most pairs in order, from the back.
    std::vector<std::uint32_t> best((a.size() + 1) * (b.size() + 1), 0);
    const auto cell = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
      return best[i * (b.size() + 1) + j];
    };
    for (std::size_t i = a.size(); i-- > 0;) {
      for (std::size_t j = b.size(); j-- > 0;) {
        cell(i, j) = std::max({cell(i + 1, j), cell(i, j + 1),
                               pairs[i * b.size() + j] ? cell(i + 1, j + 1) + 1 : 0u});
      }
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
      if (i < a.size() && j < b.size() && pairs[i * b.size() + j] &&
          cell(i, j) == cell(i + 1, j + 1) + 1) {
        Pair(a[i++], b[j++], place);
      } else if (i < a.size() && (j == b.size() || cell(i + 1, j) >= cell(i, j + 1))) {
        m_out.push_back(
            {Difference::Kind::removed, Join(place, PlaceText(a[i])), {}, nullptr, nullptr, &a[i]});
        ++i;
      } else {
        m_out.push_back(
            {Difference::Kind::added, Join(place, PlaceText(b[j])), {}, nullptr, nullptr, &b[j]});
        ++j;
      }
    }
  }

  // Long unaligned runs: the same places paired in order, the rest removed or added.
  void InOrder(std::span<const DiffNode> a, std::span<const DiffNode> b, const std::string& place) {
    std::size_t j = 0;
    for (const DiffNode& left : a) {
      if (j < b.size() && SamePlace(left, b[j])) {
        Pair(left, b[j++], place);
      } else {
        m_out.push_back(
            {Difference::Kind::removed, Join(place, PlaceText(left)), {}, nullptr, nullptr, &left});
      }
    }
    for (; j < b.size(); ++j) {
      m_out.push_back(
          {Difference::Kind::added, Join(place, PlaceText(b[j])), {}, nullptr, nullptr, &b[j]});
    }
  }

  // The same place holding at least half the same fields, place by place; headers, sections
  // and tables of the same name are always alike.
  static bool Alike(const DiffNode& a, const DiffNode& b) {
    if (!SamePlace(a, b)) return false;
    if (!Aligned(a.kind)) return true;
    // Fields the same place by place, or the same at both ends (words inserted or removed in
    // one place between them).
    const std::size_t common = std::min(a.fields.size(), b.fields.size());
    const std::size_t most = std::max(a.fields.size(), b.fields.size());
    const auto equal = [&](std::size_t i, std::size_t j) {
      return a.fields[i].hex == b.fields[j].hex;
    };
    std::size_t inPlace = 0;
    for (std::size_t k = 0; k < common; ++k) inPlace += equal(k, k) ? 1 : 0;
    std::size_t head = 0;
    while (head < common && equal(head, head)) ++head;
    std::size_t tail = 0;
    while (tail < common - head && equal(a.fields.size() - 1 - tail, b.fields.size() - 1 - tail)) {
      ++tail;
    }
    return 2 * std::max(inPlace, head + tail) >= most;
  }

  const DiffOptions& m_options;
  std::vector<Difference>& m_out;
};

}  // namespace

DiffListing ReadListing(const std::vector<std::filesystem::path>& parts) {
  DiffListing listing;
  ListingCollector collector(listing);
  listing.whole =
      ListDomainFiles(parts, collector, [&](std::uint32_t part) { collector.SetPart(part); });
  collector.Finish();
  return listing;
}

std::vector<Difference> CompareListings(const DiffListing& a, const DiffListing& b,
                                        const DiffOptions& options) {
  std::vector<Difference> differences;
  Comparison(options, differences).Nodes(a.top, b.top, std::string());
  return differences;
}

std::string PlaceText(const DiffNode& node) {
  std::string text = node.part > 0 ? "part " + std::to_string(node.part) + " > " : std::string();
  text += PlaceName(node.kind);
  if (!node.name.empty()) text += " " + node.name;
  if (node.kind == VListingPlace::element) {
    text += " " + std::to_string(node.code);
    if (!node.codeName.empty()) text += " " + node.codeName;
  }
  if (node.index >= 0) text += " #" + std::to_string(node.index);
  return text;
}

}  // namespace morvit::tool
