#!/usr/bin/env bash
# Open-and-save benchmark: 1,000,000 lines and a mixed drawing of 200,000
# entities, tarncad beside the independent DXF library (with --peer; it takes
# minutes). usage: bench/db/run.sh BUILD_DIR [--peer]
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
work=${TMPDIR:-/tmp}/tarn-bench
mkdir -p "$work"
[ -f "$work/lines.dxf" ] || /usr/bin/python3 "$here/make_lines.py" lines "$work/lines.dxf" 1000000
[ -f "$work/mixed.dxf" ] || /usr/bin/python3 "$here/make_lines.py" mixed "$work/mixed.dxf" 200000
for f in lines mixed; do
  echo "== $f.dxf ($(du -m "$work/$f.dxf" | cut -f1) MB)"
  "$build/bench/db/bench_dxf" "$work/$f.dxf" 3
  if [ "${2:-}" = "--peer" ]; then /usr/bin/python3 "$here/ezdxf_time.py" "$work/$f.dxf"; fi
done
