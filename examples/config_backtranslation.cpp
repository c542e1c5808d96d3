// A C++ client that builds a small configuration data set with the configuration writers and
// rebuilds a database from it: every call the database receives is printed. Public headers
// only. Usage: config_backtranslation DATA-DIRECTORY (created if missing; the files stay).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "morvit/VConfigWriters.h"
#include "morvit/VDatabase.h"
#include "morvit/VElement.h"
#include "morvit/VManager.h"

namespace {

class PrintingDatabase : public VDatabase {
 public:
  void Initialize() override { std::puts("Initialize"); }
  void Insert(std::uint16_t code, VElement* element) override {
    std::printf("Insert %u: element %u, %llu bytes\n", code, element->GetCode(),
                static_cast<unsigned long long>(element->GetLength()));
  }
  void InsertBasicObject(std::uint16_t code, VElement* element) override {
    std::printf("InsertBasicObject %u: element %u, word %u\n", code, element->GetCode(),
                element->GetAuxWord());
  }
  void SetObjectId(ObjId id) override {
    std::printf("SetObjectId type %u, scope %u, version %u\n", id.domainType, id.scope, id.version);
  }
  void Update(char* text, TCbxElement element) override {
    std::printf("Update %s: %s\n", text, element.name);
  }
  void ClearSort(ObjParcelType* parcel) override {
    std::printf("ClearSort %u\n", parcel->domainType);
  }
  void BackupSort(ObjParcelType parcel) override {
    std::printf("BackupSort %u\n", parcel.domainType);
  }
  void SetColoCopmLength(std::uint16_t colo, std::uint16_t copm) override {
    std::printf("SetColoCopmLength %u %u\n", colo, copm);
  }
  void FinishTask() override { std::puts("FinishTask"); }
  void InsertConnections() override { std::puts("InsertConnections"); }
};

ObjParcelType Parcel(std::uint16_t type) {
  ObjParcelType parcel{};
  parcel.objectNumber = 1;
  parcel.classLetter = 'C';
  parcel.domainType = type;
  parcel.version = 1;
  return parcel;
}

TCbxElement Description(std::int32_t type, const char* name) {
  TCbxElement element{};
  element.typeIndex = type;
  element.nameLength = static_cast<std::uint16_t>(std::strlen(name));
  std::strncpy(element.name, name, sizeof element.name - 1);
  return element;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DATA-DIRECTORY\n", argv[0]);
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
#ifdef _WIN32
  _putenv_s("MORVIT_DATA_DIR", argv[1]);
#else
  setenv("MORVIT_DATA_DIR", argv[1], 1);
#endif
  try {
    VWriteCoio(Parcel(26), {1, 2, {{864, {0, 1, 0, 2}}}});
    VCodaContent coda;
    coda.nodeName = "EXAMPLE";
    coda.coloLength = 512;
    coda.copmLength = 128;
    coda.coleInit = {{940, {0, 7}}};
    VWriteCoda(Parcel(17), coda);
    VWriteCbx(Parcel(114), {{Description(1, "LEVEL"), Description(0, "FLAGS")}, {}});
    VWriteCbx(Parcel(115), {{Description(10, "SETPOINT")}, {{16, 0}}});
    VBxdContent bxd;
    bxd.elementWord = 3;
    bxd.programs = {{0, 1, {}, {}, {{608, {1}}}, {{452, {2}}}, {{664, {3}}}}};
    VWriteBxd(Parcel(96), bxd);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "writing the data set failed: %s\n", e.what());
    return 1;
  }
  PrintingDatabase database;
  VManager manager(&database);
  const int result = manager.DBBacktranslate();
  std::printf("DBBacktranslate: %d\n", result);
  return result == 1 ? 0 : 1;
}
