/* A small C client of the library: generates a NOBA, a REBA and a POBA into the data directory
 * (MORVIT_DATA_DIR) through the C interface only, and prints the status and each parcel
 * written. Exits non-zero if any domain fails. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "morvit/VBase.h"

enum { kTypeNoba = 3, kTypeReba = 46, kTypePoba = 78 };
enum { kKindEntry = 5, kKindPageBreak = 6, kKindAddition = 7 };
enum { kMaxSections = 16, kHighestParcel = 15 };

/* Section records are filled field by field at the byte offsets the domain type reads them
 * from, in host byte order. */
static void PutWord(TSectionInfo* section, size_t offset, uint16_t value) {
  memcpy((unsigned char*)section + offset, &value, sizeof value);
}

static void PutLong(TSectionInfo* section, size_t offset, int32_t value) {
  memcpy((unsigned char*)section + offset, &value, sizeof value);
}

/* A text at `offset` with its length at `lengthOffset`. */
static void PutText(TSectionInfo* section, size_t offset, size_t lengthOffset, const char* text) {
  size_t length = strlen(text);
  memcpy((unsigned char*)section + offset, text, length);
  PutWord(section, lengthOffset, (uint16_t)length);
}

static TSectionInfo NewSection(int32_t kind) {
  TSectionInfo section;
  memset(&section, 0, sizeof section);
  section.kind = kind;
  return section;
}

/* NOBA: the text's length at 8 and the address of its characters at 12. */
static TSectionInfo NobaText(const char* text) {
  TSectionInfo section = NewSection(0);
  PutWord(&section, 8, (uint16_t)strlen(text));
  memcpy((unsigned char*)&section + 12, &text, sizeof text);
  return section;
}

/* REBA/POBA kind 5: a new element entry with its key, five values and a name. */
static TSectionInfo Entry(uint16_t key, uint16_t firstValue, const char* name) {
  TSectionInfo section = NewSection(kKindEntry);
  uint16_t i;
  PutWord(&section, 8, key);
  for (i = 0; i < 5; ++i) PutWord(&section, 10 + 2 * i, (uint16_t)(firstValue + i));
  PutText(&section, 20, 122, name);
  return section;
}

/* Kind 7: an addition to the entry `key`, carrying two texts and an integer terminal value. */
static TSectionInfo Addition(uint16_t key, uint16_t number, const char* first, const char* second,
                             int16_t terminalValue) {
  TSectionInfo section = NewSection(kKindAddition);
  PutWord(&section, 8, key);
  PutWord(&section, 10, number);
  PutText(&section, 12, 114, first);
  PutText(&section, 116, 218, second);
  PutLong(&section, 220, 1); /* terminal type 1: integer */
  memcpy((unsigned char*)&section + 224, &terminalValue, sizeof terminalValue);
  PutWord(&section, 280, 2);
  return section;
}

/* Kind 6: a page break with its number, value, flag and text. */
static TSectionInfo PageBreak(uint16_t number, int32_t value, uint8_t flag, const char* text) {
  TSectionInfo section = NewSection(kKindPageBreak);
  PutLong(&section, 8, value);
  PutWord(&section, 12, number);
  ((unsigned char*)&section)[14] = flag;
  PutText(&section, 15, 96, text);
  return section;
}

static ObjParcelType MakeParcel(uint16_t type, uint16_t object, uint16_t version) {
  ObjParcelType parcel;
  memset(&parcel, 0, sizeof parcel);
  parcel.objectNumber = object;
  parcel.classLetter = 'C';
  parcel.domainType = type;
  parcel.version = version;
  parcel.timeStamp[0] = 26; /* two-digit year */
  parcel.timeStamp[1] = 12;
  parcel.timeStamp[2] = 7;
  parcel.majorVersion = 1;
  return parcel;
}

/* Starts, fills and finishes one domain; prints the status and the parcels written. */
static int Generate(VManager* manager, const char* name, uint16_t type, TSectionInfo* sections,
                    int count) {
  ObjParcelType parcels[kHighestParcel + 1];
  uint16_t written = 0;
  int16_t status = VBase_PutStart(manager, type, MakeParcel(type, 1, 1));
  int i;
  for (i = 0; status == VBASE_STATUS_OK && i < count; ++i) {
    status = VBase_Insert(manager, type, &sections[i]);
  }
  if (status == VBASE_STATUS_OK) {
    status = VBase_PutFinishEx(manager, type, &written, kHighestParcel, parcels);
  }
  printf("%s (type %u): status %d, %u parcel(s)\n", name, (unsigned)type, (int)status,
         (unsigned)written);
  for (i = 0; i < written; ++i) {
    printf("  parcel %d: type %u scope %u version %u length %u\n", i,
           (unsigned)parcels[i].domainType, (unsigned)parcels[i].scope,
           (unsigned)parcels[i].version, (unsigned)parcels[i].length);
  }
  return status == VBASE_STATUS_OK && written > 0 ? 0 : 1;
}

static int GenerateNoba(VManager* manager) {
  TSectionInfo sections[3];
  sections[0] = NobaText("MAIN");
  sections[1] = NobaText("PUMP_CONTROL");
  sections[2] = NobaText("X");
  return Generate(manager, "NOBA", kTypeNoba, sections, 3);
}

/* The resource and program bases share their records: entries, additions to them (one is
 * dropped: its key has no entry) and page breaks. */
static int FillBase(TSectionInfo* sections) {
  int n = 0;
  sections[n++] = Entry(1, 10, "MOTOR_1");
  sections[n++] = Entry(2, 20, "VALVE_12");
  sections[n++] = Entry(1, 30, "DUPLICATE"); /* key 1 is taken: ignored */
  sections[n++] = Addition(1, 1, "SPEED", "rpm", 1500);
  sections[n++] = Addition(1, 2, "RAMP", "s", 12);
  sections[n++] = Addition(2, 1, "OPEN", "", 1);
  sections[n++] = Addition(9, 1, "ORPHAN", "", 0); /* no entry 9: ignored */
  sections[n++] = PageBreak(1, 100, 1, "Drives");
  sections[n++] = PageBreak(2, 200, 0, "Valves");
  return n;
}

int main(void) {
  TSectionInfo sections[kMaxSections];
  VManager* manager = VBase_CreateManager();
  int failures = 0;
  if (manager == NULL) {
    fprintf(stderr, "cannot create a manager\n");
    return EXIT_FAILURE;
  }
  VBase_Body();
  failures += GenerateNoba(manager);
  failures += Generate(manager, "REBA", kTypeReba, sections, FillBase(sections));
  failures += Generate(manager, "POBA", kTypePoba, sections, FillBase(sections));
  VBase_DeleteManager(&manager);
  return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
