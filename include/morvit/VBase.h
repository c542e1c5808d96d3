/* The library's C interface: the records shared with clients and every VBase_ export.
 *
 * Conventions: a client creates a manager, starts a domain of a type for a parcel, inserts
 * section records into it and finishes it; every status-returning function gives 1 for success
 * and a negative 16-bit status on failure. No exception ever leaves these functions. Records
 * are in host byte order; domain files themselves are written most significant byte first.
 * Plain C99; compiles as C++ too. */
#ifndef MORVIT_VBASE_H
#define MORVIT_VBASE_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(MORVIT_BUILDING_LIBRARY)
#define VBASE_API __declspec(dllexport)
#elif defined(MORVIT_STATIC)  // linked from the static archive (the library's own tests)
#define VBASE_API
#else
#define VBASE_API __declspec(dllimport)
#endif
#else
#define VBASE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define VBASE_STATIC_ASSERT(cond, name) static_assert(cond, #name)
#else
#define VBASE_STATIC_ASSERT(cond, name) typedef char vbase_assert_##name[(cond) ? 1 : -1]
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Open-field markers of a parcel: 0xFFFE in the object number or version, 254 in the domain
 * type or scope, mean "any". */
#define VBASE_ANY_WORD 0xFFFEu
#define VBASE_ANY_TYPE 254u

/* Status values of the generation entries. VBASE_STATUS_GENERIC_BASE - t is returned by
 * VBase_PutFinishEx for a generic failure, t being the domain type of the first parcel. */
#define VBASE_STATUS_OK 1
#define VBASE_STATUS_FILE_FAILURE (-706)
#define VBASE_STATUS_BAD_PATH (-701)
#define VBASE_STATUS_FILE_NOT_FOUND (-702)
#define VBASE_STATUS_ACCESS_DENIED (-703)
#define VBASE_STATUS_DIRECTORY_FULL (-705)
#define VBASE_STATUS_END_OF_FILE (-708)
#define VBASE_STATUS_GENERIC_BASE (-100)

/* A status value of the generation entries in words ("access denied: a file or the data-set
 * directory cannot be written"); every value below VBASE_STATUS_GENERIC_BASE down to -355 is the
 * generic failure of a domain type. The text is static and never null. */
VBASE_API const char* VBase_StatusText(int16_t status);

/* Identity of a domain file (32 bytes). */
typedef struct ObjParcelType {
  uint16_t objectNumber; /*  0: 0xFFFE = any */
  uint8_t classLetter;   /*  2: 'C' for parcels built by the library */
  uint8_t lookupMark;    /*  3: 0; the name lookups receive 'M' here */
  uint16_t domainType;   /*  4: domain type number; 254 = any */
  uint16_t scope;        /*  6: continuation number within the domain; 254 = any */
  uint16_t version;      /*  8: 0xFFFE = any (newest) */
  uint16_t reserved;     /* 10 */
  uint16_t length;       /* 12: length of a written domain file (modulo 65536) */
  uint16_t timeStamp[7]; /* 14: year (two digits), month, day, hour, minute, second, ms */
  uint16_t majorVersion; /* 28 */
  uint16_t minorVersion; /* 30 */
} ObjParcelType;

/* A section record handed to VBase_Insert (512 bytes): the kind, then the kind's payload from
 * byte 8. Which kinds a domain type takes, and where their fields lie, is the type's matter. */
typedef struct TSectionInfo {
  int32_t kind;
  uint8_t reserved[4];
  uint8_t payload[504];
} TSectionInfo;

/* Move-block record (28 bytes). */
typedef struct TMoveBlock {
  int32_t value;             /*  0: filed with the signature */
  uint16_t functionBlockKey; /* 4 */
  int16_t extraValue;        /*  6: filed with the signature */
  uint16_t firstList[4];     /*  8: first firstCount values are part of the signature */
  uint16_t secondList[2];    /* 16: first secondCount values are part of the signature */
  uint16_t firstCount;       /* 20: at most 4 */
  uint16_t secondCount;      /* 22: at most 2 */
  int16_t shapeValue;        /* 24 */
  uint16_t lastValue;        /* 26: its low byte ends the signature */
} TMoveBlock;

/* A typed terminal value (72 bytes). Type codes: 0 boolean, 1 integer, 2 long integer,
 * 3 real (a double), 4 and 6 string, 5 cardinal. */
typedef struct TBATerminal {
  uint16_t objectNumber; /*  0 */
  uint16_t reserved0;
  int32_t typeCode; /*  4 */
  union {
    uint8_t bytes[56];
    double real;
  } value;         /*  8 */
  uint16_t length; /* 64 */
  uint8_t reserved1[6];
} TBATerminal;

