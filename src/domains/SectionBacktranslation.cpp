// Progress, cancel and hand-over loop of the section-based domain types' back-translation.
#include "domains/SectionBacktranslation.h"

#include <cctype>

#include "domains/VDomainSection.h"
#include "morvit/VDatabase.h"
#include "morvit/VElement.h"
#include "support/HostServices.h"

namespace morvit {

void ReportProgress(int percent, const CString& text) {
  Host().SendMessageToUI(kMessageProgress, percent, text);
  Host().PumpMessages();
}

bool CancelRequested() { return AskCancel(); }

CString ProgressText(const CString& fileName) {
  CString text = fileName;
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto lastX = text.rfind('X');
  if (lastX != CString::npos) text[lastX] = 'C';
  return text;
}

ObjId DomainObjectId(const ObjParcelType& parcel) {
  return {parcel.domainType, parcel.scope, parcel.version};
}

long ElementCount(std::initializer_list<const VDomainSection*> sections) {
  long count = 0;
  for (const VDomainSection* section : sections)
    count += static_cast<long>(section->GetElements().size());
  return count;
}

ElementHandOver::ElementHandOver(VDatabase& database, const CString& fileName, long total,
                                 Cancel cancel, Report report)
    : m_database(database),
      m_strText(ProgressText(fileName)),
      m_lTotal(total),
      m_bCancellable(cancel == Cancel::Asked),
      m_bReportAfter(report == Report::AfterEach) {}

bool ElementHandOver::Next() {
  ++m_lHanded;
  // A total of 0 cannot come with an element to hand over; it is kept from dividing anyway.
  const long percent = m_lTotal > 0 ? m_lHanded * 100 / m_lTotal : 100;
  ReportProgress(static_cast<int>(percent), m_strText);
  return !m_bCancellable || !CancelRequested();
}

bool ElementHandOver::Insert(const VDomainSection& section, std::uint16_t code) {
  for (const auto& element : section.GetElements()) {
    if (!m_bReportAfter && !Next()) return false;
    m_database.Insert(code, element.get());
    if (m_bReportAfter && !Next()) return false;
  }
  return true;
}

bool ElementHandOver::InsertBasicObjects(const VDomainSection& section, std::uint16_t code,
                                         bool setAuxWord, std::uint16_t auxWord) {
  for (const auto& element : section.GetElements()) {
    if (!Next()) return false;
    if (setAuxWord) element->SetAuxWord(auxWord);
    m_database.InsertBasicObject(code, element.get());
  }
  return true;
}

int HandSectionsToDatabase(VDatabase* database, const CString& fileName,
                           std::initializer_list<SectionToHandOver> sections) {
  if (database == nullptr) return 1;
  long total = 0;
  for (const SectionToHandOver& s : sections) total += ElementCount({&s.section});
  ElementHandOver handOver(*database, fileName, total);
  for (const SectionToHandOver& s : sections) {
    if (!handOver.Insert(s.section, s.code)) return 0;
  }
  return 1;
}

int HandElementToDatabase(VDatabase* database, const CString& text, VElement& element, ObjId id,
                          const std::function<void(VDatabase&)>& last) {
  if (database == nullptr) return 1;
  ReportProgress(10, text);
  if (CancelRequested()) return 0;
  element.SeekToBegin();
  database->Insert(kInsertOwnCode, &element);
  ReportProgress(90, text);
  database->SetObjectId(id);
  ReportProgress(100, text);
  last(*database);
  return 1;
}

}  // namespace morvit
