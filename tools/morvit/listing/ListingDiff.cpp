// Reading a listing's events into compact nodes, and comparing two such trees: places are
// paired by their identity (headers, sections, tables) or aligned by content (elements, rows);
// within a pair the values are paired by label and order and compared, and the fields that no
// changed value covers are aligned by content, the rest paired by label and order.
#include "listing/ListingDiff.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <deque>
#include <map>
#include <span>
#include <string_view>
#include <unordered_map>

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

void Mix(std::uint64_t& hash, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) {
    hash ^= (value >> (8 * i)) & 0xFF;
    hash *= kFnvPrime;
  }
}

struct InternTable {
  std::deque<std::string> texts;
  std::unordered_map<std::string_view, std::uint32_t> ids;
};

InternTable& Interns() {
  static InternTable table;
  return table;
}

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
  Mix(key, std::uint64_t{node.name});
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

std::string Hex(const DiffField& field) {
  std::string hex;
  for (int i = field.width - 1; i >= 0; --i) {
    const unsigned byte = (field.bytes >> (8 * i)) & 0xFF;
    hex += kHexDigits[byte >> 4];
    hex += kHexDigits[byte & 0xF];
  }
  return hex;
}

std::string_view TextOf(const DiffValue& value, const DiffListing& listing) {
  return std::string_view(listing.texts).substr(value.textAt, value.textLength);
}

// The library's value again, its views into `listing`.
VListingValue Restored(const DiffValue& kept, const DiffListing& listing) {
  VListingValue value;
  value.offset = kept.offset;
  value.width = kept.width;
  value.kind = kept.kind;
  value.label = Interned(kept.label);
  value.text = TextOf(kept, listing);
  value.number = kept.number;
  value.real = std::bit_cast<double>(kept.number);
  value.length = kept.length;
  value.timeStamp = kept.timeStamp;
  return value;
}

DiffSide SideOf(const DiffValue& kept, const DiffListing& listing) {
  const VListingValue value = Restored(kept, listing);
  DiffSide side{kept.offset, kept.width, ValueText(value), {}};
  AppendValueMembers(side.json, value);
  side.json.erase(0, 1);  // the leading comma
  return side;
}

DiffSide SideOf(const DiffField& field) {
  VListingField restored;
  restored.kind = field.kind;
  restored.number = field.number;
  restored.real = std::bit_cast<double>(field.number);
  const std::string value = FieldValue(restored);
  const std::string hex = Hex(field);
  DiffSide side{field.offset, field.width, value + " (" + hex + ")", {}};
  side.json = "\"kind\":\"field\",\"value\":" + value + ",\"hex\":\"" + hex + "\"";
  return side;
}

// A place's content hash, made when it ends; its room is cut to what it holds. Time stamps are
// left out, so that places differing only in them still align.
void Seal(DiffNode& node) {
  std::uint64_t hash = kFnvOffset;
  Mix(hash, static_cast<std::uint64_t>(node.kind));
  Mix(hash, static_cast<std::uint64_t>(node.code));
  Mix(hash, std::uint64_t{node.part});
  for (const DiffField& field : node.fields) {
    if (field.timeStamp) continue;
    Mix(hash,
        (std::uint64_t{field.label} << 40) | (std::uint64_t{field.width} << 32) | field.bytes);
  }
  for (const DiffNode& child : node.children) Mix(hash, child.hash);
  node.hash = hash;
  node.fields.shrink_to_fit();
  node.values.shrink_to_fit();
}

