// The library's numbered texts: the wording behind the text service and the message library.
#ifndef MORVIT_SUPPORT_TEXTS_H
#define MORVIT_SUPPORT_TEXTS_H

// Message: a library file of a node does not match the object database.
inline constexpr int kMessageLibraryMismatch = 2455;
// Text: the object database holds no object of the library file's name.
inline constexpr int kTextLibraryObjectMissing = 2490;

// The text with the given number, or null when the table has none.
const char* FindText(int number);

#endif  // MORVIT_SUPPORT_TEXTS_H
