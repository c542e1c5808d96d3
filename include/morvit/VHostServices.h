// The host-services seam: everything the library needs of the engineering tool's support
// libraries (data-set naming, the user-interface channel, texts, messages, the directory of
// each kind, the object database) behind one interface. A process-wide default serves unless a
// client installs its own; every operation a client leaves alone keeps the default behaviour
// (settings from the environment, no window, messages on standard error).
#ifndef MORVIT_VHOSTSERVICES_H
#define MORVIT_VHOSTSERVICES_H

#include <cstdint>
#include <variant>
#include <vector>

#include "morvit/VBase.h"
#include "morvit/platform.h"

// Message numbers of the user-interface channel.
inline constexpr int kMessageProgress = 1065;     // integer: percentage; text: domain file name
inline constexpr int kMessageCancelQuery = 1064;  // non-zero answer: the user cancelled

// Message: a library file of a node does not match the object database. Its values: the
// node file's name, its text, its version, the object's description (or text 2490), the
// object's version (0 when there is no object).
inline constexpr int kMessageLibraryMismatch = 2455;
// Text: the object database holds no object of the library file's name.
inline constexpr int kTextLibraryObjectMissing = 2490;

// Directory kinds of the files of a controller node; any other number has no directory.
enum VDirectoryKind : int {
  kDirectoryTool = 1,            // the engineering tool's directory
  kDirectoryToolPc = 2,          // the tool's PC directory
  kDirectoryToolDatabase = 3,    // the tool's database directory
  kDirectoryTcData = 4,          // sub-directory "TCDATA"
  kDirectoryDbData = 5,          // sub-directory "DBDATA"
  kDirectoryPcData = 6,          // sub-directory "PCDATA"
  kDirectoryControl = 7,         // sub-directory "CONTROL"
  kDirectoryMode = 8,            // the mode directory
  kDirectoryProject = 9,         // the project directory
  kDirectoryEnvironment = 10,    // the environment directory
  kDirectorySourceLibrary = 11,  // sub-directory "LIBDATA", then "SRC_LIB"
  kDirectoryToolSource = 12,     // the tool's source directory
};

// The library file lists of the object database.
enum class VLibraryList { kPcLibraries, kDatabaseLibraries, kTargetOptions };

// One object of a library file list.
struct VLibraryObject {
  CString name;
  CString description;  // at most 16 characters are used
  std::uint32_t version = 0;
};

// One value inserted into a numbered message: a text or a number.
using VMessageValue = std::variant<CString, std::int64_t>;

class MORVIT_API VHostServices {
 public:
  VHostServices() = default;
  VHostServices(const VHostServices&) = default;
  VHostServices& operator=(const VHostServices&) = default;
  virtual ~VHostServices();

  // Controller types library: the directory that holds the parcel's domain files, ending in a
  // path separator, and the parcel's 12-character 8.3 data-set name with wildcards in the
  // places of open fields. Both receive a parcel whose byte 3 is 'M'.
  virtual CString DataSetDirectory(const ObjParcelType& parcel);
  virtual CString DataSetName(const ObjParcelType& parcel);

  // User-interface channel: send a numbered message with an integer and a text (progress 1065,
  // cancel query 1064); run the message pump once.
  virtual int SendMessageToUI(int number, int value, const CString& text);
  virtual void PumpMessages();

  // Text service: the text with the given number (empty when there is none).
  virtual CString GetText(int number);

  // Message library: a numbered message to the user, with an inserted text.
  virtual void ShowMessage(int number, const CString& text);
  // Message library: a numbered message with its values. Unless overridden, the values are
  // joined by ", " (numbers in decimal) and shown through ShowMessage.
  virtual void WriteMessage(int number, const std::vector<VMessageValue>& values);

  // Directory library: the directory of a kind (VDirectoryKind), ending in a path separator;
  // empty for a number that is no kind.
  virtual CString Directory(int kind);

  // Object database library: the objects of a library file list, in the database's order.
  virtual std::vector<VLibraryObject> LibraryObjects(VLibraryList list);
};

// The services in force: the installed ones, or the process-wide default.
MORVIT_API VHostServices& Host();

// Installs `host` (not owned) for every later call; null restores the default. Returns the
// host installed before (null: the default), so that installations can nest.
MORVIT_API VHostServices* SetHost(VHostServices* host);

#endif  // MORVIT_VHOSTSERVICES_H
