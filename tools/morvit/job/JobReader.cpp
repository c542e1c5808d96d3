// The job read through a streaming JSON reader: a stream that knows the line and column of the
// token just read, a builder of one piece, and the splitter that decides where pieces begin.
#include "job/JobReader.h"

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <deque>
#include <filesystem>
#include <tuple>

#include "cli/Failure.h"
#include "cli/ToolPlatform.h"
#include "morvit/platform.h"

namespace morvit::tool {
namespace {

// Deeper nesting than any job needs is refused before it can cost stack or memory.
constexpr std::size_t kMaxDepth = 32;

std::string Join(const std::string& path, const std::string& member) {
  return path.empty() ? member : path + "." + member;
}

// A buffered input stream for the reader that follows lines and columns and notes where the
// last token began: a string at its opening quote, a number or a literal at its first character.
class PlacedStream {
 public:
  using Ch = char;

  explicit PlacedStream(std::FILE* file) : m_file(file) { Fill(); }

  Ch Peek() const { return m_at < m_end ? *m_at : '\0'; }
  Ch Take() {
    if (m_at >= m_end) return '\0';
    const char c = *m_at++;
    ++m_offset;
    Follow(c);
    if (m_at == m_end) Fill();
    return c;
  }
  std::size_t Tell() const { return m_offset; }
  // Not an output stream.
  Ch* PutBegin() { return nullptr; }
  void Put(Ch) {}
  void Flush() {}
  std::size_t PutEnd(Ch*) { return 0; }

  JobPlace Token() const { return m_token; }
  JobPlace Here() const { return m_here; }
  bool Failed() const { return m_failed; }

 private:
  void Fill() {
    m_at = m_buffer.data();
    m_end = m_at + std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    if (std::ferror(m_file)) m_failed = true;
  }

  void Follow(char c) {
    const JobPlace here = m_here;
    if (c == '\n') {
      ++m_here.line;
      m_here.column = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++m_here.column;  // continuation bytes of a UTF-8 character take no column
    }
    if (m_inString) {
      if (m_escape) {
        m_escape = false;
      } else if (c == '\\') {
        m_escape = true;
      } else if (c == '"') {
        m_inString = false;
      }
      return;
    }
    switch (c) {
      case '"':
        m_inString = true;
        m_token = here;
        break;
      case '{':
      case '[':
      case ' ':
      case '\t':
      case '\n':
      case '\r':
      case ',':
      case ':':
      case '}':
      case ']':
        m_afterDelimiter = true;
        break;
      default:
        if (m_afterDelimiter) m_token = here;
        m_afterDelimiter = false;
    }
  }

  std::FILE* m_file;
  std::array<char, 65536> m_buffer{};
  const char* m_at = nullptr;
  const char* m_end = nullptr;
  std::size_t m_offset = 0;
  JobPlace m_here;
  JobPlace m_token;
  bool m_inString = false;
  bool m_escape = false;
  bool m_afterDelimiter = true;
  bool m_failed = false;
};

// Builds one piece from the reader's values, noting each value's place.
class UnitBuilder {
 public:
  UnitBuilder(std::string path, JobFaults& faults) : m_faults(faults) {
    m_unit.path = std::move(path);
    m_unit.places.reserve(16);  // a record's values
    m_unit.names.reserve(16);
  }

  // Adds a value (a scalar or an empty container) where the piece stands; a container is entered
  // unless `enter` is false (a long list, whose elements are pieces of their own).
  void Add(nlohmann::json value, JobPlace at, bool enter = true) {
    nlohmann::json* slot = &m_unit.value;
    std::string path;
    if (!m_stack.empty()) {
      Frame& top = m_stack.back();
      if (top.container->is_array()) {
        path = top.path + "[" + std::to_string(top.container->size()) + "]";
        top.container->push_back(std::move(value));
        slot = &top.container->back();
      } else {
        path = Join(top.path, top.key);
        if (top.container->contains(top.key)) {
          m_faults.Add(top.keyPlace, Join(m_unit.path, path),
                       "member \"" + top.key + "\" is given twice");
        }
        slot = &((*top.container)[top.key] = std::move(value));
        m_unit.names.emplace_back(path, top.keyPlace);
      }
    } else {
      *slot = std::move(value);
    }
    m_unit.places.emplace_back(path, at);
    if (slot->is_structured() && enter) {
      m_stack.push_back({slot, std::move(path), {}, {}});
    } else if (m_stack.empty()) {
      m_done = true;
    }
  }
  void Key(std::string name, JobPlace at) {
    m_stack.back().key = std::move(name);
    m_stack.back().keyPlace = at;
  }
  void Close() {
    m_stack.pop_back();
    if (m_stack.empty()) m_done = true;
  }

