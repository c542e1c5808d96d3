// The checking pass over a job. It keeps only what the rules across pieces need (the entry keys
// of the current domain, the domains' identities), never the job's records.
#include "job/JobCheck.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <map>
#include <tuple>

#include "cli/ToolPlatform.h"
#include "job/JobSchema.h"
#include "morvit/VDecoderTypes.h"

namespace morvit::tool {
namespace {

// The schema definition of an element of each long list.
const char* ItemDefinition(const std::string& list) {
  static const std::map<std::string, const char*> kDefinitions = {{"records", "record"},
                                                                  {"texts", "nobaText"},
                                                                  {"objects", "bobaObject"},
                                                                  {"files", "nodeFile"},
                                                                  {"descriptions", "description"}};
  return kDefinitions.at(list);
}

// The builder of an element of a long list.
const CInterfaceType& ListType(const std::string& list) {
  for (const char* name : {"CNOD", "NOBA", "REBA", "BOBA1", "CbD"}) {
    const CInterfaceType* type = FindCInterfaceType(name);
    if (list == type->list) return *type;
  }
  throw Failure("no domain type has the list \"" + list + "\"");
}

// The years whose two-digit form the domain holds reads back as the same year.
constexpr int kFirstYear = 1996;
constexpr int kLastYear = 2095;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// The parcel's time stamp: "time" as "YYYY-MM-DD HH:MM:SS" (a 'T' may stand for the space), a
// real date the domain can hold, or the time now. The parcel holds the year in two digits.
void StampTime(const JobValue& domain, ObjParcelType& parcel) {
  std::array<int, 6> fields{};
  if (domain.Find("time") != nullptr) {
    const JobValue time = domain["time"];
    const std::string text = time.Text(32);
    char separator = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d", &fields[0], &fields[1], &fields[2],
                    &separator, &fields[3], &fields[4], &fields[5]) != 7 ||
        (separator != ' ' && separator != 'T') || fields[1] < 1 || fields[1] > 12 ||
        fields[2] < 1 || fields[3] > 23 || fields[4] > 59 || fields[5] > 59) {
      time.Fail("expected a time \"YYYY-MM-DD HH:MM:SS\"");
    }
    if (fields[2] > DaysInMonth(fields[0], fields[1])) {
      time.Fail("no such date: " + text.substr(0, 10));
    }
    if (fields[0] < kFirstYear || fields[0] > kLastYear) {
      time.Fail("year " + std::to_string(fields[0]) + " out of range " +
                std::to_string(kFirstYear) + " to " + std::to_string(kLastYear) +
                " (the domain holds the year in two digits)");
    }
  } else {
    const std::time_t now = std::time(nullptr);
    const std::tm local = LocalTime(now);
    fields = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
              local.tm_hour,        local.tm_min,     local.tm_sec};
  }
  parcel.timeStamp[0] = static_cast<std::uint16_t>(fields[0] % 100);
  for (std::size_t i = 1; i < fields.size(); ++i) {
    parcel.timeStamp[i] = static_cast<std::uint16_t>(fields[i]);
  }
}

ObjParcelType MakeParcel(const JobValue& domain, std::uint16_t type) {
  ObjParcelType parcel{};
  parcel.classLetter = 'C';
  parcel.domainType = type;
  parcel.objectNumber = static_cast<std::uint16_t>(domain["object"].Integer(0, 99));
  parcel.version = static_cast<std::uint16_t>(domain["version"].Integer(0, 9999));
  parcel.scope = static_cast<std::uint16_t>(OptionalInteger(domain, "scope", 0, 99, 0));
  parcel.majorVersion = static_cast<std::uint16_t>(OptionalInteger(domain, "major", 0, 0xFF, 1));
  parcel.minorVersion = static_cast<std::uint16_t>(OptionalInteger(domain, "minor", 0, 0xFF, 0));
  StampTime(domain, parcel);
  return parcel;
}

// The type a domain names, by name or number; a fault when it names none.
JobType FindJobType(const JobValue& domain) {
  const JobValue type = domain["type"];
  JobType found;
  if (type.json.is_number_integer()) {
    const auto number = static_cast<std::uint16_t>(type.Integer(0, 0xFFFF));
    found = {FindCInterfaceType(number), FindWriterType(number)};
  } else {
    const std::string name = type.Text(8);
    found = {FindCInterfaceType(name), FindWriterType(name)};
  }
  if (found.viaInterface == nullptr && found.viaWriter == nullptr) {
    type.Fail(
        "not a domain type this tool generates (CNOD, RNOD, NOBA, REBA, POBA, BOBA1 to BOBA3, "
        "TADE, REDE, PODE, RELO, POLO, COIO, CODA, BXD0 to BXD7, CbD, CbP)");
  }
  return found;
}

