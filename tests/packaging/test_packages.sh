#!/usr/bin/env bash
# Checks the packages scripts/package.sh makes, as a user would get them: the .deb's files,
# its control fields and dependencies, and that its programs look for the SDL module where
# the package puts it; the Windows zip's files, each program a console PE of its folder's
# machine that needs no runtime DLL beside it, and its README.txt in CRLF lines.
set -euo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 <folder holding textscreen_*.deb and textscreen-*-windows.zip>" >&2
  exit 2
fi
packages=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# the_one PATTERN: the one package file matching PATTERN in the folder.
the_one() {
  # shellcheck disable=SC2206 # the pattern is meant to match
  local found=("$packages"/$1)
  if [ ${#found[@]} -ne 1 ] || [ ! -f "${found[0]}" ]; then
    echo "FAIL: expected one $1 in $packages, found: ${found[*]}" >&2
    exit 1
  fi
  echo "${found[0]}"
}
deb=$(the_one 'textscreen_*.deb')
zip=$(the_one 'textscreen-*-windows.zip')

# --- the .deb: its files -------------------------------------------------------------------
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $1, $6 }' >"$work/files"
grep -qx -- '-rwxr-xr-x /usr/bin/tripcost' "$work/files" || fail ".deb: no executable /usr/bin/tripcost"
grep -qx -- '-rwxr-xr-x /usr/bin/logvolume' "$work/files" || fail ".deb: no executable /usr/bin/logvolume"
grep -qx -- '-[rwx-]* /usr/share/doc/textscreen/README.md' "$work/files" ||
  fail ".deb: no /usr/share/doc/textscreen/README.md"
module=$(awk '$2 ~ "^/usr/lib/([^/]+/)?textscreen/libtextscreen_sdl\\.so$" { print $2 }' "$work/files")
[ -n "$module" ] || fail ".deb: no SDL module in /usr/lib/.../textscreen/"
# Nothing else: no static libraries, headers or tests of the build.
unexpected=$(awk '$2 !~ "^(/usr/bin/(tripcost|logvolume)|/usr/lib/([^/]+/)?textscreen/libtextscreen_sdl\\.so|/usr/share/doc/textscreen/.*)$" { print $2 }' \
  "$work/files")
[ -z "$unexpected" ] || fail ".deb: files it should not hold: $unexpected"

# --- the .deb: its control fields ------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = textscreen ] || fail ".deb: Package is '$(field Package)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] ||
  fail ".deb: Architecture is '$(field Architecture)'"
[[ "$(basename "$deb")" == "textscreen_$(field Version)_"* ]] ||
  fail ".deb: Version '$(field Version)' is not the one its file is named by"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] ||
  fail ".deb: Maintainer is not 'name <address>': '$(field Maintainer)'"
[ "$(field Description | wc -l)" -ge 2 ] || fail ".deb: no long Description"
depends=$(field Depends)
recommends=$(field Recommends)
# package_names LIST: the package names of a dependency list, one a line.
package_names() { tr ',|' '\n' <<<"$1" | sed -E 's/^ *//; s/[ (:].*//' | grep -v '^$' || true; }
package_names "$depends" >"$work/depends"
package_names "$recommends" >"$work/recommends"
grep -qx libsdl2-2.0-0 "$work/recommends" || fail ".deb: SDL2 is not recommended (Recommends: $recommends)"
if grep -q '^libsdl2' "$work/depends"; then
  fail ".deb: depends on SDL2, which the programs load only when it is there (Depends: $depends)"
fi

