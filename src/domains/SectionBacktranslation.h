// Hands the elements of a domain's sections to the client's database, with the progress and
// cancel messages that every section-based domain type sends while it does so.
#ifndef MORVIT_DOMAINS_SECTIONBACKTRANSLATION_H
#define MORVIT_DOMAINS_SECTIONBACKTRANSLATION_H

#include <cstdint>
#include <functional>
#include <initializer_list>

#include "morvit/VBase.h"
#include "morvit/platform.h"

class VDatabase;
class VElement;

namespace morvit {

class VDomainSection;

// A section whose elements go to VDatabase::Insert with `code`.
struct SectionToHandOver {
  const VDomainSection& section;
  std::uint16_t code;
};

// The code under which an element-section element is handed over: "take the element's own".
inline constexpr std::uint16_t kInsertOwnCode = 0xFFFF;

// Sends the progress message with `percent` and `text`, then runs the message pump once.
void ReportProgress(int percent, const CString& text);
// Asks the user interface whether the user has cancelled (message 1064, non-zero answer).
bool CancelRequested();

// The progress text of a domain file: its name upper-cased, with its last X turned into a C
// (a domain read from its expanded copy is shown under the name of its ordinary file).
CString ProgressText(const CString& fileName);

// The object identifier a domain gives the database: its parcel's type, scope and version.
ObjId DomainObjectId(const ObjParcelType& parcel);

// The number of elements of the sections together.
long ElementCount(std::initializer_list<const VDomainSection*> sections);

// One hand-over run: elements counted from 1 against a total fixed at the start, whatever
// sections they come from. For each element (before it is handed over, or after it for the
// types that report a step once it is done): the progress message (n * 100 / total percent)
// with the progress text, one run of the message pump and, unless the run cannot be cancelled,
// the cancel query.
class ElementHandOver {
 public:
  enum class Cancel { Asked, Never };
  enum class Report { BeforeEach, AfterEach };

  ElementHandOver(VDatabase& database, const CString& fileName, long total,
                  Cancel cancel = Cancel::Asked, Report report = Report::BeforeEach);

  // Every element of the section to VDatabase::Insert with `code` (kInsertOwnCode: the
  // element's own). False as soon as the user cancels; the rest is not handed over.
  bool Insert(const VDomainSection& section, std::uint16_t code);
  // Every element to VDatabase::InsertBasicObject with `code`; with `setAuxWord`, each element
  // first receives `auxWord` as its auxiliary word.
  bool InsertBasicObjects(const VDomainSection& section, std::uint16_t code,
                          bool setAuxWord = false, std::uint16_t auxWord = 0);

 private:
  // Progress, pump and cancel query for the next element; false when the user cancelled.
  bool Next();

  VDatabase& m_database;
  CString m_strText;
  long m_lTotal;
  long m_lHanded = 0;
  bool m_bCancellable;
  bool m_bReportAfter;
};

// Hands every element of the sections, in order, to `database` through one ElementHandOver
// over all their elements. Returns 0 as soon as the user cancels (the rest is not handed
// over), 1 when every element went over or no database is attached.
int HandSectionsToDatabase(VDatabase* database, const CString& fileName,
                           std::initializer_list<SectionToHandOver> sections);

// The hand-over of a domain whose content is one element (a task or resource description):
// progress 10 with `text`, the cancel query (non-zero answer: return 0, nothing handed over),
// Insert with 0xFFFF, progress 90, SetObjectId with `id`, progress 100, then `last`; 1. With no
// database attached, 1 at once.
int HandElementToDatabase(VDatabase* database, const CString& text, VElement& element, ObjId id,
                          const std::function<void(VDatabase&)>& last);

}  // namespace morvit

#endif  // MORVIT_DOMAINS_SECTIONBACKTRANSLATION_H
