// The small stand-in for the run-time types that the library's exported classes are built on:
// CObject with runtime-class records, the buffered CFile, CMemFile and CFileException.
// Nothing here knows of domains; everything above uses these types for files and failures.
#ifndef MORVIT_PLATFORM_H
#define MORVIT_PLATFORM_H

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#if defined(_WIN32)
#if defined(MORVIT_BUILDING_LIBRARY)
#define MORVIT_API __declspec(dllexport)
#elif defined(MORVIT_STATIC)  // linked from the static archive (the library's own tests)
#define MORVIT_API
#else
#define MORVIT_API __declspec(dllimport)
#endif
#else
#define MORVIT_API __attribute__((visibility("default")))
#endif

// Texts of the interface are standard strings.
using CString = std::string;

// Runtime-class record: class name, schema number and base class. Records form a chain from
// each class to CObject, which IsKindOf walks.
struct MORVIT_API CRuntimeClass {
  const char* m_lpszClassName;
  unsigned m_wSchema;
  const CRuntimeClass* m_pBaseClass;

  bool IsDerivedFrom(const CRuntimeClass* base) const;
};

// Schema number of classes that are not stored in archives and cannot be made by name.
inline constexpr unsigned kSchemaNotCreatable = 0xFFFF;

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// In a class body: gives the class its own runtime-class record.
#define DECLARE_RUNTIME_CLASS(class_name)       \
 public:                                        \
  static const CRuntimeClass class##class_name; \
  const CRuntimeClass* GetRuntimeClass() const override;

// In the class's source file.
#define IMPLEMENT_RUNTIME_CLASS(class_name, base_name)                                   \
  const CRuntimeClass class_name::class##class_name = {#class_name, kSchemaNotCreatable, \
                                                       RUNTIME_CLASS(base_name)};        \
  const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

class MORVIT_API CObject {
 public:
  static const CRuntimeClass classCObject;

  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
  virtual ~CObject();

  virtual const CRuntimeClass* GetRuntimeClass() const;
  bool IsKindOf(const CRuntimeClass* cls) const;
};

// A failed file operation: the cause number, the operating-system error (-1 where the failure
// is the library's own finding, such as a short read) and the file's name where known.
class MORVIT_API CFileException : public std::exception {
 public:
  enum Cause : int {
    none = 0,
    genericException = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
  };

  explicit CFileException(int cause = none, long osError = -1, CString fileName = CString());
  // With the library's own reason, where it refused something itself ("the object number 150
  // does not fit a data-set name (at most 99)").
  CFileException(int cause, long osError, CString fileName, CString reason);

  // The cause that an errno value from a file or path operation stands for.
  static int OsErrorToCause(int osError);
  // The cause in words ("file not found", "end of file"); "unknown cause" for other numbers.
  static const char* GetCauseText(int cause);

  const char* what() const noexcept override;

  int m_cause;
  long m_lOsError;
  CString m_strFileName;
  CString m_strReason;  // the check that failed and why, or empty

 private:
  std::string m_message;
};

// A file exception in words for a user: "FILE: cause in words (the system's reason): the
// library's reason", the file left out when the exception names none. Every cause has its own
// wording; the system's reason is added when the exception carries a system error, the
// library's when it has one.
MORVIT_API CString DescribeFileException(const CFileException& e);

// Throws a CFileException by value.
[[noreturn]] MORVIT_API void AfxThrowFileException(int cause, long osError = -1,
                                                   const CString& fileName = CString());

// A file on disk, read and written through an internal buffer so that writing a domain value by
// value does not cost a system call per value. Paths accept '\' as a separator.
class MORVIT_API CFile : public CObject {
 public:
  enum OpenFlags : unsigned {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  enum SeekPosition : unsigned { begin = 0, current = 1, end = 2 };

  CFile();
  // Opens at once; raises CFileException on failure.
  CFile(const CString& fileName, unsigned openFlags);
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  // Closes the file if still open. Data still buffered is written; a failure of that last
  // write cannot be reported from a destructor, so callers that care call Close first.
  ~CFile() override;

  // Opens the file; on failure returns false and fills `error` when given.
  virtual bool Open(const CString& fileName, unsigned openFlags, CFileException* error = nullptr);
  // Reads up to `count` bytes; returns the count read (0 at the end of the file).
  virtual unsigned Read(void* buffer, unsigned count);
  virtual void Write(const void* buffer, unsigned count);
  // Moves the position; returns the new position. A position before the start is a bad seek.
  virtual std::int64_t Seek(std::int64_t offset, unsigned from);
  std::int64_t SeekToBegin() { return Seek(0, begin); }
  std::int64_t SeekToEnd() { return Seek(0, end); }
  virtual std::uint64_t GetLength() const;
  virtual void SetLength(std::uint64_t newLength);
  virtual std::uint64_t GetPosition() const;
  virtual void Flush();
  // Writes what is buffered and brings the file's data to stable storage.
  virtual void Sync();
  virtual void Close();
  // Closes without raising, for clean-up paths.
  virtual void Abort();
  virtual bool IsOpen() const;

  const CString& GetFilePath() const { return m_strFileName; }
  // The last component of the path.
  CString GetFileName() const;

  static void Remove(const CString& fileName);
  static void Rename(const CString& oldName, const CString& newName);
  // Brings the entries of a directory (names created, renamed, removed) to stable storage.
  static void SyncDirectory(const CString& directory);
  // The host form of a path: '\' separators turned into '/'.
  static CString HostPath(const CString& fileName);

 protected:
  CString m_strFileName;

 private:
  void FlushWrites();
  void DropReadBuffer();

  int m_fd = -1;
  std::uint64_t m_position = 0;  // logical position of the next read or write
  std::vector<unsigned char> m_buffer;
  std::uint64_t m_bufferStart = 0;  // file offset of m_buffer[0]
  std::size_t m_bufferLength = 0;   // valid bytes in m_buffer
  bool m_bufferDirty = false;       // m_buffer holds writes not yet on disk
};

// A file in memory that grows in steps of the given size; used for elements and for
// assembling data before it goes to disk.
class MORVIT_API CMemFile : public CFile {
 public:
  explicit CMemFile(unsigned growBytes = 1024);
  // A file holding a copy of the given bytes, positioned at the start.
  CMemFile(const void* data, std::size_t size, unsigned growBytes = 1024);

  bool Open(const CString& fileName, unsigned openFlags, CFileException* error = nullptr) override;
  unsigned Read(void* buffer, unsigned count) override;
  void Write(const void* buffer, unsigned count) override;
  std::int64_t Seek(std::int64_t offset, unsigned from) override;
  std::uint64_t GetLength() const override;
  void SetLength(std::uint64_t newLength) override;
  std::uint64_t GetPosition() const override;
  void Flush() override;
  void Sync() override;
  void Close() override;
  void Abort() override;
  bool IsOpen() const override;

  // The file's bytes (GetLength() of them).
  const unsigned char* Data() const { return m_data.data(); }

 private:
  void Reserve(std::size_t size);

  unsigned m_nGrowBytes;
  std::vector<unsigned char> m_data;  // capacity grows in m_nGrowBytes steps
  std::size_t m_size = 0;
  std::size_t m_position = 0;
};

#endif  // MORVIT_PLATFORM_H