bool SameValue(const DiffValue& x, const DiffListing& a, const DiffValue& y, const DiffListing& b) {
  return x.label == y.label && x.kind == y.kind && x.number == y.number && x.length == y.length &&
         TextOf(x, a) == TextOf(y, b);
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
  Comparison(const DiffListing& a, const DiffListing& b, const DiffOptions& options,
             std::vector<Difference>& out)
      : m_a(a), m_b(b), m_options(options), m_out(out) {}

  void Nodes(const DiffNode& a, const DiffNode& b, const std::string& place) {
    if (a.hash == b.hash && (m_options.noTimes || !HasTimeStamps(a))) return;
    m_spansA.clear();
    m_spansB.clear();
    Values(a, b, place);
    Fields(a, b, place);
    Children(a, b, place);
  }

 private:
  using Span = std::pair<std::uint32_t, std::uint32_t>;  // offset, end

  static bool Covered(const std::vector<Span>& spans, const DiffField& field) {
    return std::any_of(spans.begin(), spans.end(), [&](const Span& s) {
      return field.offset >= s.first && field.offset < s.second;
    });
  }

  void Report(Difference::Kind kind, const std::string& place, std::uint32_t label,
              std::optional<DiffSide> a, std::optional<DiffSide> b) {
    m_out.push_back(
        {kind, place, std::string(Interned(label)), std::move(a), std::move(b), false, {}});
  }

  // The n-th value of a label pairs with the n-th of the same label; a changed, added or
  // removed value covers its fields, which are then not reported again.
  void Values(const DiffNode& a, const DiffNode& b, const std::string& place) {
    std::map<std::string_view, std::vector<const DiffValue*>> others;
    for (const DiffValue& value : b.values) others[Interned(value.label)].push_back(&value);
    std::map<std::string_view, std::size_t> seen;
    const auto span = [](const DiffValue& v) { return Span{v.offset, v.offset + v.width}; };
    for (const DiffValue& value : a.values) {
      const std::size_t nth = seen[Interned(value.label)]++;
      const auto found = others.find(Interned(value.label));
      if (found == others.end() || nth >= found->second.size()) {
        if (Ignored(value)) continue;
        m_spansA.push_back(span(value));
        Report(Difference::Kind::removed, place, value.label, SideOf(value, m_a), std::nullopt);
        continue;
      }
      const DiffValue& other = *found->second[nth];
      if (Ignored(value) || SameValue(value, m_a, other, m_b)) continue;
      m_spansA.push_back(span(value));
      m_spansB.push_back(span(other));
      Report(Difference::Kind::changed, place, value.label, SideOf(value, m_a), SideOf(other, m_b));
    }
    for (const auto& [label, values] : others) {
      const auto matched = seen.find(label);
      for (std::size_t i = matched == seen.end() ? 0 : matched->second; i < values.size(); ++i) {
        if (Ignored(*values[i])) continue;
        m_spansB.push_back(span(*values[i]));
        Report(Difference::Kind::added, place, values[i]->label, std::nullopt,
               SideOf(*values[i], m_b));
      }
    }
  }

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
    return a.label == b.label && a.width == b.width &&
           (a.bytes == b.bytes || (Ignored(a) && Ignored(b)));
  }

  void ByLabel(std::span<const DiffField> a, std::span<const DiffField> b,
               const std::string& place) {
    // Labels in the order of their texts, so that the output does not depend on the process.
    std::map<std::string_view, std::vector<const DiffField*>> others;
    for (const DiffField& field : b) others[Interned(field.label)].push_back(&field);
    std::map<std::string_view, std::size_t> seen;
    for (const DiffField& field : a) {
      const std::size_t nth = seen[Interned(field.label)]++;
      const auto found = others.find(Interned(field.label));
      if (found == others.end() || nth >= found->second.size()) {
        if (!Ignored(field) && !Covered(m_spansA, field))
          Report(Difference::Kind::removed, place, field.label, SideOf(field), std::nullopt);
        continue;
      }
      const DiffField* other = found->second[nth];
      if (Ignored(field) || (field.bytes == other->bytes && field.width == other->width)) continue;
      if (Covered(m_spansA, field) || Covered(m_spansB, *other)) continue;
      Report(Difference::Kind::changed, place, field.label, SideOf(field), SideOf(*other));
    }
    for (const auto& [label, fields] : others) {
      const auto matched = seen.find(label);
      for (std::size_t i = matched == seen.end() ? 0 : matched->second; i < fields.size(); ++i) {
        if (!Ignored(*fields[i]) && !Covered(m_spansB, *fields[i]))
          Report(Difference::Kind::added, place, fields[i]->label, std::nullopt,
                 SideOf(*fields[i]));
      }
    }
  }

  bool Ignored(const DiffField& field) const { return m_options.noTimes && field.timeStamp; }
  bool Ignored(const DiffValue& value) const { return m_options.noTimes && value.timeStamp; }

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

  // An entry is named alone (its key names it in the domain); other places within theirs.
  std::string Inner(const std::string& place, const DiffNode& node, const DiffListing& listing) {
    std::string inner = PlaceText(node, listing);
    if (place.empty() || inner.starts_with("entry ")) return inner;
    return place + " > " + inner;
  }

  void Pair(const DiffNode& a, const DiffNode& b, const std::string& place) {
    Nodes(a, b, Inner(place, b, m_b));
  }

  // A place only one side has, whole: its values, and the fields no value covers, with those
  // of the places inside it under their names.
  void Whole(Difference::Kind kind, const DiffNode& node, const std::string& place) {
    const DiffListing& listing = kind == Difference::Kind::added ? m_b : m_a;
    Difference d{kind, Inner(place, node, listing), {}, std::nullopt, std::nullopt, true, {}};
    DiffSide where{node.offset, 0, {}, {}};
    (kind == Difference::Kind::added ? d.b : d.a) = where;
    Contents(node, listing, d.contents, "");
    m_out.push_back(std::move(d));
  }

  static void Contents(const DiffNode& node, const DiffListing& listing,
                       std::vector<std::pair<std::string, DiffSide>>& out,
                       const std::string& prefix) {
    std::vector<Span> spans;
    for (const DiffValue& value : node.values) {
      spans.emplace_back(value.offset, value.offset + value.width);
      out.emplace_back(prefix + std::string(Interned(value.label)), SideOf(value, listing));
    }
    for (const DiffField& field : node.fields) {
      if (!Covered(spans, field))
        out.emplace_back(prefix + std::string(Interned(field.label)), SideOf(field));
    }
    for (const DiffNode& child : node.children) {
      Contents(child, listing, out, prefix + PlaceText(child, listing) + " > ");
    }
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
        Whole(Difference::Kind::removed, a[i++], place);
      } else {
        Whole(Difference::Kind::added, b[j++], place);
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
        Whole(Difference::Kind::removed, left, place);
      }
    }
    for (; j < b.size(); ++j) Whole(Difference::Kind::added, b[j], place);
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
      return a.fields[i].bytes == b.fields[j].bytes && a.fields[i].width == b.fields[j].width;
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

  const DiffListing& m_a;
  const DiffListing& m_b;
  const DiffOptions& m_options;
  std::vector<Difference>& m_out;
  std::vector<Span> m_spansA;
  std::vector<Span> m_spansB;
};

}  // namespace

