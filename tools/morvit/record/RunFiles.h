// The domain files a back-translation run will read, counted ahead from the data-set directory
// so that its progress bar can show "file N of M".
#ifndef MORVIT_TOOL_RUNFILES_H
#define MORVIT_TOOL_RUNFILES_H

#include <cstddef>
#include <filesystem>
#include <string>

namespace morvit::tool {

// The count for run `run` ("node", "db" or "pc") in `directory`: one per domain the run reads
// (its newest version), by the data-set names there. A domain's further part and
// continuation files are not counted: the run reports progress once per domain. An estimate:
// the run may stop early or pass over a damaged domain.
std::size_t CountRunFiles(const std::string& run, const std::filesystem::path& directory);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_RUNFILES_H
