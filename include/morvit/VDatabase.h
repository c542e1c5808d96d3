// VDatabase: the callback interface between back-translation and the client's engineering
// database. The library calls these operations while it reads domains; a client derives from
// the class and overrides what it needs. Every default does nothing or answers "go on".
#ifndef MORVIT_VDATABASE_H
#define MORVIT_VDATABASE_H

#include <cstdint>

#include "morvit/VBase.h"
#include "morvit/VMotorolaIO.h"
#include "morvit/platform.h"

class VElement;

class MORVIT_API VDatabase : public CObject {
 public:
  VDatabase();
  ~VDatabase() override;

  // The operations, in the order of the class's table of virtual operations. Elements handed
  // over belong to the domain: read them during the call and keep no pointer to them.
  virtual void Initialize();
  virtual void Open();
  virtual void Close();
  virtual void Save();
  virtual void Insert(std::uint16_t code, VElement* element);
  virtual void InsertBasicObject(std::uint16_t code, VElement* element);
  virtual void InsertConnections();
  virtual void PrepareConnections();
  virtual void SetLevel(int level, int value);
  virtual void FinishTask();
  // Default 64.
  virtual std::uint16_t GetMaxTask();
  virtual void GenerateMoveBlocks();
  virtual void SetObjectId(ObjId id);
  virtual void Update(char* text, TCbxElement element);
  virtual void SetResourcePitch();
  virtual void SetConfigPitch();
  virtual void SaveExecPitch(Era era);
  // Default 1.
  virtual std::uint8_t RestoreTypeCircuits();
  virtual void SetCallParam1OfSlavem();
  virtual void ClearSort(ObjParcelType* parcel);
  virtual void BackupSort(ObjParcelType parcel);
  // Default 0, and the output is not written.
  virtual std::uint8_t GetPCProgNo(unsigned short* number);
  virtual void SetPCProgNo(std::uint16_t number);
  // The int results below default to 1 ("go on"), except PCTCRestored and IsAdditionalInfo,
  // which default to 0.
  virtual int InsertTCTermsInPOLODomains();
  virtual int RestoreDBElemsMMI();
  virtual int CompleteRIOs();
  virtual void SetTCPageBreaks();
  virtual void SetAllExecPitches();
  virtual int GenerateBoteDomain();
  virtual void SetColoCopmLength(std::uint16_t coloLength, std::uint16_t copmLength);
  virtual void SetBeginProgVarPOLO(std::uint16_t begin);
  virtual int PCTCRestored();
  virtual void CreateSoftPageNumbers();
  virtual void SetAdditionalInfo(int info);
  virtual int IsAdditionalInfo(int info);

 protected:
  // For clients that decode the big-endian bytes of the elements they receive.
  VMotorolaIO m_io;
};

#endif  // MORVIT_VDATABASE_H
