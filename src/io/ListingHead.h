// The wording of listing heads shared by the class listings and the dump driver.
#ifndef MORVIT_IO_LISTINGHEAD_H
#define MORVIT_IO_LISTINGHEAD_H

#include <string_view>

namespace morvit {

// The label of the head line that names the listed data set, kept to the letter: listings are
// compared with those of the controller's own tools.
inline constexpr std::string_view kDataSetLabel = "DataSet Specification: ";

}  // namespace morvit

#endif  // MORVIT_IO_LISTINGHEAD_H