std::uint32_t Intern(std::string_view text) {
  InternTable& table = Interns();
  const auto found = table.ids.find(text);
  if (found != table.ids.end()) return found->second;
  const auto id = static_cast<std::uint32_t>(table.texts.size());
  table.ids.emplace(table.texts.emplace_back(text), id);
  return id;
}

std::string_view Interned(std::uint32_t id) { return Interns().texts.at(id); }

DiffListingBuilder::DiffListingBuilder(DiffListing& listing) : m_listing(listing) {
  m_open.push_back(&listing.top);
}

void DiffListingBuilder::File(std::string_view name, std::uint32_t, std::uint64_t) {
  if (m_files++ == 0) m_listing.name = name;
}

void DiffListingBuilder::Begin(const VListingBegin& begin) {
  DiffNode& node = m_open.back()->children.emplace_back();
  node.kind = begin.kind;
  node.name = Intern(begin.name);
  node.code = begin.code;
  node.codeName = Intern(begin.codeName);
  node.index = begin.index;
  node.offset = begin.offset;
  if (m_open.size() == 1) node.part = m_part;
  m_open.push_back(&node);
}

void DiffListingBuilder::Field(const VListingField& field) {
  DiffField& kept = m_open.back()->fields.emplace_back();
  kept.offset = static_cast<std::uint32_t>(field.offset);
  kept.width = static_cast<std::uint8_t>(std::min<std::uint32_t>(field.width, 4));
  for (std::uint32_t i = 0; field.bytes != nullptr && i < kept.width; ++i) {
    kept.bytes = (kept.bytes << 8) | field.bytes[i];
  }
  kept.label = Intern(field.label);
  kept.kind = field.kind;
  kept.timeStamp = field.timeStamp;
  kept.number =
      field.kind == VFieldKind::real ? std::bit_cast<std::int64_t>(field.real) : field.number;
}