std::string Index(const std::string& list, std::size_t index) {
  return list + "[" + std::to_string(index) + "]";
}

// A decoder-table description's element type, noted until the domain's type is known.
struct DescriptionType {
  std::int32_t typeIndex;
  std::string path;
  JobPlace place;
};

class JobChecker : public JobUnitSink {
 public:
  explicit JobChecker(JobFaults& faults) : m_faults(faults) {}

  void Item(std::size_t domain, const std::string& member, JobUnit& item) override {
    if (domain != m_domain) StartDomain(domain);
    const std::size_t index = m_itemCounts[member]++;
    // The build reads on past what the schema refused, for the faults only it can see (a
    // value out of the range of its terminal type, for one).
    const std::size_t before = m_faults.Count();
    const bool valid = m_schema.Check(item, ItemDefinition(member), m_faults);
    if (!EveryFault(item, ListType(member).buildItem, m_faults.PathsFrom(before)) || !valid) {
      return;
    }
    try {
      if (member == "records") CheckKeys(item, index);
      if (member == "descriptions") CheckDescription(item, index);
    } catch (const JobFault& fault) {
      m_faults.Add(item, fault.place, fault.what);
    }
  }

  void Domain(std::size_t domain, JobUnit& head) override {
    if (domain != m_domain) StartDomain(domain);
    m_domains.resize(domain + 1);
    const JobValue value{head.value, head.path};
    try {
      if (!head.value.is_object()) value.Fail("expected an object (a domain)");
      if (head.value.contains("type")) {
        // Without a type no definition applies: the fault is the type's alone.
        const JobType type = FindJobType(value);
        const char* definition =
            type.viaInterface ? type.viaInterface->schema : type.viaWriter->schema;
        if (!m_schema.Check(head, definition, m_faults)) return;
        CheckedDomain& checked = m_domains[domain];
        checked = {type, MakeParcel(value, type.Number())};
        if (type.viaWriter) {
          type.viaWriter->generate(value, checked.parcel, false);
        } else if (type.viaInterface->buildTail != nullptr) {
          SectionList unused;
          type.viaInterface->buildTail(value, unused);
        }
        CheckIdentity(head, domain, checked);
        CheckDescriptionTypes(type.Number());
      } else {
        m_faults.Add(head, head.path, "missing member \"type\"");
      }
    } catch (const JobFault& fault) {
      m_faults.Add(head, fault.place, fault.what);
    }
  }

  void Job(JobUnit& job) override { m_schema.Check(job, "", m_faults); }

  std::vector<CheckedDomain> Domains() { return std::move(m_domains); }

 private:
  // Builds the record `item` and reports every fault of it, not only the first: after each
  // fault the build runs again passing over the values found faulty (from the start, those at
  // `faulty`, already reported). Whether it had none.
  template <typename Build>
  bool EveryFault(JobUnit& item, const Build& build, std::vector<std::string> faulty) {
    const JobValue value{item.value, item.path};
    const PassOver passOver(faulty);
    for (;;) {
      try {
        SectionList unused;
        build(value, unused);
        return faulty.empty();
      } catch (const JobFault& fault) {
        // The same place again (its value stops the build wherever it is read), or a place
        // holding one already found faulty (a consequence of that fault): no new fault.
        const auto holds = [&](const std::string& inner) {
          return inner == fault.place ||
                 (inner.starts_with(fault.place) &&
                  (inner[fault.place.size()] == '.' || inner[fault.place.size()] == '['));
        };
        if (std::any_of(faulty.begin(), faulty.end(), holds)) return false;
        m_faults.Add(item, fault.place, fault.what);
        if (m_faults.Full()) return false;
        faulty.push_back(fault.place);
      } catch (const nlohmann::json::exception&) {
        if (faulty.empty()) throw;
        return false;  // a value passed over that the build needed whole
      }
    }
  }

  void StartDomain(std::size_t domain) {
    m_domain = domain;
    m_itemCounts.clear();
    m_entryOfKey.clear();
    m_descriptionNames.clear();
    m_descriptionTypes.clear();
  }