/* Date-time of the base run time: year, month, day, hour, minute, second, millisecond. */
typedef struct RTime {
  uint16_t year;
  uint16_t month;
  uint16_t day;
  uint16_t hour;
  uint16_t minute;
  uint16_t second;
  uint16_t millisecond;
} RTime;

/* Object identifier of a domain: its parcel's type, scope and version. */
typedef struct ObjId {
  uint16_t domainType;
  uint16_t scope;
  uint16_t version;
} ObjId;

/* Time stamp of a domain: the seven time-stamp words of its parcel. */
typedef struct Era {
  uint16_t words[7];
} Era;

/* Element description of the decoder-table domains (88 bytes). */
typedef struct TCbxElement {
  int32_t typeIndex;       /*  0: row of the element-type table */
  uint16_t sizeOfFB;       /*  4: size of the description in the file */
  uint16_t nameLength;     /*  6 */
  char name[21];           /*  8: zero-terminated */
  char enumText[2][21];    /* 29: zero-terminated */
  uint8_t padding;         /* 71 */
  uint16_t byteOffsetCOLO; /* 72 */
  uint16_t bitOffsetCOLO;  /* 74 */
  uint16_t byteOffsetCOLE; /* 76 */
  uint16_t bitOffsetCOLE;  /* 78 */
  uint16_t byteOffsetCOPM; /* 80 */
  uint16_t bitOffsetCOPM;  /* 82 */
  uint16_t byteOffsetCODA; /* 84 */
  uint16_t bitOffsetCODA;  /* 86 */
} TCbxElement;

VBASE_STATIC_ASSERT(sizeof(ObjParcelType) == 32, parcel_size);
VBASE_STATIC_ASSERT(offsetof(ObjParcelType, domainType) == 4, parcel_type_at_4);
VBASE_STATIC_ASSERT(offsetof(ObjParcelType, version) == 8, parcel_version_at_8);
VBASE_STATIC_ASSERT(offsetof(ObjParcelType, length) == 12, parcel_length_at_12);
VBASE_STATIC_ASSERT(offsetof(ObjParcelType, timeStamp) == 14, parcel_time_at_14);
VBASE_STATIC_ASSERT(offsetof(ObjParcelType, majorVersion) == 28, parcel_major_at_28);
VBASE_STATIC_ASSERT(sizeof(TSectionInfo) == 512, section_size);
VBASE_STATIC_ASSERT(offsetof(TSectionInfo, payload) == 8, section_payload_at_8);
VBASE_STATIC_ASSERT(sizeof(TMoveBlock) == 28, move_block_size);
VBASE_STATIC_ASSERT(offsetof(TMoveBlock, extraValue) == 6, move_block_extra_at_6);
VBASE_STATIC_ASSERT(offsetof(TMoveBlock, firstList) == 8, move_block_first_at_8);
VBASE_STATIC_ASSERT(offsetof(TMoveBlock, secondList) == 16, move_block_second_at_16);
VBASE_STATIC_ASSERT(offsetof(TMoveBlock, firstCount) == 20, move_block_counts_at_20);
VBASE_STATIC_ASSERT(offsetof(TMoveBlock, shapeValue) == 24, move_block_shape_at_24);
VBASE_STATIC_ASSERT(offsetof(TMoveBlock, lastValue) == 26, move_block_last_at_26);
VBASE_STATIC_ASSERT(sizeof(TBATerminal) == 72, terminal_size);
VBASE_STATIC_ASSERT(offsetof(TBATerminal, typeCode) == 4, terminal_code_at_4);
VBASE_STATIC_ASSERT(offsetof(TBATerminal, value) == 8, terminal_value_at_8);
VBASE_STATIC_ASSERT(offsetof(TBATerminal, length) == 64, terminal_length_at_64);
VBASE_STATIC_ASSERT(sizeof(RTime) == 14, rtime_size);
VBASE_STATIC_ASSERT(sizeof(ObjId) == 6, objid_size);
VBASE_STATIC_ASSERT(sizeof(Era) == 14, era_size);
VBASE_STATIC_ASSERT(sizeof(TCbxElement) == 88, cbx_size);
VBASE_STATIC_ASSERT(offsetof(TCbxElement, name) == 8, cbx_name_at_8);
VBASE_STATIC_ASSERT(offsetof(TCbxElement, enumText) == 29, cbx_enum_at_29);
VBASE_STATIC_ASSERT(offsetof(TCbxElement, byteOffsetCOLO) == 72, cbx_offsets_at_72);
VBASE_STATIC_ASSERT(offsetof(TCbxElement, bitOffsetCODA) == 86, cbx_last_at_86);

/* The domain manager; opaque to C clients. */
#ifdef __cplusplus
class VManager;
#else
typedef struct VManager VManager;
#endif

