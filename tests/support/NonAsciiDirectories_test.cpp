// Library paths are UTF-8 on every host: a data directory whose name is not ASCII takes the
// domain files the default host puts there, and they read back through the domain classes.
#include <gtest/gtest.h>

#include <filesystem>

#include "domains/VDomain.h"
#include "fixtures/DomainBuilders.h"
#include "fixtures/FakeHost.h"
#include "interface/DomainTable.h"
#include "morvit/VBase.h"
#include "support/DefaultHost.h"

namespace morvit {

using namespace testutil;
namespace fs = std::filesystem;

namespace {

fs::path FromUtf8(const std::string& text) {
  return fs::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

TEST(NonAsciiDataDirectory, DomainsAreWrittenThereAndReadBack) {
  for (const std::string name :
       {"daten-\xC3\xBC", "\xD0\xB4\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5"}) {
    SCOPED_TRACE(name);
    ScratchDir scratch;
    const fs::path directory = scratch.path() / FromUtf8(name);
    fs::create_directory(directory);
    DefaultHost host;
    host.SetDataDirectory(Utf8(directory));
    ScopedHost scoped(host);

    const Generation g = GenerateThroughC(3, {});
    ASSERT_EQ(g.finishStatus, VBASE_STATUS_OK);
    std::vector<fs::path> files{fs::directory_iterator(directory), fs::directory_iterator()};
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(fs::file_size(files[0]) % 1024, 0u);

    RecordingDatabase database;
    const auto domain = CreateDomainForType(3);
    domain->OpenDomain(TestParcel(3), &database, 0);
    domain->ReadDomain();
    EXPECT_EQ(domain->Backtranslate(), 1);
  }
}

}  // namespace

}  // namespace morvit
