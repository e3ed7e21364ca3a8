#!/usr/bin/env bash
# Interop check: drawings written by an independent DXF library (every entity
# type, several versions) and the drawings under tests/data/dxf are opened and
# saved by tarncad; the saved files must pass that library's audit and hold
# the same content. Also a new drawing, and saving in an older version.
set -euo pipefail
tarncad=$1
here=$(cd "$(dirname "$0")" && pwd)
data="$here/../data/dxf"
py=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

check() {  # original saved
  if ! "$py" "$here/check_roundtrip.py" "$1" "$2"; then
    echo "FAIL: $1"
    fail=1
  fi
}

for version in R12 R2000 R2004 R2007 R2010 R2013 R2018; do
  "$py" "$here/make_drawing.py" "$work/made-$version.dxf" "$version"
done
for f in "$work"/made-*.dxf "$data"/*.dxf; do
  out="$work/saved-$(basename "$f")"
  "$tarncad" "$f" -o "$out" || { echo "FAIL: tarncad could not open and save $f"; fail=1; continue; }
  check "$f" "$out"
  "$tarncad" "$out" -o "$out.again.dxf"
  cmp -s "$out" "$out.again.dxf" || { echo "FAIL: saving $out again changed it"; fail=1; }
done
"$tarncad" "$work/made-R2018.dxf" -o "$work/as-2000.dxf" --version 2000
check "$work/made-R2018.dxf" "$work/as-2000.dxf"
"$tarncad" --new -o "$work/new.dxf"
"$py" - "$work/new.dxf" <<'PY' || fail=1
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
if auditor.has_errors:
    print("FAIL: the new drawing has audit errors:", [e.message for e in auditor.errors])
    sys.exit(1)
PY
[ $fail -eq 0 ] && echo "interop: all drawings agree"
exit $fail
