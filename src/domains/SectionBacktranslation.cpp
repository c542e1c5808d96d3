// Progress, cancel and hand-over loop of the section-based domain types' back-translation.
#include "domains/SectionBacktranslation.h"

#include <cctype>

#include "domains/VDomainSection.h"
#include "morvit/VDatabase.h"
#include "morvit/VElement.h"
#include "support/HostServices.h"

void ReportProgress(int percent, const CString& text) {
  Host().SendMessageToUI(kMessageProgress, percent, text);
  Host().PumpMessages();
}

bool CancelRequested() { return Host().SendMessageToUI(kMessageCancelQuery, 0, CString()) != 0; }

CString ProgressText(const CString& fileName) {
  CString text = fileName;
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto lastX = text.rfind('X');
  if (lastX != CString::npos) text[lastX] = 'C';
  return text;
}

int HandSectionsToDatabase(VDatabase* database, const CString& fileName,
                           std::initializer_list<SectionToHandOver> sections) {
  if (database == nullptr) return 1;
  const CString text = ProgressText(fileName);
  long total = 0;
  for (const SectionToHandOver& s : sections) {
    total += static_cast<long>(s.section.GetElements().size());
  }
  long handed = 0;
  for (const SectionToHandOver& s : sections) {
    for (const auto& element : s.section.GetElements()) {
      ++handed;
      ReportProgress(static_cast<int>(handed * 100 / total), text);
      if (CancelRequested()) return 0;
      database->Insert(s.code, element.get());
    }
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
