// Interoperability with an independent implementation of the DCL implode format: every stream
// our encoder writes expands with the peer's decoder, and every stream the peer's encoder writes
// expands with ours, over all modes, dictionary sizes and awkward sizes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "files/Explode.h"
#include "files/Implode.h"
#include "fixtures/DclStreams.h"
#include "fixtures/SampleData.h"
#include "peer/PeerDcl.h"

namespace morvit {

namespace {

using testutil::Bytes;
using testutil::RunExplode;
using testutil::RunImplode;

// Sizes 1..3, every size from 4090 to 4102 and from 65530 to 65542.
std::vector<std::size_t> Sizes() {
  std::vector<std::size_t> sizes = {1, 2, 3, 1000};
  for (std::size_t s = 4090; s <= 4102; ++s) sizes.push_back(s);
  for (std::size_t s = 65530; s <= 65542; ++s) sizes.push_back(s);
  return sizes;
}

class PeerInterop : public testing::TestWithParam<std::tuple<unsigned, unsigned>> {};

// Our streams: from `implode` in the interface's work area and from the domain writer's
// `implodeFast`.
std::vector<Bytes> OurStreams(const Bytes& data, unsigned mode, unsigned dictionary) {
  return {RunImplode(morvit::dcl::implode, data, mode, dictionary).bytes,
          RunImplode(morvit::dcl::implodeFast, data, mode, dictionary, 0,
                     morvit::dcl::kImplodeFastWorkSize)
              .bytes};
}

void ExpectBothWays(const Bytes& data, unsigned mode, unsigned dictionary) {
  for (const Bytes& ours : OurStreams(data, mode, dictionary)) {
    const auto byPeer = RunExplode(peer::kExplode, ours, 0, peer::kWorkAreaSize);
    ASSERT_EQ(byPeer.code, 0);
    ASSERT_EQ(byPeer.bytes, data);
  }

  const auto theirs = RunImplode(peer::kImplode, data, mode, dictionary, 0, peer::kWorkAreaSize);
  ASSERT_EQ(theirs.code, 0);
  const auto byUs = RunExplode(morvit::dcl::explode, theirs.bytes);
  ASSERT_EQ(byUs.code, morvit::dcl::kOk);
  ASSERT_EQ(byUs.bytes, data);
}

TEST_P(PeerInterop, StreamsExpandBothWays) {
  const auto [mode, dictionary] = GetParam();
  for (const testutil::SampleKind& sample : testutil::kSampleKinds)
    for (std::size_t size : Sizes()) {
      SCOPED_TRACE(testing::Message() << sample.name << ", " << size << " bytes");
      ExpectBothWays(sample.make(size, static_cast<unsigned>(size)), mode, dictionary);
    }
}

// Several megabytes of each sample, in both literal modes with the largest dictionary.
TEST(PeerInterop, LargeInputs) {
  for (const testutil::SampleKind& sample : testutil::kSampleKinds)
    for (unsigned mode : {0u, 1u}) {
      SCOPED_TRACE(testing::Message() << sample.name << ", mode " << mode);
      ExpectBothWays(sample.make(3 << 20, mode), mode, 4096);
    }
}

// A real executable: this test program itself.
TEST(PeerInterop, Executable) {
  std::ifstream file("/proc/self/exe", std::ios::binary);
  const Bytes program((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_GT(program.size(), 100000u);
  for (unsigned mode : {0u, 1u}) ExpectBothWays(program, mode, 4096);
}

// The domain writer's encoder is never larger than the peer's, on every kind of sample and on
// an executable, in the domain files' binary mode with the 4096-byte dictionary.
TEST(PeerInterop, FastEntryIsNoLarger) {
  std::ifstream file("/proc/self/exe", std::ios::binary);
  const Bytes program((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::pair<std::string, Bytes>> inputs = {{"executable", program}};
  for (const testutil::SampleKind& sample : testutil::kSampleKinds)
    inputs.emplace_back(sample.name, sample.make(1 << 18, 11));
  for (const auto& [name, data] : inputs) {
    const auto ours =
        RunImplode(morvit::dcl::implodeFast, data, 0, 4096, 0, morvit::dcl::kImplodeFastWorkSize);
    const auto theirs = RunImplode(peer::kImplode, data, 0, 4096, 0, peer::kWorkAreaSize);
    EXPECT_LE(ours.bytes.size(), theirs.bytes.size()) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(AllModesAndDictionaries, PeerInterop,
                         testing::Combine(testing::Values(0u, 1u),
                                          testing::Values(1024u, 2048u, 4096u)));

// Streams arriving in small reads: ours takes the peer's one byte per read. The peer's decoder
// refuses any stream whose first read delivers 4 bytes or fewer, so it gets 5 bytes per read.
TEST(PeerInterop, ShortReads) {
  const Bytes data = testutil::SampleText(50000);
  for (const Bytes& ours : OurStreams(data, 0, 4096))
    EXPECT_EQ(RunExplode(peer::kExplode, ours, 5, peer::kWorkAreaSize).bytes, data);
  const auto theirs = RunImplode(peer::kImplode, data, 0, 4096, 0, peer::kWorkAreaSize);
  EXPECT_EQ(RunExplode(morvit::dcl::explode, theirs.bytes, 1).bytes, data);
}

// Empty data encodes as the header and the end code only, and both encoders agree on it. The
// peer's decoder refuses that 4-byte stream as too short although it is valid (its first read
// must deliver more than 4 bytes); ours expands it to nothing. So an empty input is the one
// stream of ours the peer cannot expand.
TEST(PeerInterop, EmptyStream) {
  for (unsigned mode : {0u, 1u}) {
    const auto ours = RunImplode(morvit::dcl::implode, Bytes{}, mode, 4096);
    const auto theirs = RunImplode(peer::kImplode, Bytes{}, mode, 4096, 0, peer::kWorkAreaSize);
    EXPECT_EQ(ours.bytes, (Bytes{static_cast<std::uint8_t>(mode), 0x06, 0x01, 0xFF}));
    EXPECT_EQ(theirs.bytes, ours.bytes);

    const auto byUs = RunExplode(morvit::dcl::explode, theirs.bytes);
    EXPECT_EQ(byUs.code, morvit::dcl::kOk);
    EXPECT_TRUE(byUs.bytes.empty());
    const auto byPeer = RunExplode(peer::kExplode, ours.bytes, 0, peer::kWorkAreaSize);
    EXPECT_EQ(byPeer.code, static_cast<int>(peer::kBadData));
    EXPECT_TRUE(byPeer.bytes.empty());
  }
}

}  // namespace

}  // namespace morvit
