// A client of the installed library: generates a NOBA through the C interface, runs a file
// through implode and explode, and derives the exported database class. Exits 0 when all of it
// worked; the data directory comes from MORVIT_DATA_DIR.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "morvit/VBase.h"
#include "morvit/VDatabase.h"
#include "morvit/VFileCompression.h"

namespace {

class CountingDatabase : public VDatabase {
 public:
  std::uint16_t GetMaxTask() override { return 3; }
};

bool GenerateNoba() {
  VManager* manager = VBase_CreateManager();
  ObjParcelType parcel{};
  parcel.objectNumber = 1;
  parcel.classLetter = 'C';
  parcel.domainType = 3;
  parcel.version = 1;
  const char* text = "CONSUMER";
  TSectionInfo section{};
  const std::uint16_t length = static_cast<std::uint16_t>(std::strlen(text));
  std::memcpy(section.payload, &length, sizeof length);
  std::memcpy(section.payload + 4, &text, sizeof text);
  ObjParcelType written[4];
  std::uint16_t count = 0;
  const bool ok = VBase_PutStart(manager, 3, parcel) == VBASE_STATUS_OK &&
                  VBase_Insert(manager, 3, &section) == VBASE_STATUS_OK &&
                  VBase_PutFinishEx(manager, 3, &count, 3, written) == VBASE_STATUS_OK &&
                  count == 1 && written[0].domainType == 3;
  VBase_DeleteManager(&manager);
  return ok;
}

bool RoundTrip(const std::string& directory) {
  const std::string plain = directory + "/plain.txt";
  std::ofstream(plain) << "consumer consumer consumer consumer";
  return morvit::ImplodeFile(plain, directory + "/plain.imp", 1, 1024) == morvit::kCompressOk &&
         morvit::ExplodeFile(directory + "/plain.imp", directory + "/plain.out") ==
             morvit::kCompressOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  CountingDatabase database;
  const bool ok = GenerateNoba() && RoundTrip(argv[1]) && database.GetMaxTask() == 3 &&
                  static_cast<VDatabase&>(database).GetPCProgNo(nullptr) == 0;
  std::puts(ok ? "consumer ok" : "consumer failed");
  return ok ? 0 : 1;
}
