// Byte-by-byte builders of dump inputs.
#include "support/DumpFiles.h"

#include <cstring>
#include <fstream>

namespace testutil {

namespace {

void PutBig(Bytes& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value >> 8);
  bytes[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

template <typename T>
void PutHost(Bytes& bytes, std::size_t at, T value) {
  std::memcpy(bytes.data() + at, &value, sizeof value);
}

}  // namespace

CodeFile CodeFile::Header(std::uint8_t type, std::uint16_t majorMinor, std::uint8_t scope) {
  CodeFile file;
  // 2026-12-07 (offset 26: 26 * 512 + 12 * 32 + 7), 10:15, 12.345 s.
  file.words = {0,
                static_cast<std::uint16_t>(type << 8 | scope),
                7,
                26 * 512 + 12 * 32 + 7,
                10 * 60 + 15,
                12345,
                majorMinor};
  return file;
}

CodeFile& CodeFile::Words(std::initializer_list<std::uint16_t> more) {
  words.insert(words.end(), more);
  return *this;
}

CodeFile& CodeFile::Repeat(std::uint16_t word, std::size_t count) {
  words.insert(words.end(), count, word);
  return *this;
}

Bytes CodeFile::Build(std::size_t padTo) const {
  Bytes bytes(words.size() * 2);
  for (std::size_t i = 0; i < words.size(); ++i) PutBig(bytes, 2 * i, words[i]);
  PutBig(bytes, 0, static_cast<std::uint16_t>(bytes.size() - 1));
  if (padTo != 0 && bytes.size() % padTo != 0)
    bytes.resize(bytes.size() + padTo - bytes.size() % padTo);
  return bytes;
}

Bytes DataTable(const std::vector<DataRecord>& records) {
  Bytes bytes(records.size() * 14);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const DataRecord& r = records[i];
    const std::size_t at = 14 * i;
    PutHost(bytes, at, r.iKey);
    bytes[at + 2] = r.termId;
    bytes[at + 3] = r.tcNo;
    PutHost(bytes, at + 4, r.offset);
    PutHost(bytes, at + 6, r.noBytes);
    bytes[at + 8] = r.ioSelect;
    bytes[at + 9] = r.bitNo;
    PutHost(bytes, at + 10, r.locOffs);
    PutHost(bytes, at + 12, r.last);
  }
  return bytes;
}

Bytes PlTable(const std::vector<PlRecord>& records) {
  Bytes bytes(records.size() * 8);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const PlRecord& r = records[i];
    PutHost(bytes, 8 * i, r.iKey);
    bytes[8 * i + 2] = r.termId;
    bytes[8 * i + 3] = r.tcNo;
    PutHost(bytes, 8 * i + 4, r.offset);
    PutHost(bytes, 8 * i + 6, r.noBytes);
  }
  return bytes;
}

Bytes MoveATable(const std::vector<MoveARecord>& records, std::uint16_t lastA, std::uint16_t lastB,
                 bool wide) {
  Bytes bytes(wide ? 54000 : 30000);
  for (std::size_t i = 0; i < records.size(); ++i) {
    PutHost(bytes, 8 * i, records[i].iKey);
    PutHost(bytes, 8 * i + 2, records[i].termId);
    PutHost(bytes, 8 * i + 4, records[i].poiEle);
  }
  PutHost(bytes, bytes.size() - 4, lastA);
  PutHost(bytes, bytes.size() - 2, lastB);
  return bytes;
}

Bytes MoveBTable(const std::vector<MoveBRecord>& records) {
  Bytes bytes(records.size() * 178);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const MoveBRecord& r = records[i];
    const std::size_t at = 178 * i;
    PutHost(bytes, at, r.fbCod);
    PutHost(bytes, at + 2, r.len);
    PutHost(bytes, at + 4, r.noEl);
    for (std::size_t h = 0; h < 4; ++h) PutBig(bytes, at + 6 + 2 * h, r.h[h]);
    bytes[at + 14] = r.opEl;
    PutHost(bytes, at + 16, r.contInd);
    for (std::size_t e = 0; e < r.entries.size(); ++e) {
      const std::size_t entry = at + 18 + 10 * e;
      PutHost(bytes, entry, r.entries[e].iKey);
      PutHost(bytes, entry + 2, r.entries[e].termId);
      PutHost(bytes, entry + 4, r.entries[e].lOffs);
      PutBig(bytes, entry + 6, r.entries[e].e1);
      PutBig(bytes, entry + 8, r.entries[e].e2);
    }
  }
  return bytes;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> WordLabels(const std::vector<std::string>& lines, bool lineNumbers) {
  // offset "%5u:   ", then hex (4), signed (8), high (8), low (4), 3 spaces, 2 characters,
  // 6 spaces.
  const std::size_t labelAt = (lineNumbers ? 9 : 0) + 4 + 8 + 8 + 4 + 3 + 2 + 6;
  std::vector<std::string> labels;
  bool inWords = false;
  for (const std::string& line : lines) {
    if (!inWords) {
      inWords = line.find("Offset to last Byte") != std::string::npos;
      if (!inWords) continue;
    }
    if (line.size() < labelAt) continue;
    labels.push_back(line.substr(labelAt));
  }
  return labels;
}

}  // namespace testutil

#include "dump/DumpDriver.h"
#include "support/DumpTest.h"

namespace testutil {

std::string DumpTest::Dump(const std::string& name, const Bytes& bytes) {
  Write(name, bytes);
  EXPECT_EQ(RunDumpDriver(Dir(), name), 0);
  return Text(DumpOutputName(name));
}

}  // namespace testutil
