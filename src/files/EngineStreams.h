// The compression engine's callbacks over two open files, shared by the domain file's
// compression and the plain-file compression: the engine pulls from `source` and pushes to
// `sink` through the caller context it hands back.
#ifndef MORVIT_FILES_ENGINESTREAMS_H
#define MORVIT_FILES_ENGINESTREAMS_H

#include <cstddef>

#include "files/Explode.h"
#include "files/Implode.h"
#include "morvit/platform.h"

namespace morvit::dcl {

// One work area serves both directions: the size implode needs.
constexpr std::size_t kWorkAreaSize = 36312;
static_assert(kWorkAreaSize >= kImplodeWorkSize && kWorkAreaSize >= kExplodeWorkSize);

struct EngineStreams {
  CFile& source;
  CFile& sink;
};

inline unsigned int ReadSource(char* buffer, unsigned int* size, void* param) {
  return static_cast<EngineStreams*>(param)->source.Read(buffer, *size);
}

inline void WriteSink(char* buffer, unsigned int* size, void* param) {
  static_cast<EngineStreams*>(param)->sink.Write(buffer, *size);
}

}  // namespace morvit::dcl

#endif  // MORVIT_FILES_ENGINESTREAMS_H
