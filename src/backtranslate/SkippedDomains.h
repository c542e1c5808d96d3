// The domain steps of the back-translation runs that pass over a domain: which file failures
// pass a domain over and which stop the run.
#ifndef MORVIT_BACKTRANSLATE_SKIPPEDDOMAINS_H
#define MORVIT_BACKTRANSLATE_SKIPPEDDOMAINS_H

#include "files/StorageFailure.h"

// Runs a step that reads and back-translates one domain: its result; 1 when the domain is
// passed over because it is missing or damaged; 0, which stops the run, when the storage fails
// under it. Passing over a domain that is there but cannot be read would rebuild the database
// without it and still report a complete run.
template <typename Step>
int SkippingMissing(Step&& step) {
  try {
    return step();
  } catch (const CFileException& e) {
    return IsStorageFailure(e) ? 0 : 1;
  }
}

#endif  // MORVIT_BACKTRANSLATE_SKIPPEDDOMAINS_H
