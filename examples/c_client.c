/* A small C client of the library: starts, fills and finishes domains through the C
 * interface only, and prints the status and each parcel written. */
#include <stdio.h>
#include <string.h>

#include "morvit/VBase.h"

static ObjParcelType MakeParcel(uint16_t type, uint16_t object, uint16_t version) {
  ObjParcelType parcel;
  memset(&parcel, 0, sizeof parcel);
  parcel.objectNumber = object;
  parcel.classLetter = 'C';
  parcel.domainType = type;
  parcel.version = version;
  return parcel;
}

static int Generate(VManager* manager, uint16_t type, const TSectionInfo* sections, int count) {
  ObjParcelType parcels[16];
  uint16_t written = 0;
  int16_t status = VBase_PutStart(manager, type, MakeParcel(type, 1, 1));
  int i;
  for (i = 0; status == VBASE_STATUS_OK && i < count; ++i) {
    TSectionInfo section = sections[i];
    status = VBase_Insert(manager, type, &section);
  }
  if (status == VBASE_STATUS_OK) {
    status = VBase_PutFinishEx(manager, type, &written, 15, parcels);
  }
  printf("domain type %u: status %d, %u parcel(s)\n", (unsigned)type, (int)status,
         (unsigned)written);
  for (i = 0; i < written; ++i) {
    printf("  type %u scope %u version %u length %u\n", (unsigned)parcels[i].domainType,
           (unsigned)parcels[i].scope, (unsigned)parcels[i].version, (unsigned)parcels[i].length);
  }
  return status == VBASE_STATUS_OK ? 0 : 1;
}

int main(void) {
  VManager* manager = VBase_CreateManager();
  int failures = 0;
  if (manager == NULL) {
    fprintf(stderr, "cannot create a manager\n");
    return 1;
  }
  VBase_Body();
  failures += Generate(manager, 3, NULL, 0);
  VBase_DeleteManager(&manager);
  return failures == 0 ? 0 : 1;
}
