// Escaped literals and the data files of the site.
#include "SiteData.h"

#include <cstdio>
#include <fstream>

#include "Failure.h"

namespace morvit::tool {

void AppendString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte > 0x7E || byte == '<' || byte == '>' || byte == '&') {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  out += '"';
}

void WriteSiteFile(const std::filesystem::path& file, std::string_view content) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out) throw Failure(file.string() + ": cannot be written");
}

void WriteDataFile(const std::filesystem::path& site, const std::string& src,
                   const std::string& value) {
  std::string content = "MorvitSite.deliver(";
  AppendString(content, src);
  content += ",";
  content += value;
  content += ");\n";
  WriteSiteFile(site / src, content);
}

}  // namespace morvit::tool
