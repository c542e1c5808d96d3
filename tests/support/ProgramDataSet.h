// A complete PC program data set for the back-translation tests, built by the program writers
// and the C interface into the installed host's data directory: the REDE (versions 3 and 4)
// with the RELO files of both versions, per task a TADE, a PODE (task 2 with a pre-program,
// the others without) with its POLO and an older POLO, the NOBA, the REBA, a POBA per task and
// the three BOBA domains.
#ifndef MORVIT_TESTS_SUPPORT_PROGRAMDATASET_H
#define MORVIT_TESTS_SUPPORT_PROGRAMDATASET_H

#include <cstdint>
#include <string>

#include "morvit/VBase.h"

namespace testutil {

inline constexpr std::uint16_t kSampleProgram = 7;
// Versions of the files: the newest REDE and its RELO, and each task's PODE and POLO.
inline constexpr std::uint16_t kResourceVersion = 4;
inline std::uint16_t ProgramVersion(std::uint16_t task) { return 10 + task; }

// Writes the data set of program kSampleProgram with tasks 1 to `tasks`.
void WriteProgramDataSet(std::uint16_t tasks);

// The data-set name of a file of the program.
std::string ProgramFileName(std::uint16_t type, std::uint16_t scope, std::uint16_t version,
                            std::uint16_t object = kSampleProgram);

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_PROGRAMDATASET_H
