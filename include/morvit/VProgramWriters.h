// Writers of the domains that describe a PC program: the task description (TADE), the resource
// description (REDE), the program code (PODE) and the two files that travel with them, the
// resource's RELO and each task's POLO. The controller's tools produce these domains; the
// library reads them back in the PC program back-translation. With these writers tests,
// examples and the command-line tool build a complete PC program data set.
//
// Each writer takes the parcel of the file (its type field is set to the writer's domain type),
// writes the domain into the data-set directory of the installed host services, and returns
// the parcels written (one per file, with the padded file's length). Content that does not fit
// its format (a name longer than its field, an element longer than a block can carry, an
// element that would end its section early, a section the layout has no place for) is refused
// with a CFileException of cause invalidFile and leaves no file; file failures raise the
// CFileException of the failing operation and leave no file of the domain either, while an
// earlier file of the same name stays.
#ifndef MORVIT_VPROGRAMWRITERS_H
#define MORVIT_VPROGRAMWRITERS_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "morvit/VBase.h"
#include "morvit/VSectionElement.h"
#include "morvit/platform.h"

// One element of a section.
using VProgramElement = VSectionElement;

// The 24-byte body of a TADE file (type 49, scope = the task number).
struct VTadeContent {
  std::uint16_t taskNumber = 0;
  std::uint16_t scheduling = 0;
  std::uint16_t cycleTime = 0;
  std::uint16_t placeInCTT = 0;
  std::uint16_t initialState = 0;
  std::uint16_t instanceKey = 0;
  std::uint16_t typeCode = 0;
  std::array<std::uint16_t, 5> callParameters{};
};

// A REDE file (type 33, scope 0): the 66-byte resource header and the resource-initialisation
// section (codes 536 to 544).
struct VRedeContent {
  std::uint16_t reloLength = 0;       // "Length of RELO"
  std::uint16_t offsetToIniData = 0;  // "OffsToIniDat"
  std::string resourceName;           // at most 20 characters, zero-filled
  RTime initLoadDate{};               // "REDE InitLoadDate", stored in its 8-byte short form
  std::uint16_t programNumber = 0;    // "PGMNumber"
  std::uint16_t preProgramFlag = 0;   // "PreProFlag"
  std::string secondName;             // the second "ResourceName" field, at most 20 characters
  std::vector<std::uint8_t> trailer;  // the last ten header bytes, at most 10, zero-filled
  std::vector<VProgramElement> initElements;
};

// A PODE file (type 65, scope = the task number): the 24-byte program header and the sections.
// "OffsetToPreProg" 0xFFFF means the program has no pre-program: the file then holds section0
// after the prolog, otherwise preProgram after record576 and section652 after the prolog.
struct VPodeContent {
  static constexpr std::uint16_t kNoPreProgram = 0xFFFF;

  std::uint16_t length = 0;
  std::uint16_t offsetToProgInit = 0;
  std::uint16_t programNumber = 0;
  std::uint16_t kindOfProgram = 0;
  std::uint16_t offsetToProgVar = 0;
  std::uint16_t offsetToProgStart = 0;
  std::uint16_t offsetToPreProg = kNoPreProgram;
  std::uint16_t offsetToProlog = 0;
  std::uint16_t offsetToOrders = 0;
  std::uint16_t offsetToEpilog = 0;
  std::uint16_t offsetToProgEnd = 0;
  std::uint16_t offsetToExtension = 0;

  std::vector<VProgramElement> programInit;  // codes 568 to 572
  std::vector<std::uint8_t> record576;       // the single record 576's bytes
  std::vector<VProgramElement> preProgram;   // codes 580 to 600, with a pre-program only
  std::vector<VProgramElement> prolog;       // codes 604 to 648
  std::vector<VProgramElement> section652;   // codes 652 to 656, with a pre-program only
  std::vector<VProgramElement> section0;     // codes 0 to 4, without a pre-program only
  std::vector<VProgramElement> section660;   // codes 660 to 696
  std::vector<std::uint8_t> record700;       // the single closing record 700's bytes
};

MORVIT_API std::vector<ObjParcelType> VWriteTade(const ObjParcelType& parcel,
                                                 const VTadeContent& content);
MORVIT_API std::vector<ObjParcelType> VWriteRede(const ObjParcelType& parcel,
                                                 const VRedeContent& content);
MORVIT_API std::vector<ObjParcelType> VWritePode(const ObjParcelType& parcel,
                                                 const VPodeContent& content);

// RELO (type 35, scope 0, the REDE file's version) and POLO (type 67, scope = the task number,
// the task's PODE file's version) are load files that the library only removes: written here
// as the common header followed by `body` unchanged.
MORVIT_API std::vector<ObjParcelType> VWriteRelo(const ObjParcelType& parcel,
                                                 const std::vector<std::uint8_t>& body);
MORVIT_API std::vector<ObjParcelType> VWritePolo(const ObjParcelType& parcel,
                                                 const std::vector<std::uint8_t>& body);

#endif  // MORVIT_VPROGRAMWRITERS_H