  std::size_t Depth() const { return m_stack.size(); }
  bool Done() const { return m_done; }
  // The member being read, when directly in the piece's own object.
  const std::string* MemberOfPiece() const {
    if (m_stack.size() != 1 || !m_stack.back().container->is_object()) return nullptr;
    return &m_stack.back().key;
  }
  JobUnit& Unit() { return m_unit; }

 private:
  struct Frame {
    nlohmann::json* container;
    std::string path;
    std::string key;
    JobPlace keyPlace;
  };
  JobFaults& m_faults;
  JobUnit m_unit;
  std::vector<Frame> m_stack;
  bool m_done = false;
};

const char* Describe(const nlohmann::json& value) {
  switch (value.type()) {
    case nlohmann::json::value_t::array:
      return "an array";
    case nlohmann::json::value_t::string:
      return "a string";
    case nlohmann::json::value_t::boolean:
      return "true or false";
    case nlohmann::json::value_t::null:
      return "null";
    default:
      return "a number";
  }
}

// The reader's handler: hands each value to the piece it belongs to, starts a piece for the job,
// for each domain and for each element of a long list, and hands finished pieces to the sink.
class Splitter {
 public:
  Splitter(PlacedStream& stream, JobUnitSink& sink, JobFaults& faults)
      : m_stream(stream), m_sink(sink), m_faults(faults) {}

  bool Null() { return Value(nullptr); }
  bool Bool(bool b) { return Value(b); }
  bool Int(int i) { return Value(i); }
  bool Uint(unsigned u) { return Value(u); }
  bool Int64(std::int64_t i) { return Value(i); }
  bool Uint64(std::uint64_t u) { return Value(u); }
  bool Double(double d) { return Value(d); }
  bool RawNumber(const char*, rapidjson::SizeType, bool) { return false; }  // not asked for
  bool String(const char* text, rapidjson::SizeType length, bool) {
    return Value(std::string(text, length));
  }
  // The iterative reader announces a container before it takes the bracket.
  bool StartObject() { return Value(nlohmann::json::object(), m_stream.Here()); }
  bool StartArray() { return Value(nlohmann::json::array(), m_stream.Here()); }
  bool Key(const char* text, rapidjson::SizeType length, bool) {
    m_levels.back().builder.Key(std::string(text, length), m_stream.Token());
    return true;
  }
  bool EndObject(rapidjson::SizeType) { return End(); }
  bool EndArray(rapidjson::SizeType) { return End(); }

 private:
  enum class Kind { kJob, kDomain, kItem };
  struct Level {
    UnitBuilder builder;
    Kind kind;
    std::size_t index;
    std::string list;  // the long list being read, when `inList`
    std::size_t listCount = 0;
    bool inList = false;
  };

