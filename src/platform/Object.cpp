// CObject and runtime-class records: the class chain that IsKindOf walks.
#include "morvit/platform.h"

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  for (const CRuntimeClass* cls = this; cls != nullptr; cls = cls->m_pBaseClass) {
    if (cls == base) return true;
  }
  return false;
}

const CRuntimeClass CObject::classCObject = {"CObject", kSchemaNotCreatable, nullptr};

CObject::~CObject() = default;

const CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

bool CObject::IsKindOf(const CRuntimeClass* cls) const {
  return GetRuntimeClass()->IsDerivedFrom(cls);
}
