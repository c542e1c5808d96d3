// The state of every file of a data set, read the way the back-translation runs read them: the
// check behind `morvit check` (and any view that shows whether a file reads cleanly).
#ifndef MORVIT_TOOL_DATASETCHECK_H
#define MORVIT_TOOL_DATASETCHECK_H

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace morvit::tool {

struct FileState {
  enum Kind {
    kClean,       // a domain file that reads cleanly, its parts and expansion too
    kDamaged,     // a domain file that cannot be read
    kIncomplete,  // a domain file one of whose part files is missing
    kStaging,     // a staging file left by a generation that did not finish
    kOrphan,      // an `X` or `Z` sibling without its domain file
  };
  std::string file;  // the file's name in the data set
  Kind kind = kClean;
  std::string text;  // what is wrong, in words (empty for kClean)
};

// The words for a kind ("damaged", "incomplete", ...).
const char* KindName(FileState::Kind kind);

// Checks the data set in `directory` on a private view (the data set stays as it is): one entry
// per domain file, staging file and `X`/`Z` sibling, in name order. Listings and other files are
// not looked at.
std::vector<FileState> CheckDataSet(const std::filesystem::path& directory);

// What `morvit check` finds wrong with the files of `directory`, by file name, in words.
std::map<std::string, std::string> CheckFindings(const std::filesystem::path& directory);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_DATASETCHECK_H
