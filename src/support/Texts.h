// The library's numbered texts: the wording behind the text service and the message library.
#ifndef MORVIT_SUPPORT_TEXTS_H
#define MORVIT_SUPPORT_TEXTS_H

#include "morvit/VHostServices.h"

namespace morvit {

// The text with the given number, or null when the table has none.
const char* FindText(int number);

}  // namespace morvit

#endif  // MORVIT_SUPPORT_TEXTS_H
