#!/usr/bin/env bash
# Holds each built cirrane.scr to the oldest Windows of its processor, read from the file
# itself: XP SP3 (5.1) for a 32-bit .scr, Vista (6.0) for a 64-bit one.
# - the manifest's own identity names the processor of the PE header (Windows' side-by-side
#   loader refuses any other), and no dependency names another one;
# - the PE header's subsystem and OS versions are that oldest Windows;
# - every imported function is in docs/windows-imports.tsv, and Windows has had it since
#   that oldest Windows or before (newer ones are looked up at run time).
#   scripts/check-binaries.sh [build dir ...]      (default: build/mingw-x64 build/mingw-x86)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
table="$root/docs/windows-imports.tsv"
[ $# -gt 0 ] || set -- "$root/build/mingw-x64" "$root/build/mingw-x86"
status=0
fail() { echo "check-binaries: $scr: $*" >&2; status=1; }

for build in "$@"; do
  scr="$build/cirrane.scr"
  case $(objdump -f "$scr" | sed -n 's/.*file format //p') in
    pei-i386)   processor=x86   header=5.1 oldest=5.1.3 ;;   # Windows XP SP3
    pei-x86-64) processor=amd64 header=6.0 oldest=6.0 ;;     # Windows Vista
    *) fail "not a 32- or 64-bit x86 Windows program"; continue ;;
  esac
  headers=$(objdump -p "$scr")

  # The manifest, out of the resource section (windres prints it as quoted rc strings).
  manifest=$(x86_64-w64-mingw32-windres -J coff -i "$scr" -O rc | awk '
    /^[0-9]+ 24 /          { on = 1; count++; next }
    on && /^END/           { on = 0 }
    on && sub(/^ *"/, "")  { sub(/"$/, ""); gsub(/""/, "\""); gsub(/\\n/, "\n"); printf "%s", $0 }
    END                    { if (count != 1) print "MANIFESTS " count }')
  identities=$(tr '\n' ' ' <<<"$manifest" | grep -o '<assemblyIdentity[^>]*>' || true)
  own=$(head -n 1 <<<"$identities" | sed -n 's/.*processorArchitecture="\([^"]*\)".*/\1/p')
  [ "$own" = "$processor" ] || fail "the manifest names processor '$own', the program is $processor"
  others=$(sed -n '2,$ s/.*processorArchitecture="\([^"]*\)".*/\1/p' <<<"$identities" |
           grep -v -x -e "$processor" -e '\*' | sort -u | paste -s -d ' ' || true)
  [ -z "$others" ] || fail "a dependency in the manifest names processor $others"
  grep -q '^MANIFESTS' <<<"$manifest" && fail "has $(sed -n 's/^MANIFESTS //p' <<<"$manifest") manifests, not 1"

  for field in Subsystem OSystem; do   # objdump's names of the subsystem and OS versions
    version=$(awk -v f="$field" '$1 == "Major" f "Version" { m = $2 } $1 == "Minor" f "Version" { n = $2 }
                                 END { print m "." n }' <<<"$headers")
    [ "$version" = "$header" ] || fail "${field/OSystem/OS} version $version, not $header"
  done

  # Imports: "DLL!function" per line, then each looked up in the table.
  imports=$(awk '/^The Import Tables/ { on = 1 } on && /^The / && !/Import Tables/ { on = 0 }
                 on && /DLL Name:/ { dll = toupper($3) }
                 on && dll && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]/ { print dll "!" $3 }' <<<"$headers" | sort -u)
  [ -n "$imports" ] || fail "no imports found"
  count=0
  while IFS='!' read -r dll function; do
    count=$((count + 1))
    since=$(awk -F'\t' -v d="$dll" -v f="$function" 'toupper($1) == d && $2 == f { print $3; exit }' "$table")
    if [ -z "$since" ]; then
      fail "imports $dll!$function, which docs/windows-imports.tsv does not list"
    elif [ "$(printf '%s\n%s\n' "$since" "$oldest" | sort -V | tail -n 1)" != "$oldest" ]; then
      fail "imports $dll!$function, which Windows has since $since only (this build: $oldest)"
    fi
  done <<<"$imports"
  echo "check-binaries: $scr: $processor, Windows $oldest and later, $count imports checked"
done
exit $status
