// The compression engine on plain files: one file imploded into a DCL implode stream, or a
// stream exploded back, for clients such as the command-line tool. The output appears under
// its name only when complete: it is written to a temporary sibling first and renamed.
#ifndef MORVIT_VFILECOMPRESSION_H
#define MORVIT_VFILECOMPRESSION_H

#include "morvit/platform.h"

namespace morvit {

// Results of the engine, as the file functions return them.
inline constexpr int kCompressOk = 0;
inline constexpr int kCompressBadDictionary = 1;  // implode: size not 1024/2048/4096;
                                                  // explode: size code not 4 to 6
inline constexpr int kCompressBadMode = 2;        // literal mode not 0 (binary) or 1 (ASCII)
inline constexpr int kCompressTooShort = 3;       // explode: too short for a header and an end code
inline constexpr int kCompressBroken = 4;         // explode: the stream is cut short or damaged

// Compresses the file `input` into `output` with literal mode `mode` (0 binary, 1 ASCII) and
// a dictionary of `dictionarySize` bytes. Returns a result above; a bad mode or size writes
// nothing. File failures raise CFileException (with the file's name).
MORVIT_API int ImplodeFile(const CString& input, const CString& output, unsigned mode,
                           unsigned dictionarySize);

// Expands the stream in `input` into `output`. Returns a result above; on any result but
// kCompressOk no output file is left. File failures raise CFileException.
MORVIT_API int ExplodeFile(const CString& input, const CString& output);

// The meaning of a result in words.
MORVIT_API const char* CompressResultText(int result);

}  // namespace morvit

#endif  // MORVIT_VFILECOMPRESSION_H
