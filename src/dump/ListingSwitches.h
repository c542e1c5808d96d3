// The two process-wide switches of the listing dump, set through the exported interface.
#ifndef MORVIT_DUMP_LISTINGSWITCHES_H
#define MORVIT_DUMP_LISTINGSWITCHES_H

namespace morvit {

struct ListingSwitches {
  // Time-stamp values of a listing are printed as zero, so listings compare equal.
  bool suppressTimes = false;
  // Every word line starts with its position, right-aligned in 5 columns, and a colon.
  bool lineNumbers = true;
};

// The one instance for the process; unguarded, for one caller at a time.
ListingSwitches& GetListingSwitches();

}  // namespace morvit

#endif  // MORVIT_DUMP_LISTINGSWITCHES_H
