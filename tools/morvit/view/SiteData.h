// The data files of the site: JavaScript that hands one value to the page that loads it
// (MorvitSite.deliver), so that the pages open from the file system, where a page may load
// scripts but not fetch files. Text from domain files and their names is written as escaped
// string literals only (AppendJsonString: plain ASCII, quotes, backslashes, control characters
// and every byte above 0x7E escaped), never as markup or code.
#ifndef MORVIT_TOOL_SITEDATA_H
#define MORVIT_TOOL_SITEDATA_H

#include <filesystem>
#include <string>
#include <string_view>

namespace morvit::tool {

// Writes SITE/SRC as a data file whose value is the JSON text `value`; SRC is the path the pages
// load it by, relative to the site's root.
void WriteDataFile(const std::filesystem::path& site, const std::string& src,
                   const std::string& value);

// Writes a file of the site; a failure to write is raised with its name.
void WriteSiteFile(const std::filesystem::path& file, std::string_view content);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_SITEDATA_H
