#!/usr/bin/env bash
# The Windows DLL exports what the Linux library exports, no more and no less: the same
# functions, classes and class members by qualified name (parameter types differ in spelling
# between the ABIs: int64_t is long on Linux and long long on Windows), nothing of the C++ run
# time, no implode/explode. The C interface's .def file lists the VBase_ functions undecorated.
# Usage: check_dll_exports.sh DLL OBJDUMP LINUX_LIBRARY DEF_FILE
set -euo pipefail
dll=$1 objdump=$2 linux=$3 def=$4
# Qualified names without parameter lists; run-time parts (std::, typeinfo names) left out.
names() {
  c++filt | sed -E 's/\(.*//; s/\[abi:cxx11\]//g' |
    grep -vE '^(typeinfo name for |_init$|_fini$)' | grep -vE '(^| )std::' | sort -u
}
windows=$("$objdump" -p "$dll" |
  awk '/\[Ordinal\/Name Pointer\] Table/ {t = 1; next} t && /^\t\[/ {print $NF} t && /^$/ {t = 0}' |
  names)
linux_names=$(nm -D --defined-only "$linux" | awk '{print $3}' | names)
status=0
if [ -z "$windows" ]; then echo "no exports read from $dll"; exit 1; fi
if [ "$windows" != "$linux_names" ]; then
  echo "export tables differ (< Linux, > Windows):"
  diff <(echo "$linux_names") <(echo "$windows") || true
  status=1
fi
for name in implode explode; do
  if grep -qx "$name" <<<"$windows"; then echo "internal name exported: $name"; status=1; fi
done
c_exports=$(awk '/^EXPORTS/ {e = 1; next} e {print $1}' "$def")
if [ -z "$c_exports" ] || grep -vqE '^VBase_[A-Za-z0-9_]+$' <<<"$c_exports"; then
  echo "$def: expected only undecorated VBase_ names:"; echo "$c_exports"; status=1
fi
if [ "$(sort <<<"$c_exports")" != "$(grep -E '^VBase_' <<<"$linux_names")" ]; then
  echo "$def does not list every VBase_ function of the library"; status=1
fi
exit $status
