// Escaped literals and the data files of the site.
#include "view/SiteData.h"

#include <fstream>

#include "cli/Failure.h"
#include "cli/ToolPlatform.h"
#include "listing/ListingJson.h"

namespace morvit::tool {

void WriteSiteFile(const std::filesystem::path& file, std::string_view content) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out) throw Failure(Utf8(file) + ": cannot be written");
}

void WriteDataFile(const std::filesystem::path& site, const std::string& src,
                   const std::string& value) {
  std::string content = "MorvitSite.deliver(";
  AppendJsonString(content, src);
  content += ",";
  content += value;
  content += ");\n";
  WriteSiteFile(site / src, content);
}

}  // namespace morvit::tool
