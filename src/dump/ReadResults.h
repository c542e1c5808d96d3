// Results of reading the files the dump driver lists, as its listings show them in their
// "return from file_read" lines.
#ifndef MORVIT_DUMP_READRESULTS_H
#define MORVIT_DUMP_READRESULTS_H

namespace morvit {

// 1: read whole; kFileEndsEarly: the file ends before the length its first word announces;
// kReadFailureBase - cause: it cannot be opened or read.
inline constexpr int kReadOk = 1;
inline constexpr int kFileEndsEarly = -20;
inline constexpr int kReadFailureBase = -700;

}  // namespace morvit

#endif  // MORVIT_DUMP_READRESULTS_H
