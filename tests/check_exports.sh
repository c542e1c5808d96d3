#!/usr/bin/env bash
# The shared library exports the VBase_ functions and the exported classes, and no internal
# helper: no compression entry points and nothing of the internal folders' free functions.
set -euo pipefail
lib=$1
symbols=$(nm -D --defined-only "$lib" | awk '{print $3}')
missing=0
for name in VBase_Body VBase_StatusText VBase_GetLastFailure VBase_CreateManager VBase_DeleteManager VBase_PutStart VBase_PutStartEx \
            VBase_Insert VBase_PutFinish VBase_PutFinishEx VBase_DumpDomain VBase_EnableTimeOutput \
            VBase_EnableLineNumbers VBase_ActivateMoveBlockList \
            VBase_InsertMoveBlock VBase_GetMoveBlock VBase_GetMoveBlockStructure \
            VBase_DeleteFuncBlockList; do
  if ! grep -qx "$name" <<<"$symbols"; then echo "missing export: $name"; missing=1; fi
done
# The writers of the PC program domains, exported C++ functions.
demangled_all=$(c++filt <<<"$symbols")
for name in VWriteTade VWriteRede VWritePode VWriteRelo VWritePolo; do
  if ! grep -q "^$name(" <<<"$demangled_all"; then echo "missing export: $name"; missing=1; fi
done
# The model of a data set: the table of domain types, the name rule, the inventory and verdicts.
for name in VDomainTypes VFindDomainType VFindDomainTypeByCode VDomainAreaName VParseDataSetName \
            VReadDataSet VJudgeDomains VFindDomainOfFile VVerdictName VDescribeVerdict; do
  if ! grep -qE "^$name(\[abi:cxx11\])?\(" <<<"$demangled_all"; then echo "missing export: $name"; missing=1; fi
done
dataSetInternals=$(grep -E '^(morvit::ReadFileHeaders|morvit::ProvesLaterPart|staging::)' <<<"$demangled_all" || true)
if [ -n "$dataSetInternals" ]; then echo "internal helpers exported:"; echo "$dataSetInternals"; missing=1; fi
# Global C names that another library in the host process may also export.
for name in implode explode; do
  if grep -qx "$name" <<<"$symbols"; then echo "internal name exported: $name"; missing=1; fi
done
# Internal free functions and classes of the library must stay hidden.
leaked=$(c++filt <<<"$symbols" | grep -E '^(CreateDomainForType|StatusFromCause|GetListingSwitches|GetMoveBlockRegistry|BuildMoveBlockKey)\b' || true)
if [ -n "$leaked" ]; then echo "internal helpers exported:"; echo "$leaked"; missing=1; fi
# The database and host-services interfaces and the host seam's two functions are exported;
# the compressed-part steps and the section-code table are internal.
demangled=$(c++filt <<<"$symbols")
for name in "vtable for VHostServices" "vtable for VDataSetHost" "Host()" "SetHost(VHostServices*)"; do
  if ! grep -qxF "$name" <<<"$demangled"; then echo "missing export: $name"; missing=1; fi
done
if ! grep -qx "vtable for VDatabase" <<<"$demangled"; then echo "missing export: VDatabase"; missing=1; fi
# The element-code name lookups are public; the dump's own tables and steps are not.
for name in morvit::FunctionBlockName morvit::OrderName morvit::ElementName morvit::ElementLabel \
            morvit::FunctionBlockNameTable morvit::OrderNameTable VManager::DumpDomain; do
  if ! grep -qE "^$name(\[abi:cxx11\])?\(" <<<"$demangled"; then echo "missing export: $name"; missing=1; fi
done
dumpInternals=$(grep -E '^(RunDumpDriver|ClassDump|SelectDumpMode|ReadCodeFile|morvit::ElementNameEntry|dumplayout::)' <<<"$demangled" || true)
if [ -n "$dumpInternals" ]; then echo "internal helpers exported:"; echo "$dumpInternals"; missing=1; fi
hidden=$(grep -E '^(CompressedPartCount|WriteCompressedDomain|ReadCompressedDomain|SectionCodeName)\b' <<<"$demangled" || true)
if [ -n "$hidden" ]; then echo "internal helpers exported:"; echo "$hidden"; missing=1; fi
exit $missing
