#!/usr/bin/env bash
# Checks Stats.dll's export and import tables:
# - the export directory names the DLL "Stats.dll";
# - each of the ten entry points is exported under its plain name and under the MSVC decoration
#   of its signature, and the decorated name demangles to exactly that signature;
# - both names of an entry point lead to the same address;
# - the DLL imports only DLLs that Windows ships.
set -uo pipefail
dll=${1:?Stats.dll}; objdump=${2:?objdump}; undname=${3:?llvm-undname}
table=$("$objdump" -p "$dll") || { echo "cannot read $dll"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

grep -q '^Name .*Stats\.dll$' <<<"$table" || fail "export directory does not name Stats.dll"
grep -q '^Magic[[:space:]]*010b' <<<"$table" || fail "not a 32-bit (PE32) image"

# Name table lines: "[   3] GetSetName" (index into the address table); address table lines:
# "[   3] +base[   4] 1540 Export RVA".
names=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$table" |
  sed -nE 's/^[[:space:]]*\[[[:space:]]*([0-9]+)\][[:space:]]+(.*)$/\1 \2/p')
addresses=$(sed -n '/^Export Address Table -- /,/^$/p' <<<"$table" |
  sed -nE 's/^[[:space:]]*\[[[:space:]]*([0-9]+)\][[:space:]]+\+base\[[[:space:]]*[0-9]+\][[:space:]]+([0-9a-f]+).*/\1 \2/p')
rva_of() { # the export address of name $1
  local index
  index=$(awk -v n="$1" '$2 == n { print $1; exit }' <<<"$names")
  [ -n "$index" ] || return 1
  awk -v i="$index" '$1 == i { print $2; exit }' <<<"$addresses"
}

while IFS='|' read -r plain decorated signature; do
  [ -n "$plain" ] || continue
  a=$(rva_of "$plain") || { fail "plain export $plain missing"; continue; }
  b=$(rva_of "$decorated") || { fail "decorated export $decorated missing"; continue; }
  got=$(printf '%s\n' "$decorated" | "$undname" | sed -n 2p)
  [ "$got" = "$signature" ] || fail "$decorated demangles to '$got', expected '$signature'"
  [ -n "$a" ] && [ "$a" = "$b" ] || fail "$plain ($a) and $decorated ($b) differ in address"
done <<'LIST'
GetNumberOfSets|?GetNumberOfSets@@YAHXZ|int __cdecl GetNumberOfSets(void)
GetSetName|?GetSetName@@YAPBDH@Z|char const * __cdecl GetSetName(int)
GetExchgCount0|?StatsGetExchgCount0@@YAHPBD00@Z|int __cdecl StatsGetExchgCount0(char const *, char const *, char const *)
IsValidExchg0|?StatsIsValidExchg0@@YAHPBD000HHH@Z|int __cdecl StatsIsValidExchg0(char const *, char const *, char const *, char const *, int, int, int)
ResetStats0|?ResetStats0@@YAHPBDH0PAVCOleDateTime@@10000000000HHHNN000@Z|int __cdecl ResetStats0(char const *, int, char const *, class COleDateTime *, class COleDateTime *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, int, int, int, double, double, char const *, char const *, char const *)
AddData0|?AddData0@@YAHPBD0PAVCOleDateTime@@111II000000000000000HHHNN00000@Z|int __cdecl AddData0(char const *, char const *, class COleDateTime *, class COleDateTime *, class COleDateTime *, class COleDateTime *, unsigned int, unsigned int, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, int, int, int, double, double, char const *, char const *, char const *, char const *, char const *)
RemoveData0|?RemoveData0@@YAHPBD0PAVCOleDateTime@@111II000000000000000HHHNN00000@Z|int __cdecl RemoveData0(char const *, char const *, class COleDateTime *, class COleDateTime *, class COleDateTime *, class COleDateTime *, unsigned int, unsigned int, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, int, int, int, double, double, char const *, char const *, char const *, char const *, char const *)
CheckCall0|?CheckCallFunc0@@YAHPBDII00000000000HHHNN0000000PAD1@Z|int __cdecl CheckCallFunc0(char const *, unsigned int, unsigned int, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char const *, int, int, int, double, double, char const *, char const *, char const *, char const *, char const *, char const *, char const *, char *, char *)
GetResult0|?GetResult0@@YAPBDPAH@Z|char const * __cdecl GetResult0(int *)
SetupSet0|?SetupSet0@@YAXXZ|void __cdecl SetupSet0(void)
LIST

count=$(grep -c . <<<"$names")
[ "$count" -eq 20 ] || fail "expected 20 exported names, found $count"

allowed='^(kernel32|user32|gdi32|ole32|oleaut32|version|advapi32|msvcrt|shell32|comctl32|comdlg32)\.dll$'
while read -r imported; do
  grep -qiE "$allowed" <<<"$imported" || fail "imports $imported, which Windows does not ship"
done < <(awk '/DLL Name:/ { print $3 }' <<<"$table")

[ "$failures" -eq 0 ] && echo "export and import tables OK" && exit 0
exit 1