  bool Value(nlohmann::json value) { return Value(std::move(value), m_stream.Token()); }
  bool Value(nlohmann::json value, JobPlace at) {
    if (m_faults.Full()) return false;
    if (m_levels.empty()) {
      if (!value.is_object()) {
        m_faults.Add(
            at, "",
            std::string("a job is a JSON object {\"domains\": [...]}, not ") + Describe(value));
        return false;
      }
      m_levels.push_back({UnitBuilder("", m_faults), Kind::kJob, 0, {}});
      m_levels.back().builder.Add(std::move(value), at);
      return true;
    }
    Level& top = m_levels.back();
    if (top.inList) {
      const bool domain = top.kind == Kind::kJob;
      std::string path = domain ? "domains[" + std::to_string(top.listCount) + "]"
                                : Join(top.builder.Unit().path, top.list) + "[" +
                                      std::to_string(top.listCount) + "]";
      const std::size_t index = domain ? top.listCount : top.index;
      ++top.listCount;
      m_levels.push_back({UnitBuilder(std::move(path), m_faults),
                          domain ? Kind::kDomain : Kind::kItem,
                          index,
                          {}});
      m_levels.back().builder.Add(std::move(value), at);
      if (m_levels.back().builder.Done()) Finish();
      return true;
    }
    const std::string* member = top.builder.MemberOfPiece();
    if (member != nullptr && value.is_array() &&
        ((top.kind == Kind::kJob && *member == "domains") ||
         (top.kind == Kind::kDomain && IsLongList(*member)))) {
      top.list = *member;
      top.builder.Add(std::move(value), at, false);
      top.inList = true;
      top.listCount = 0;
      return true;
    }
    top.builder.Add(std::move(value), at);
    if (top.builder.Depth() > kMaxDepth) {
      m_faults.Add(at, top.builder.Unit().path,
                   "nested deeper than " + std::to_string(kMaxDepth) + " levels");
      return false;
    }
    return true;
  }

  bool End() {
    Level& top = m_levels.back();
    if (top.inList) {
      top.inList = false;
      return true;
    }
    top.builder.Close();
    if (top.builder.Done()) Finish();
    return !m_faults.Full();
  }

  // Hands the finished piece on top to the sink.
  void Finish() {
    Level level = std::move(m_levels.back());
    m_levels.pop_back();
    JobUnit& unit = level.builder.Unit();
    switch (level.kind) {
      case Kind::kJob:
        m_sink.Job(unit);
        break;
      case Kind::kDomain:
        m_sink.Domain(level.index, unit);
        break;
      case Kind::kItem:
        m_sink.Item(level.index, m_levels.back().list, unit);
        break;
    }
  }

