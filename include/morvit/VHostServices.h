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
// Message: a file pattern of a node domain matched no file. Its values: the pattern, the
// directories searched (separated by spaces; empty when no search kind names a directory).
inline constexpr int kMessageNoFileMatched = 2456;
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

// Why a back-translation run stopped (its result 0).
struct VRunStop {
  enum Kind {
    kDatabaseAnswer,  // the database answered 0: `call` names the call, or is empty when the
                      // answer came while a domain was handed over (`file` names the domain)
    kCancel,          // the cancel query was answered: `file` names the domain being read
    kFileException,   // a domain that the run cannot pass over failed: `file`, `cause`, `osError`
  };
  Kind kind = kDatabaseAnswer;
  CString call;
  CString file;
  int cause = 0;      // CFileException cause
  long osError = -1;  // the system error, -1 for none
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

  // Run events of the back-translation runs, so that a client can tell what a run did. A
  // domain begun is one whose file was opened (its data-set file name and domain type); it
  // ends when its hand-over returns, whatever its result. A domain skipped is one the run
  // passes over, missing or damaged, with the file exception's cause and system error (-1 for
  // none). A run that stops tells why once, before it returns 0. The defaults do nothing;
  // the events never change the order of the database calls.
  virtual void DomainBegun(const CString& file, std::uint16_t type);
  virtual void DomainEnded(const CString& file, std::uint16_t type);
  virtual void DomainSkipped(const CString& file, std::uint16_t type, int cause, long osError);
  virtual void RunStopped(const VRunStop& reason);
};

// Host services with the directories of one data set given, whatever the environment says:
// the data-set directory, the project directory (the root of the directory kinds; the data-set
// directory when empty) and the object database's store ("objects.json" in the project
// directory when empty). A client that works on several data sets in one process installs one
// for each call or data set (SetHost) instead of changing a process-wide setting. Every other
// service is the default's.
class MORVIT_API VDataSetHost : public VHostServices {
 public:
  explicit VDataSetHost(const CString& dataDirectory, const CString& projectDirectory = CString(),
                        const CString& objectDatabase = CString());

  // The directories made absolute, each ending in '/'.
  const CString& DataDirectory() const { return m_strData; }
  const CString& ProjectDirectory() const { return m_strProject; }
  const CString& ObjectDatabase() const { return m_strObjects; }

  CString DataSetDirectory(const ObjParcelType& parcel) override;
  CString Directory(int kind) override;
  std::vector<VLibraryObject> LibraryObjects(VLibraryList list) override;

 private:
  CString m_strData;
  CString m_strProject;
  CString m_strObjects;
};

// The services in force: the installed ones, or the process-wide default.
MORVIT_API VHostServices& Host();

// Installs `host` (not owned) for every later call; null restores the default. Returns the
// host installed before (null: the default), so that installations can nest.
MORVIT_API VHostServices* SetHost(VHostServices* host);

// The default services read their settings (MORVIT_DATA_DIR, MORVIT_PROJECT_DIR,
// MORVIT_OBJECT_DATABASE) at first use; after this call they read them again at the next use,
// for a client that runs on several data sets in one process.
MORVIT_API void RereadHostSettings();

#endif  // MORVIT_VHOSTSERVICES_H