/* Module initialisation entry; does nothing. */
VBASE_API void VBase_Body(void);

/* Creates a manager without a database; null if it cannot be allocated. */
VBASE_API VManager* VBase_CreateManager(void);

/* Destroys *manager (removing the files of domains still open) and sets *manager to null. */
VBASE_API void VBase_DeleteManager(VManager** manager);

/* Starts a domain of `type` for `parcel` unless one of that type is open; a type without a
 * domain class starts nothing. Status 1 or -706. VBase_PutStartEx is the same. */
VBASE_API int16_t VBase_PutStart(VManager* manager, uint16_t type, ObjParcelType parcel);
VBASE_API int16_t VBase_PutStartEx(VManager* manager, uint16_t type, ObjParcelType parcel);

/* Hands a section record to the open domain of `type`. Status 1 or -706. */
VBASE_API int16_t VBase_Insert(VManager* manager, uint16_t type, TSectionInfo* section);

/* Finishes the domain of `type`: writes, closes and frees it, filling up to two parcels of
 * `parcels`. Status 1 or -706. */
VBASE_API int16_t VBase_PutFinish(VManager* manager, uint16_t type, ObjParcelType* parcels);

/* Finishes the domain of `type`, writing one parcel per domain file into parcels[0] to
 * parcels[highestIndex]. On return *parcelCount holds the number of parcels written. Status 1,
 * or the failure's status: -701 bad path, -702 file not found, -703 access denied, -705
 * directory full, -708 end of file, -100 - t for a generic failure (t: the domain type of
 * parcels[0]; this is how a full parcel array is reported), -706 otherwise. */
VBASE_API int16_t VBase_PutFinishEx(VManager* manager, uint16_t type, uint16_t* parcelCount,
                                    uint16_t highestIndex, ObjParcelType* parcels);

/* The specific reason of the last failed generation step on `manager` (VBase_PutStart(Ex),
 * VBase_Insert, VBase_PutFinish(Ex)), in words for a user: the step and domain type, the file,
 * and the system's reason or the check of the library that refused it, for example "start of
 * a domain of type 3: bad path (...): the object number 150 does not fit a data-set name (at
 * most 99)". The status codes stay as they are; this only explains them. An empty text when
 * the last step succeeded. The text belongs to the manager and stays valid until its next
 * step; a null manager gives a text that says so. */
VBASE_API const char* VBase_GetLastFailure(const VManager* manager);

/* Writes a text listing of the domain file named by the first `length` characters of `name`
 * (not necessarily terminated; bytes beyond `length` are never read) beside it: through the
 * domain's class for the types that list themselves, else by the generic dump driver. Always 1,
 * whether or not a listing could be written. */
VBASE_API int16_t VBase_DumpDomain(uint16_t length, const char* name);

/* Listing switches for the dump: a zero flag prints time stamps as zero; line numbering puts
 * the position in front of every word line (on at load). */
VBASE_API void VBase_EnableTimeOutput(uint8_t flag);
VBASE_API void VBase_EnableLineNumbers(uint8_t flag);

/* Move-block registry of the code generator. A signature is built from a TMoveBlock: a length
 * byte L = 2*firstCount + 2*secondCount + 4, the function-block key, the first firstCount values
 * of firstList, the first secondCount values of secondList and the low byte of lastValue, all as
 * they lie in the record. Results are 16-bit: 1 found, -1 (0xFFFF) not found. */

/* Non-zero: accept records, starting with an empty registry. Zero: free every stored record.
 * The function-block shapes are kept either way. */
VBASE_API void VBase_ActivateMoveBlockList(uint8_t flag);

/* Files the record under its signature and, for a function-block key seen for the first time,
 * its shape. 1 when filed; 0 while the registry is off, for a null record, for counts over 4
 * and 2 (nothing is stored), and for a signature already filed. */
VBASE_API uint8_t VBase_InsertMoveBlock(const TMoveBlock* record);

/* Finds the record filed under `key` (its first byte is its length) and copies its value and
 * extraValue into `record`, leaving the rest untouched: 1. Otherwise -1. `reserved` is not
 * used. */
VBASE_API int16_t VBase_GetMoveBlock(int32_t reserved, const uint8_t* key, TMoveBlock* record);

/* The shape filed for a function-block key: the byte lengths of the two lists and the shape
 * value, 1. For an unknown key all three are 0 and the result is -1 (also when an output
 * pointer is null). */
VBASE_API int16_t VBase_GetMoveBlockStructure(uint16_t functionBlockKey, uint16_t* firstLength,
                                              uint16_t* secondLength, int16_t* shapeValue);

/* Frees every function-block shape. */
VBASE_API void VBase_DeleteFuncBlockList(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* MORVIT_VBASE_H */