  PlacedStream& m_stream;
  JobUnitSink& m_sink;
  JobFaults& m_faults;
  // A deque: a level's builder points into its own piece, so levels never move while in use.
  std::deque<Level> m_levels;
};

}  // namespace

bool IsLongList(const std::string& member) {
  return member == "records" || member == "texts" || member == "objects" || member == "files" ||
         member == "descriptions";
}

JobPlace JobUnit::PlaceOf(const std::string& fullPath, bool name) const {
  std::string relative = fullPath.substr(std::min(path.size(), fullPath.size()));
  if (!relative.empty() && relative.front() == '.') relative.erase(0, 1);
  const auto& table = name ? names : places;
  for (;;) {
    for (const auto& [at, place] : table) {
      if (at == relative) return place;
    }
    if (relative.empty()) return places.empty() ? JobPlace{} : places.front().second;
    const std::size_t cut = relative.find_last_of(".[");
    relative.erase(cut == std::string::npos ? 0 : cut);
    if (name) return PlaceOf(Join(path, relative), false);
  }
}

void JobFaults::Add(JobPlace place, const std::string& path, const std::string& what) {
  if (Full()) return;
  m_faults.push_back({place, path, what});
}

std::vector<PlacedFault> JobFaults::Faults() const {
  auto faults = m_faults;
  std::stable_sort(faults.begin(), faults.end(), [](const PlacedFault& a, const PlacedFault& b) {
    return std::tie(a.place.line, a.place.column) < std::tie(b.place.line, b.place.column);
  });
  return faults;
}

std::vector<std::string> JobFaults::PathsFrom(std::size_t first) const {
  std::vector<std::string> paths;
  for (std::size_t i = first; i < m_faults.size(); ++i) paths.push_back(m_faults[i].path);
  return paths;
}

std::vector<std::string> JobFaults::Lines() const {
  std::vector<std::string> lines;
  for (const PlacedFault& fault : Faults()) {
    lines.push_back(m_file + ":" + std::to_string(fault.place.line) + ":" +
                    std::to_string(fault.place.column) + ": " +
                    (fault.path.empty() ? "" : fault.path + ": ") + fault.what);
  }
  return lines;
}

void JobFaults::Add(const JobUnit& unit, const std::string& path, const std::string& what,
                    bool atName) {
  Add(unit.PlaceOf(path, atName), path, what);
}

JobSource::JobSource(const std::string& name) : m_name(name), m_file(nullptr, std::fclose) {
  if (name == "-") {
    // Standard input is read once into a file of the scratch space: the job is read twice.
    m_name = "<stdin>";
    try {
      m_input.emplace(name);
    } catch (const CFileException&) {
      throw Failure("<stdin>: cannot read the job");
    }
    m_file.reset(OpenFile(m_input->Path(), "rb"));
    if (!m_file) throw Failure("cannot keep the job from standard input in a temporary file");
    return;
  }
  std::error_code error;
  if (std::filesystem::is_directory(PathFromUtf8(name), error)) {
    throw Failure(name + ": is a directory; expected a job file (JSON)");
  }
  m_file.reset(OpenFile(name, "rb"));
  if (!m_file) throw CFileException(CFileException::OsErrorToCause(errno), errno, name);
}

JobSource::JobSource(const std::string& name, std::string_view text)
    : m_name(name), m_file(std::tmpfile(), std::fclose) {
  // tmpfile's file goes from the disk when it is closed, however the program ends.
  if (!m_file || std::fwrite(text.data(), 1, text.size(), m_file.get()) != text.size() ||
      std::fflush(m_file.get()) != 0) {
    throw Failure(name + ": cannot keep the job in a temporary file");
  }
}

namespace {

// Hands the pieces on and, every so many pieces, tells the bar how much of the file is read.
class ProgressSink : public JobUnitSink {
 public:
  ProgressSink(JobUnitSink& sink, std::FILE* file, ProgressBar& bar, const std::string& label)
      : m_sink(sink), m_file(file), m_bar(bar), m_label(label) {
    std::fseek(file, 0, SEEK_END);
    m_size = std::ftell(file);
    std::rewind(file);
  }
  void Item(std::size_t domain, const std::string& member, JobUnit& item) override {
    Tell();
    m_sink.Item(domain, member, item);
  }
  void Domain(std::size_t domain, JobUnit& head) override {
    Tell();
    m_sink.Domain(domain, head);
  }
  void Job(JobUnit& job) override {
    m_bar.Update(m_label, 100);
    m_sink.Job(job);
  }

 private:
  void Tell() {
    if (++m_units % 256 != 0 || m_size <= 0) return;
    m_bar.Update(m_label, static_cast<int>(std::ftell(m_file) * 100 / m_size));
  }

  JobUnitSink& m_sink;
  std::FILE* m_file;
  ProgressBar& m_bar;
  const std::string& m_label;
  long m_size = 0;
  std::size_t m_units = 0;
};

}  // namespace

void JobSource::ShowProgress(ProgressBar* bar, std::string label) {
  m_bar = bar;
  m_label = std::move(label);
}

void JobSource::Read(JobUnitSink& sink, JobFaults& faults) {
  std::optional<ProgressSink> progress;
  if (m_bar != nullptr) progress.emplace(sink, m_file.get(), *m_bar, m_label);
  std::rewind(m_file.get());
  PlacedStream stream(m_file.get());
  Splitter splitter(stream, progress ? static_cast<JobUnitSink&>(*progress) : sink, faults);
  rapidjson::Reader reader;
  const rapidjson::ParseResult result =
      reader.Parse<rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag>(
          stream, splitter);
  if (stream.Failed()) throw Failure(m_name + ": cannot read the job");
  if (result.IsError() && result.Code() != rapidjson::kParseErrorTermination) {
    // The place of the fault the reader names, counted again from the start.
    std::rewind(m_file.get());
    PlacedStream again(m_file.get());
    while (again.Tell() < result.Offset() && again.Peek() != '\0') again.Take();
    faults.Add(again.Here(), "",
               std::string("not valid JSON: ") + rapidjson::GetParseError_En(result.Code()));
  }
}

}  // namespace morvit::tool
