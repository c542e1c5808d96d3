// VDomainFile::Compress and Uncompress: the domain file run through the implode engine into its
// Z sibling, and a Z file expanded into its X sibling; other methods only move the file.
#include <functional>
#include <memory>

#include "files/EngineStreams.h"
#include "files/StorageFailure.h"
#include "files/VCompressHeader.h"
#include "morvit/VDomainFile.h"

using namespace morvit;

namespace morvit {
namespace {

using morvit::dcl::EngineStreams;
using morvit::dcl::ReadSource;
using morvit::dcl::WriteSink;

// Work areas: expansion takes the interface's 36312 bytes; compression gives the encoder the
// larger area of its fast entry (no need to clear it: the encoder sets up what it reads).
constexpr std::size_t kExpandWorkSize = 36312;
static_assert(kExpandWorkSize >= morvit::dcl::kExplodeWorkSize);
constexpr std::size_t kCompressWorkSize = morvit::dcl::kImplodeFastWorkSize;
constexpr unsigned kDictionarySize = 4096;

void RemoveIfPresent(const CString& path) {
  try {
    CFile::Remove(path);
  } catch (const CFileException&) {
    // Nothing to delete, or it cannot be deleted: creating the file below truncates it anyway.
  }
}

// Runs one engine pass over the streams in a work area; returns the engine's result.
using EnginePass = std::function<int(EngineStreams& streams, char* workArea)>;

// Puts the content of the open `source` (at `sourcePath`) into `target`: through `engine` for
// the implode method, by renaming for any other. The source ends closed and gone. An engine
// result other than success raises end-of-file and leaves no target.
void ConvertInto(CFile& source, const CString& sourcePath, const CString& target,
                 std::uint16_t method, std::size_t workSize, const EnginePass& engine) {
  source.SeekToBegin();
  RemoveIfPresent(target);
  if (method != VCompressHeader::kImplode) {
    source.Close();
    CFile::Rename(sourcePath, target);
    return;
  }
  const auto workArea = std::make_unique_for_overwrite<char[]>(workSize);
  CFile sink;
  CFileException error;
  if (!sink.Open(target, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary, &error)) {
    throw error;
  }
  // A failed read or write inside the engine leaves no half-made target behind.
  int result = morvit::dcl::kOk;
  try {
    EngineStreams streams{source, sink};
    result = engine(streams, workArea.get());
    sink.Close();
  } catch (...) {
    sink.Abort();
    RemoveIfPresent(target);
    throw;
  }
  if (result != morvit::dcl::kOk) {
    RemoveIfPresent(target);
    AfxThrowFileException(CFileException::endOfFile, -1, sourcePath);
  }
  source.Close();
  CFile::Remove(sourcePath);
}

// Opens the converted file for the domain to go on with; file-not-found if it cannot be opened,
// with the system's error.
void OpenConverted(CFile& file, const CString& path) {
  CFileException error;
  if (!file.Open(path, CFile::modeReadWrite | CFile::typeBinary, &error)) {
    AfxThrowFileException(CFileException::fileNotFound, OpenError(error), path);
  }
}

}  // namespace
}  // namespace morvit

void VDomainFile::Compress(std::uint16_t method) {
  const CString target = GetPath(fileCompressed);
  ConvertInto(*this, m_strPath, target, method, kCompressWorkSize,
              [](EngineStreams& streams, char* workArea) {
                unsigned int mode = morvit::dcl::kBinaryMode;
                unsigned int dictionarySize = kDictionarySize;
                return morvit::dcl::implodeFast(ReadSource, WriteSink, workArea, &streams, &mode,
                                                &dictionarySize);
              });
  m_strPath = target;
  OpenConverted(*this, m_strPath);
}

// An expansion that the engine reports as broken (a stream cut short or damaged) raises the
// end-of-file failure and leaves no X file: handing a short expansion to the domain's reader
// would pass damage off as a smaller domain.
void VDomainFile::Uncompress(std::uint16_t method) {
  const CString target = GetPath(fileExpanded);
  ConvertInto(*this, m_strPath, target, method, kExpandWorkSize,
              [](EngineStreams& streams, char* workArea) {
                return morvit::dcl::explode(ReadSource, WriteSink, workArea, &streams);
              });
  m_strPath = target;
  OpenConverted(*this, m_strPath);
}
