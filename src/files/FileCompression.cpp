// Plain-file implode and explode: the engine run between two files, the output written to a
// temporary sibling and renamed in place only after a complete, successful pass.
#include <vector>

#include "files/EngineStreams.h"
#include "morvit/VFileCompression.h"

namespace morvit {

static_assert(kCompressOk == dcl::kOk && kCompressBadDictionary == dcl::kInvalidDictionarySize &&
              kCompressBadMode == dcl::kInvalidMode && kCompressTooShort == dcl::kStreamTooShort &&
              kCompressBroken == dcl::kStreamBroken);

namespace {

using dcl::EngineStreams;

// The temporary sibling that holds the output until it is complete.
CString PartialName(const CString& output) { return output + ".partial"; }

void RemoveQuietly(const CString& path) {
  try {
    CFile::Remove(path);
  } catch (const CFileException&) {
    // Already gone: nothing to clean up.
  }
}

// Runs `pass` from `input` into a temporary sibling of `output`; renames it into place on
// success and removes it otherwise (also when a file failure is raised).
template <typename Pass>
int RunBetweenFiles(const CString& input, const CString& output, Pass&& pass) {
  CFile source(input, CFile::modeRead | CFile::typeBinary);
  const CString partial = PartialName(output);
  CFile sink(partial, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
  std::vector<char> workArea(dcl::kWorkAreaSize, 0);
  EngineStreams streams{source, sink};
  int result = dcl::kOk;
  try {
    result = pass(streams, workArea.data());
    sink.Close();
  } catch (const CFileException&) {
    sink.Abort();
    RemoveQuietly(partial);
    throw;
  }
  if (result != dcl::kOk) {
    RemoveQuietly(partial);
    return result;
  }
  CFile::Rename(partial, output);
  return result;
}

}  // namespace

int ImplodeFile(const CString& input, const CString& output, unsigned mode,
                unsigned dictionarySize) {
  // Checked before any file is touched, as the engine itself does before its first callback.
  if (dictionarySize != 1024 && dictionarySize != 2048 && dictionarySize != 4096) {
    return kCompressBadDictionary;
  }
  if (mode != dcl::kBinaryMode && mode != dcl::kAsciiMode) return kCompressBadMode;
  return RunBetweenFiles(input, output, [&](EngineStreams& streams, char* workArea) {
    return dcl::implode(dcl::ReadSource, dcl::WriteSink, workArea, &streams, &mode,
                        &dictionarySize);
  });
}

int ExplodeFile(const CString& input, const CString& output) {
  return RunBetweenFiles(input, output, [](EngineStreams& streams, char* workArea) {
    return dcl::explode(dcl::ReadSource, dcl::WriteSink, workArea, &streams);
  });
}

const char* CompressResultText(int result) {
  switch (result) {
    case kCompressOk:
      return "success";
    case kCompressBadDictionary:
      return "dictionary size not 1024, 2048 or 4096";
    case kCompressBadMode:
      return "literal mode not binary or ASCII";
    case kCompressTooShort:
      return "too short for a compressed stream";
    case kCompressBroken:
      return "compressed stream damaged or cut short";
    default:
      return "unknown compression result";
  }
}

}  // namespace morvit
