// The comparison: the common start and end are passed over, the fields between matched by the
// longest common sequence of (place, label, value); what is left between two matches pairs up
// as changed where place and label agree, and is removed or added otherwise.
#include "DomainDiff.h"

#include <algorithm>

namespace morvit::tool {
namespace {

using Field = ComparedListing::Field;

bool SameKey(const Field& a, const Field& b) { return a.place == b.place && a.label == b.label; }
bool Same(const Field& a, const Field& b) { return SameKey(a, b) && a.value == b.value; }

// Beyond this many cells the middle is compared place by place instead (a listing rewritten
// from end to end needs no alignment to show that).
constexpr std::size_t kMaxAlignmentCells = 16u << 20;

void Emit(DomainDiff& diff, std::string& lastPlace, char op, const Field& field,
          const std::string& before, const std::string& after) {
  if (field.place != lastPlace) {
    diff.lines.push_back({'@', field.place, "", "", ""});
    lastPlace = field.place;
  }
  diff.lines.push_back({op, field.place, field.label, before, after});
  (op == '-' ? diff.removed : op == '+' ? diff.added : diff.changed)++;
}

// A stretch without matches: fields with the same place and label in order are changes.
void EmitGap(DomainDiff& diff, std::string& lastPlace, const std::vector<Field>& a, std::size_t a0,
             std::size_t a1, const std::vector<Field>& b, std::size_t b0, std::size_t b1) {
  while (a0 < a1 || b0 < b1) {
    if (a0 < a1 && b0 < b1 && SameKey(a[a0], b[b0])) {
      Emit(diff, lastPlace, '~', b[b0], a[a0].value, b[b0].value);
      ++a0, ++b0;
    } else if (a0 < a1 &&
               (b0 == b1 ||
                std::none_of(b.begin() + static_cast<long>(b0), b.begin() + static_cast<long>(b1),
                             [&](const Field& f) { return SameKey(f, a[a0]); }))) {
      Emit(diff, lastPlace, '-', a[a0], a[a0].value, "");
      ++a0;
    } else {
      Emit(diff, lastPlace, '+', b[b0], "", b[b0].value);
      ++b0;
    }
  }
}

}  // namespace

void ComparedListing::Add(const ListingEvent& event) {
  using Kind = ListingEvent::Kind;
  switch (event.kind) {
    case Kind::file:
      // Parts by their number: the names differ from version to version.
      m_open = {"part " + std::to_string(m_files++)};
      return;
    case Kind::begin: {
      std::string place = event.structure;
      if (!event.name.empty()) place += " " + event.name;
      if (event.code >= 0) place += " " + std::to_string(event.code);
      if (!event.codeName.empty()) place += " " + event.codeName;
      m_open.push_back(m_open.empty() ? place : m_open.back() + " / " + place);
      return;
    }
    case Kind::end:
      if (m_open.size() > 1) m_open.pop_back();
      return;
    case Kind::field:
      m_fields.push_back({m_open.empty() ? "" : m_open.back(), event.label, event.value});
      return;
    case Kind::stop:
      m_fields.push_back({m_open.empty() ? "" : m_open.back(), "listing stops", event.label});
      return;
  }
}

DomainDiff CompareListings(const ComparedListing& older, const ComparedListing& newer) {
  const std::vector<Field>& a = older.Fields();
  const std::vector<Field>& b = newer.Fields();
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && Same(a[head], b[head])) ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         Same(a[a.size() - 1 - tail], b[b.size() - 1 - tail]))
    ++tail;
  const std::size_t n = a.size() - head - tail, m = b.size() - head - tail;
  DomainDiff diff;
  std::string lastPlace;
  if (n * m > kMaxAlignmentCells) {
    EmitGap(diff, lastPlace, a, head, head + n, b, head, head + m);
    return diff;
  }
  // Lengths of the longest common sequences of the suffixes, one row per field of `a`.
  std::vector<std::uint32_t> length((n + 1) * (m + 1), 0);
  const auto at = [m](std::size_t i, std::size_t j) { return i * (m + 1) + j; };
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      length[at(i, j)] = Same(a[head + i], b[head + j])
                             ? length[at(i + 1, j + 1)] + 1
                             : std::max(length[at(i + 1, j)], length[at(i, j + 1)]);
    }
  }
  std::size_t i = 0, j = 0, gapI = 0, gapJ = 0;
  while (i < n && j < m) {
    if (Same(a[head + i], b[head + j])) {
      EmitGap(diff, lastPlace, a, head + gapI, head + i, b, head + gapJ, head + j);
      gapI = ++i, gapJ = ++j;
    } else if (length[at(i + 1, j)] >= length[at(i, j + 1)]) {
      ++i;
    } else {
      ++j;
    }
  }
  EmitGap(diff, lastPlace, a, head + gapI, head + n, b, head + gapJ, head + m);
  return diff;
}

}  // namespace morvit::tool
