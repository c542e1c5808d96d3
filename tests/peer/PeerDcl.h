// The independent DCL implode/explode pair of Debian's libstorm, used as a peer in tests and
// benchmarks only. Its header does not declare these C functions; they share our callback
// interface. Its work areas hold host pointers, so on 64-bit hosts they are larger than the
// format's 36312 and 12596 bytes: callers give it kWorkAreaSize.
#ifndef MORVIT_TESTS_PEER_PEERDCL_H
#define MORVIT_TESTS_PEER_PEERDCL_H

#include <cstddef>

extern "C" {
unsigned int implode(unsigned int (*read)(char*, unsigned int*, void*),
                     void (*write)(char*, unsigned int*, void*), char* workArea, void* param,
                     unsigned int* mode, unsigned int* dictionarySize);
unsigned int explode(unsigned int (*read)(char*, unsigned int*, void*),
                     void (*write)(char*, unsigned int*, void*), char* workArea, void* param);
}

namespace morvit {

namespace peer {
inline constexpr auto* kImplode = &::implode;
inline constexpr auto* kExplode = &::explode;
inline constexpr std::size_t kWorkAreaSize = 65536;
// The peer's code for a stream it refuses as too short.
inline constexpr unsigned kBadData = 3;
}  // namespace peer

}  // namespace morvit

#endif  // MORVIT_TESTS_PEER_PEERDCL_H
