// Compression into DCL implode streams (the encoder of the compression engine). All state lives
// in the caller's work area; input and output pass through the caller's callbacks.
#ifndef MORVIT_FILES_IMPLODE_H
#define MORVIT_FILES_IMPLODE_H

#include <cstddef>

#include "files/DclFormat.h"

namespace morvit::dcl {

// Size of the work area implode needs.
constexpr std::size_t kImplodeWorkSize = 36312;

// Compresses everything `read` delivers (asking 4096 bytes at a time, until it returns 0) into
// one complete stream with its end code, handed to `write` 2048 bytes at a time (the rest at the
// end). `*mode` is the literal mode (kBinaryMode or kAsciiMode), `*dictionarySize` 1024, 2048
// or 4096. Returns kInvalidDictionarySize or kInvalidMode (checked in that order, before any
// callback) or kOk.
int implode(ReadFunc read, WriteFunc write, char* workArea, void* param, unsigned int* mode,
            unsigned int* dictionarySize);

// Size of the work area implodeFast needs.
constexpr std::size_t kImplodeFastWorkSize = 768 * 1024;

// The library's own entry, for the domain writer: the same stream contract as implode (any
// valid stream of the input, the same chunk sizes, results and worst-case size), in a larger
// work area of kImplodeFastWorkSize bytes that holds a faster match finder.
int implodeFast(ReadFunc read, WriteFunc write, char* workArea, void* param, unsigned int* mode,
                unsigned int* dictionarySize);

}  // namespace morvit::dcl

#endif  // MORVIT_FILES_IMPLODE_H
