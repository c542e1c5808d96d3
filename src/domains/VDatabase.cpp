// The library's own VDatabase: empty operations and fixed answers that let a back-translation
// run to its end without effect.
#include "morvit/VDatabase.h"

VDatabase::VDatabase() = default;
VDatabase::~VDatabase() = default;

void VDatabase::Initialize() {}
void VDatabase::Open() {}
void VDatabase::Close() {}
void VDatabase::Save() {}
void VDatabase::Insert(std::uint16_t, VElement*) {}
void VDatabase::InsertBasicObject(std::uint16_t, VElement*) {}
void VDatabase::InsertConnections() {}
void VDatabase::PrepareConnections() {}
void VDatabase::SetLevel(int, int) {}
void VDatabase::FinishTask() {}
std::uint16_t VDatabase::GetMaxTask() { return 64; }
void VDatabase::GenerateMoveBlocks() {}
void VDatabase::SetObjectId(ObjId) {}
void VDatabase::Update(char*, TCbxElement) {}
void VDatabase::SetResourcePitch() {}
void VDatabase::SetConfigPitch() {}
void VDatabase::SaveExecPitch(Era) {}
std::uint8_t VDatabase::RestoreTypeCircuits() { return 1; }
void VDatabase::SetCallParam1OfSlavem() {}
void VDatabase::ClearSort(ObjParcelType*) {}
void VDatabase::BackupSort(ObjParcelType) {}
std::uint8_t VDatabase::GetPCProgNo(unsigned short*) { return 0; }
void VDatabase::SetPCProgNo(std::uint16_t) {}
int VDatabase::InsertTCTermsInPOLODomains() { return 1; }
int VDatabase::RestoreDBElemsMMI() { return 1; }
int VDatabase::CompleteRIOs() { return 1; }
void VDatabase::SetTCPageBreaks() {}
void VDatabase::SetAllExecPitches() {}
int VDatabase::GenerateBoteDomain() { return 1; }
void VDatabase::SetColoCopmLength(std::uint16_t, std::uint16_t) {}
void VDatabase::SetBeginProgVarPOLO(std::uint16_t) {}
int VDatabase::PCTCRestored() { return 0; }
void VDatabase::CreateSoftPageNumbers() {}
void VDatabase::SetAdditionalInfo(int) {}
int VDatabase::IsAdditionalInfo(int) { return 0; }
