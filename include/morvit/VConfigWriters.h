// Writers of the configuration domains that other tools produce (COIO, CODA, the BxD basic
// objects) and of the decoder tables (CbD, CbP), for clients that build a configuration data
// set in C++: tests, examples, the command-line tool. Each writer lays the content out as the
// domain's reader expects it, writes the domain's file(s) into the data-set directory of the
// host services in force, and returns one parcel per file written. Reading a written domain
// and writing it again gives the same bytes.
//
// Failures: content that does not fit its domain (a text longer than its field, an element
// or a domain longer than its 16-bit size, a wrong domain type) raises std::invalid_argument
// before any file is touched; file failures raise CFileException and leave no file of the
// domain (not even under its staging name), while an earlier file of the same name stays.
#ifndef MORVIT_VCONFIGWRITERS_H
#define MORVIT_VCONFIGWRITERS_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "morvit/VBase.h"
#include "morvit/VSectionElement.h"
#include "morvit/platform.h"

// One element of a domain section.
using VConfigElement = VSectionElement;

// COIO (type 26): the hardware-initialisation section of a node's I/O bus.
struct VCoioContent {
  std::uint16_t netStart = 0;
  std::uint16_t busNo = 0;
  std::vector<VConfigElement> hardwareInit;  // between "Config HWInitStart" and "...End"
};

struct VCodaOption {
  std::string name;     // at most 18 characters
  std::string version;  // at most 16 characters
};

// CODA (type 17): a node's configuration data. The offsets, flags and scan times are carried
// as given; "Offset to DAT" and "Offset to PARDAT" are set by the writer (the body offset of
// the block, or 0xFFFF when it is absent).
struct VCodaContent {
  std::uint16_t coloLength = 0;
  std::uint16_t coleLength = 0;
  std::uint16_t copmLength = 0;
  std::uint16_t coloInitOffset = 0;
  std::uint16_t coleInitOffset = 0;
  std::uint16_t copmInitOffset = 0;
  std::uint16_t ln700MoveOffset = 0;
  std::uint16_t dsExists = 0;
  std::uint16_t mviMoveOffset = 0;
  std::uint16_t mviExists = 0;
  std::uint16_t evsSendOffset = 0;
  std::uint16_t evsSendExists = 0;
  std::uint16_t evsTransOffset = 0;
  std::uint16_t evsTransExists = 0;
  std::uint16_t calcEventOffset = 0;
  std::uint16_t calcEventScanTime = 0;
  std::uint16_t mvbEventOffset = 0;
  std::uint16_t mvbEventScanTime = 0;
  std::string nodeName;        // at most 20 characters
  RTime initLoadDate{};        // stored in its 8-byte short form (two-digit year)
  std::string targetType;      // "Type and Version of KOR", at most 20 characters
  std::string targetCodeInfo;  // at most 8 characters
  std::vector<VCodaOption> options;
  // The nine sections, in file order.
  std::vector<VConfigElement> coloInit;
  std::vector<VConfigElement> coleInit;
  std::vector<VConfigElement> copmInit;
  std::vector<VConfigElement> ln700Move;
  std::vector<VConfigElement> mviMove;
  std::vector<VConfigElement> evsSend;
  std::vector<VConfigElement> evsTrans;
  std::vector<VConfigElement> evsCalc;
  std::vector<VConfigElement> evsMfb;
  // The DAT and PARDAT blocks: present or not, and their bodies.
  bool hasDat = false;
  std::vector<std::uint8_t> dat;
  bool hasParDat = false;
  std::vector<std::uint8_t> parDat;
};

// One program of a BxD domain, in the program slot `slot` (0 to 15) of the domain's header.
struct VBxdProgram {
  std::uint16_t slot = 0;
  std::uint16_t slotValue = 0;  // the slot word (anything but 0xFFFF, which marks a free slot)
  std::array<std::uint16_t, 4> head{};     // the four head cardinals, carried as given
  std::array<std::uint16_t, 2> trailer{};  // the 4 trailer bytes, as two cardinals
  std::vector<VConfigElement> prolog;      // "PrologStart" (604) to "PrologEnd" (648)
  std::vector<VConfigElement> sectionB;    // 448 to 456
  std::vector<VConfigElement> sectionC;    // 660 to 696
};

// BxD (types 96 to 103, from the parcel): up to 16 programs in distinct slots; the blocks are
// written in slot order.
struct VBxdContent {
  std::uint16_t headerWord = 0;   // word 0 of the header, carried as given
  std::uint16_t elementWord = 0;  // word 1: given to every section-B element on reading
  std::vector<VBxdProgram> programs;
};

// CbD (114) or CbP (115, from the parcel): element descriptions, written in byte order of their
// names over as many files as they need, then (CbP) CODA offset shifts applied in order: each
// adds `first` to the CODA byte offset of PARDAT(I), PARDATS(NI) and PARDAT(II) descriptions
// and `second` to that of PARDAT(B), PARDAT(NB), PARDATS(NB), PARDAT(IL) and PARDAT(R). The
// size field of a description is computed; names and texts are zero-terminated.
struct VCbxShift {
  std::uint16_t first = 0;
  std::uint16_t second = 0;
};
struct VCbxContent {
  std::vector<TCbxElement> elements;
  std::vector<VCbxShift> shifts;
};

// The parcel names the domain file (object number, version, time stamp, major and minor);
// its scope is taken as 0. VWriteCoio and VWriteCoda set the domain type themselves.
MORVIT_API std::vector<ObjParcelType> VWriteCoio(const ObjParcelType& parcel,
                                                 const VCoioContent& content);
MORVIT_API std::vector<ObjParcelType> VWriteCoda(const ObjParcelType& parcel,
                                                 const VCodaContent& content);
MORVIT_API std::vector<ObjParcelType> VWriteBxd(const ObjParcelType& parcel,
                                                const VBxdContent& content);
MORVIT_API std::vector<ObjParcelType> VWriteCbx(const ObjParcelType& parcel,
                                                const VCbxContent& content);

#endif  // MORVIT_VCONFIGWRITERS_H
