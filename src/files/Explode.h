// Expansion of DCL implode streams (the decoder of the compression engine). All state lives in
// the caller's work area; input and output pass through the caller's callbacks.
#ifndef MORVIT_FILES_EXPLODE_H
#define MORVIT_FILES_EXPLODE_H

#include <cstddef>

#include "files/DclFormat.h"

namespace morvit::dcl {

// Size of the work area explode needs.
constexpr std::size_t kExplodeWorkSize = 12596;

// Expands one stream pulled through `read` and pushes the expansion through `write`, handing on
// 4096 bytes at a time (the rest at the end). Mode and dictionary size come from the stream's
// header. Returns a ResultCode. On a damaged stream, the output decoded before the damage is
// still written, then kStreamBroken is returned.
int explode(ReadFunc read, WriteFunc write, char* workArea, void* param);

}  // namespace morvit::dcl

#endif  // MORVIT_FILES_EXPLODE_H