void DiffListingBuilder::Value(const VListingValue& value) {
  DiffValue& kept = m_open.back()->values.emplace_back();
  kept.offset = static_cast<std::uint32_t>(value.offset);
  kept.width = value.width;
  kept.label = Intern(value.label);
  kept.kind = value.kind;
  kept.timeStamp = value.timeStamp;
  kept.number =
      value.kind == VValueKind::real ? std::bit_cast<std::int64_t>(value.real) : value.number;
  kept.length = value.length;
  kept.textAt = static_cast<std::uint32_t>(m_listing.texts.size());
  kept.textLength = static_cast<std::uint32_t>(value.text.size());
  m_listing.texts += value.text;
}

void DiffListingBuilder::End(VListingPlace) {
  if (m_open.size() <= 1) return;
  Seal(*m_open.back());
  m_open.pop_back();
}

void DiffListingBuilder::Stop(std::int64_t, std::string_view reason) { m_listing.stop = reason; }

void DiffListingBuilder::Finish() {
  while (m_open.size() > 1) End(m_open.back()->kind);
  Seal(m_listing.top);
}

DiffListing ReadListing(const std::vector<std::filesystem::path>& parts) {
  DiffListing listing;
  DiffListingBuilder builder(listing);
  listing.whole =
      ListDomainFiles(parts, builder, [&](std::uint32_t part) { builder.SetPart(part); });
  builder.Finish();
  return listing;
}

std::vector<Difference> CompareListings(const DiffListing& a, const DiffListing& b,
                                        const DiffOptions& options) {
  std::vector<Difference> differences;
  Comparison(a, b, options, differences).Nodes(a.top, b.top, std::string());
  return differences;
}

std::string PlaceText(const DiffNode& node, const DiffListing& listing) {
  std::string text = node.part > 0 ? "part " + std::to_string(node.part) + " > " : std::string();
  if (node.kind == VListingPlace::element) {
    const DiffValue* key = nullptr;
    const DiffValue* name = nullptr;
    for (const DiffValue& value : node.values) {
      if (value.kind == VValueKind::key && key == nullptr) key = &value;
      if (value.kind == VValueKind::name && name == nullptr) name = &value;
    }
    if (key != nullptr) {
      text += "entry " + std::to_string(key->number);
      if (name != nullptr) {
        text += " ";
        AppendJsonString(text, TextOf(*name, listing));
      }
      return text;
    }
  }
  text += PlaceName(node.kind);
  const std::string_view name = Interned(node.name);
  if (!name.empty()) text += " " + std::string(name);
  if (node.kind == VListingPlace::element) {
    const std::string_view codeName = Interned(node.codeName);
    text += " " + (codeName.empty() ? std::to_string(node.code) : std::string(codeName));
    // An element with a name but no key (a decoder table's element description) is named by it.
    for (const DiffValue& value : node.values) {
      if (value.kind != VValueKind::name) continue;
      text += " ";
      AppendJsonString(text, TextOf(value, listing));
      return text;
    }
  }
  if (node.index >= 0) text += " #" + std::to_string(node.index);
  return text;
}

}  // namespace morvit::tool