# --- the .deb: its programs and module against the libraries they need ----------------------
dpkg-deb -x "$deb" "$work/root"
# owner LIBRARY: the package that holds the shared library ldd resolved.
owner() {
  local path=$1 candidates=("$1" "$(realpath "$1")")
  case $path in /usr/*) candidates+=("${path#/usr}") ;; *) candidates+=("/usr$path") ;; esac
  for candidate in "${candidates[@]}"; do
    dpkg -S "$candidate" 2>/dev/null | head -n 1 | sed -E 's/[:,].*//' && return
  done
}
# check_needs FILE LIST...: every shared library FILE links comes from a package on the lists.
check_needs() {
  local file=$1 name library package
  shift
  for name in $(readelf -d "$work/root$file" | sed -nE 's/.*\(NEEDED\).*\[(.*)\]$/\1/p'); do
    library=$(ldd "$work/root$file" | awk -v name="$name" '$1 == name && $2 == "=>" { print $3 }')
    if [[ "$library" != /* ]]; then
      fail ".deb: $file needs $name, which is not installed here"
      continue
    fi
    package=$(owner "$library")
    if [ -z "$package" ]; then
      fail ".deb: no installed package holds $library, which $file needs"
    elif ! grep -qx -- "$package" "$@"; then
      fail ".deb: $file needs $library of $package, which the package does not name"
    fi
  done
}
check_needs /usr/bin/tripcost "$work/depends"
check_needs /usr/bin/logvolume "$work/depends"
[ -z "$module" ] || check_needs "$module" "$work/depends" "$work/recommends"

# The programs carry the module's folder from the build: run one from the unpacked package
# and see it look where the package puts the module.
if [ -n "$module" ] && command -v strace >/dev/null; then
  (
    unset DISPLAY WAYLAND_DISPLAY
    printf '\r100\r1\r4\r2\r7\r20\r\x1b\r' | VXGFX=SDL timeout 60 strace -f -e trace=openat -o "$work/trace" \
      "$work/root/usr/bin/tripcost" >/dev/null 2>&1 || true
  )
  grep -qF "\"$module\"" "$work/trace" ||
    fail ".deb: tripcost does not look for the SDL module at $module; it opens: $(grep -o '"[^"]*libtextscreen_sdl[^"]*"' "$work/trace" | tr '\n' ' ')"
else
  echo "note: without strace the module's folder in the programs is not checked"
fi

# --- the zip ---------------------------------------------------------------------------------
python3 - "$zip" >"$work/zip_faults" <<'PY' || fail "zip: could not be read"
import re
import struct
import sys
import zipfile

MACHINES = {"x64": 0x8664, "x86": 0x14C}
CONSOLE_SUBSYSTEM = 3

def fault(text):
    print(text)

def pe_facts(data):
    """The machine, the subsystem and the names of the DLLs a PE image imports."""
    if data[:2] != b"MZ":
        raise ValueError("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    import_rva = struct.unpack_from("<I", data, directories + 8)[0]
    table = optional + optional_size
    spans = []
    for i in range(sections):
        virtual_size, address, raw_size, raw_offset = struct.unpack_from("<IIII", data, table + 40 * i + 8)
        spans.append((address, max(virtual_size, raw_size), raw_offset))

    def offset(rva):
        for address, size, raw_offset in spans:
            if address <= rva < address + size:
                return raw_offset + rva - address
        raise ValueError(f"RVA {rva:#x} in no section")

    dlls = []
    if import_rva:
        entry = offset(import_rva)
        while True:
            name_rva = struct.unpack_from("<I", data, entry + 12)[0]
            if name_rva == 0:
                break
            start = offset(name_rva)
            dlls.append(data[start:data.index(b"\0", start)].decode("ascii"))
            entry += 20
    return machine, subsystem, dlls

with zipfile.ZipFile(sys.argv[1]) as archive:
    names = {n for n in archive.namelist() if not n.endswith("/")}
    expected = {f"{arch}/{program}.exe" for arch in MACHINES for program in ("tripcost", "logvolume")}
    expected.add("README.txt")
    if names != expected:
        fault(f"zip: holds {sorted(names)}, not {sorted(expected)}")
    for name in sorted(names & expected - {"README.txt"}):
        arch = name.split("/")[0]
        try:
            machine, subsystem, dlls = pe_facts(archive.read(name))
        except (ValueError, struct.error) as error:
            fault(f"zip: {name} is not a PE image: {error}")
            continue
        if machine != MACHINES[arch]:
            fault(f"zip: {name} is for machine {machine:#x}, not {MACHINES[arch]:#x}")
        if subsystem != CONSOLE_SUBSYSTEM:
            fault(f"zip: {name} is not a console program (subsystem {subsystem})")
        runtime = [d for d in dlls if re.match(r"lib.*\.dll$", d, re.IGNORECASE)]
        if runtime:
            fault(f"zip: {name} needs DLLs the zip does not hold: {runtime}")
    if "README.txt" in names:
        text = archive.read("README.txt")
        if b"\n" not in text or re.search(rb"(?<!\r)\n", text) or re.search(rb"\r(?!\n)", text):
            fault("zip: README.txt is not in CRLF lines")
        if any(byte > 0x7F for byte in text):
            fault("zip: README.txt is not plain ASCII")
        for word in (b"tripcost.exe", b"logvolume.exe", b"Esc", b"VXGFX"):
            if word not in text:
                fault(f"zip: README.txt does not mention {word.decode()}")
PY
while IFS= read -r line; do fail "$line"; done <"$work/zip_faults"

if [ "$failures" -ne 0 ]; then
  echo "$failures package checks failed"
  exit 1
fi
echo "packages are sound: $(basename "$deb"), $(basename "$zip")"
