// The library's numbered texts: the wording behind the text service and the message library.
#ifndef MORVIT_SUPPORT_TEXTS_H
#define MORVIT_SUPPORT_TEXTS_H

#include "morvit/VHostServices.h"

// The text with the given number, or null when the table has none.
const char* FindText(int number);

#endif  // MORVIT_SUPPORT_TEXTS_H
