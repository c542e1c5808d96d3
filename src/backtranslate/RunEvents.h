// What a back-translation run tells its host about itself (the run events of the host-services
// seam): each domain handed over, each domain passed over, and the one reason a run stopped.
// Nothing here calls the database, so the runs' order of database calls stays as it is.
#ifndef MORVIT_BACKTRANSLATE_RUNEVENTS_H
#define MORVIT_BACKTRANSLATE_RUNEVENTS_H

#include "domains/VDomain.h"
#include "files/StorageFailure.h"
#include "support/HostServices.h"

namespace morvit {

class RunEvents {
 public:
  RunEvents() : m_cancelsAtStart(CancelsAnswered()) {}

  // Hands the domain over to the database, bracketed by its begun and ended events. A result
  // of 0 stops the run: the reason is a cancel when one was answered during the run, else the
  // database's answer inside this domain.
  // Opens the domain of `parcel` for reading, as the run reads it, after its file is found: a
  // domain that the data set's verdict (the one `morvit check` gives) does not call sound is
  // not read; it raises a file exception (invalid file) that names its file, as a reader that
  // failed on it would.
  void OpenForReading(VDomain& domain, const ObjParcelType& parcel, VDatabase* database);

  int HandOver(VDomain& domain) {
    // A compressed domain is read from its expanded sibling: the event names the domain file.
    const CString file = FileName(domain.GetFile().GetPath(VDomainFile::fileDomain));
    const std::uint16_t type = domain.GetFile().GetParcel().domainType;
    Host().DomainBegun(file, type);
    const int result = domain.Backtranslate();
    Host().DomainEnded(file, type);
    if (result == 0) {
      VRunStop reason;
      reason.kind =
          CancelsAnswered() != m_cancelsAtStart ? VRunStop::kCancel : VRunStop::kDatabaseAnswer;
      reason.file = file;
      Stopped(reason);
    }
    return result;
  }

  // A domain passed over, missing or damaged: 1, the run goes on.
  int Skipped(const CFileException& e, std::uint16_t type) {
    Host().DomainSkipped(FileOf(e), type, e.m_cause, e.m_lOsError);
    return 1;
  }

  // The run stops: a database call answered 0, or a domain that cannot be passed over failed.
  // Both return 0, the run's result.
  int StoppedByAnswer(const char* call) {
    VRunStop reason;
    reason.kind = VRunStop::kDatabaseAnswer;
    reason.call = call;
    return Stopped(reason);
  }
  int StoppedByFile(const CFileException& e) {
    VRunStop reason;
    reason.kind = VRunStop::kFileException;
    reason.file = FileOf(e);
    reason.cause = e.m_cause;
    reason.osError = e.m_lOsError;
    return Stopped(reason);
  }

  // Runs a step that reads one domain and hands it over: its result; 1 when the domain is
  // passed over because it is missing or damaged; 0, which stops the run, when the storage
  // fails under it. Passing over a domain that is there but cannot be read would rebuild the
  // database without it and still report a complete run.
  // An optional domain (one a data set may simply not have) that has no file is no skip; one
  // whose file is there but misses a part is.
  template <typename Step>
  int SkippingMissing(std::uint16_t type, Step&& step, bool optional = false) {
    m_noFile = false;
    try {
      return step();
    } catch (const CFileException& e) {
      if (IsStorageFailure(e)) return StoppedByFile(e);
      if (optional && m_noFile) return 1;
      return Skipped(e, type);
    }
  }

 private:
  // Only the first reason is told: the steps that unwind after it return 0 as well.
  int Stopped(const VRunStop& reason) {
    if (!m_stopTold) Host().RunStopped(reason);
    m_stopTold = true;
    return 0;
  }

  // Raises the file exception of OpenForReading for a domain file whose headers are not sound.
  static void RequireSound(const CString& path);

  static CString FileName(const CString& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == CString::npos ? path : path.substr(separator + 1);
  }

  // The file a failure names: its own, or the domain file being read (a reader that stops
  // inside an element's bytes names none).
  CString FileOf(const CFileException& e) const {
    return e.m_strFileName.empty() ? m_reading : FileName(e.m_strFileName);
  }

  unsigned m_cancelsAtStart;
  bool m_noFile = false;  // the last OpenForReading found no file for its parcel
  bool m_stopTold = false;
  CString m_reading;  // the domain file the last OpenForReading found
};

}  // namespace morvit

#endif  // MORVIT_BACKTRANSLATE_RUNEVENTS_H