  // An entry's key is used once; an addition extends an entry made before it.
  void CheckKeys(const JobUnit& item, std::size_t index) {
    constexpr std::size_t kNone = SIZE_MAX;
    if (m_entryOfKey.empty()) m_entryOfKey.assign(0x10000, kNone);
    const bool entry = item.value.contains("entry");
    if (!entry && !item.value.contains("addition")) return;
    const std::string path = item.path + (entry ? ".entry.key" : ".addition.key");
    const auto key =
        (entry ? item.value["entry"] : item.value["addition"])["key"].get<std::uint16_t>();
    std::size_t& first = m_entryOfKey[key];
    if (entry && first != kNone) {
      m_faults.Add(item, path,
                   "key " + std::to_string(key) + " is already used by " + Index("records", first));
    } else if (entry) {
      first = index;
    } else if (first == kNone) {
      m_faults.Add(item, path,
                   "no entry with key " + std::to_string(key) +
                       " before it (an addition extends an earlier entry)");
    }
  }

  // A description holds only what its element type carries, under a name used once.
  void CheckDescription(const JobUnit& item, std::size_t index) {
    const auto typeIndex = item.value["typeIndex"].get<std::int32_t>();
    m_descriptionTypes.push_back(
        {typeIndex, item.path + ".typeIndex", item.PlaceOf(item.path + ".typeIndex")});
    VCbxElementFields fields{};
    CbxElementFields(typeIndex, &fields);
    const std::string type =
        std::string(fields.typeName) + " (type index " + std::to_string(typeIndex) + ")";
    if (item.value.contains("enumTexts") && item.value["enumTexts"].size() > fields.enumTexts) {
      m_faults.Add(item, item.path + ".enumTexts",
                   fields.enumTexts == 0
                       ? "a " + type + " description holds no enumeration texts"
                       : "a " + type + " description holds " + std::to_string(fields.enumTexts) +
                             (fields.enumTexts == 1 ? " enumeration text" : " enumeration texts"));
    }
    for (std::size_t area = 0; area < CbxOffsetFields().size(); ++area) {
      const char* name = CbxOffsetFields()[area].name;
      if (!item.value.contains(name)) continue;
      const std::string path = item.path + "." + name;
      if (fields.offsets[area] == 0) {
        m_faults.Add(item, path, "a " + type + " description holds no " + name + " offset");
      } else if (fields.offsets[area] == 1 && item.value[name][1] != 0) {
        m_faults.Add(item, path + "[1]",
                     "a " + type + " description holds only the byte offset in " + name);
      }
    }
    const std::string name = item.value["name"].get<std::string>();
    const auto [found, added] = m_descriptionNames.emplace(name, index);
    if (!added) {
      m_faults.Add(
          item, item.path + ".name",
          "name \"" + name + "\" is already used by " + Index("descriptions", found->second));
    }
  }

  // A CbD holds the DAT element types, a CbP the PARDAT ones.
  void CheckDescriptionTypes(std::uint16_t domainType) {
    std::size_t first = 0;
    std::size_t end = 0;
    if (!CbxElementTypeRange(domainType, &first, &end)) return;
    for (const DescriptionType& noted : m_descriptionTypes) {
      const auto t = static_cast<std::size_t>(noted.typeIndex);
      if (t >= first && t < end) continue;
      m_faults.Add(noted.place, noted.path,
                   "type index " + std::to_string(t) + " is not one of " +
                       (domainType == 114 ? "CbD" : "CbP") + " (" + std::to_string(first) + " to " +
                       std::to_string(end - 1) + ")");
    }
  }

  // Two domains of one identity would write the same file.
  void CheckIdentity(const JobUnit& head, std::size_t domain, const CheckedDomain& checked) {
    const ObjParcelType& p = checked.parcel;
    const auto identity = std::make_tuple(p.domainType, p.scope, p.version, p.objectNumber);
    const auto [found, added] = m_identities.emplace(identity, domain);
    if (added) return;
    m_faults.Add(head, head.path,
                 std::string("the same domain as ") + Index("domains", found->second) + " (" +
                     checked.type.Name() + " object " + std::to_string(p.objectNumber) +
                     " version " + std::to_string(p.version) + " scope " + std::to_string(p.scope) +
                     ")");
  }

  JobFaults& m_faults;
  JobSchema m_schema;
  std::vector<CheckedDomain> m_domains;
  std::map<std::tuple<std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t>, std::size_t>
      m_identities;
  // The current domain's long lists.
  std::size_t m_domain = SIZE_MAX;
  std::map<std::string, std::size_t> m_itemCounts;
  std::vector<std::size_t> m_entryOfKey;  // record index by entry key, for the REBA and POBA
  std::map<std::string, std::size_t> m_descriptionNames;
  std::vector<DescriptionType> m_descriptionTypes;
};

}  // namespace

std::vector<CheckedDomain> CheckJob(JobSource& source, JobFaults& faults) {
  JobChecker checker(faults);
  source.Read(checker, faults);
  return checker.Domains();
}

}  // namespace morvit::tool
