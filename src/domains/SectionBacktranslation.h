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
class VDomainSection;
class VElement;

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

// Hands every element of the sections, in order, to `database`. Before each element: the
// progress message (n * 100 / total percent, n counting from 1 over all sections) with the
// progress text of `fileName`, one run of the message pump, and the cancel query. Returns 0 as
// soon as the user cancels (the rest is not handed over), 1 when every element went over or
// no database is attached.
int HandSectionsToDatabase(VDatabase* database, const CString& fileName,
                           std::initializer_list<SectionToHandOver> sections);

// The hand-over of a domain whose content is one element (a task or resource description):
// progress 10 with `text`, the cancel query (non-zero answer: return 0, nothing handed over),
// Insert with 0xFFFF, progress 90, SetObjectId with `id`, progress 100, then `last`; 1. With no
// database attached, 1 at once.
int HandElementToDatabase(VDatabase* database, const CString& text, VElement& element, ObjId id,
                          const std::function<void(VDatabase&)>& last);

#endif  // MORVIT_DOMAINS_SECTIONBACKTRANSLATION_H
