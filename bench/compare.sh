#!/usr/bin/env bash
# Times tabulon-cli against sed/gawk, plain Python and a floor (cat / tail),
# after checking that they all write the same bytes.
#
#   bash bench/compare.sh [--quick] [path-to-tabulon-cli]   (default build/bin/tabulon-cli)
#
# --quick runs only the small sizes (1,000 names, 1,000 small files).
set -euo pipefail
# q and cmdline: words quoted for hyperfine's command line.
source "$(dirname "${BASH_SOURCE[0]}")/quoting.sh"
export LC_ALL=C # byte semantics for sed/gawk, and no locale cost

usage() { sed -n '2,7s/^# \{0,1\}//p' "$0"; }
die() { echo "compare.sh: $*" >&2; exit 1; }

quick=0
cli=build/bin/tabulon-cli
for arg in "$@"; do
  case $arg in
    --quick) quick=1 ;;
    -h | --help) usage; exit 0 ;;
    -*) usage >&2; exit 2 ;;
    *) cli=$arg ;;
  esac
done
[[ -x $cli ]] || die "no executable at $cli (build it, or pass its path)"
cli=$(realpath "$cli")
peers=$(cd "$(dirname "$0")/peers" && pwd)

need=()
command -v gawk >/dev/null || need+=(gawk)
[[ -x /usr/bin/python3 ]] || need+=(python3)
command -v hyperfine >/dev/null || need+=(hyperfine)
[[ -x /usr/bin/time ]] || need+=(time)
if ((${#need[@]})); then
  sudo=()
  ((EUID == 0)) || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
fi
# Debian's own interpreter: a version manager's shim or build on PATH can add
# tens of ms per start, which would swamp the small sizes.
py=/usr/bin/python3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"


# Show where two files first differ, then stop.
mismatch() {
  local want=$1 got=$2 what=$3 at
  echo >&2
  echo "!! $what: output differs from the expected bytes" >&2
  ls -l "$want" "$got" >&2
  cmp "$want" "$got" >&2 || true
  echo "first differing bytes (offset, expected octal, got octal):" >&2
  cmp -l "$want" "$got" 2>&1 | head -n 10 >&2 || true
  # "differ: char N" (1-based) or, for a prefix, "EOF on ... after byte N"
  at=$(cmp "$want" "$got" 2>&1 | sed -n 's/.*\(byte\|char\) \([0-9]*\).*/\2/p') || true
  at=${at:-0}
  local from=$((at > 48 ? at - 48 : 0))
  echo "expected, around byte $at:" >&2
  od -A d -c -j "$from" -N 96 "$want" >&2
  echo "got:" >&2
  od -A d -c -j "$from" -N 96 "$got" >&2
  exit 1
}

# The peers are checked against hand-written output first, so a broken peer
# can't make a wrong tabulon-cli look right.
selfcheck() {
  mkdir fx
  printf '' >fx/1
  printf 'a\r\nb\r\n' >fx/2
  printf 'a\r\nb' >fx/3
  printf 'x\ny\rz\r\r\n' >fx/4
  printf '\r' >fx/5
  printf 'q\r\n\r\n' >fx/6
  printf '%s\n' fx/1 fx/2 fx/3 fx/4 fx/5 fx/6 >fx/inc.lst
  printf '<!--Tabulon-->\r\n<table border="0"><tr>\r\n<td></td>\r\n<td>\r\na\r\nb</td>\r\n<td>\r\na\r\nb</td>\r\n<td>\r\nx\ny\r\nz\r\n</td>\r\n</tr><tr>\r\n<td>\r\n</td>\r\n<td>\r\nq\r\n</td>\r\n\r\n</tr></table>\r\n\r\n<!--/Tabulon-->' >fx/inc.want
  printf '%s\n' a 'b c' '&' d e >fx/names.lst
  printf '<!--Tabulon-->\r\n<table border="0"><tr>\r\n<td>a</td>\r\n<td>b c</td>\r\n<td>&</td>\r\n<td>d</td>\r\n</tr><tr>\r\n<td>e</td>\r\n\r\n</tr></table>\r\n\r\n<!--/Tabulon-->' >fx/names.want
  : >fx/none.lst
  printf '<!--Tabulon-->\r\n<table border="0"><tr>\r\n\r\n</tr></table>\r\n\r\n<!--/Tabulon-->' >fx/none.want

  "$py" "$peers/tabulate.py" --inc fx/inc.lst >fx/out; cmp -s fx/inc.want fx/out || mismatch fx/inc.want fx/out "python3 peer, INC fixture"
  gawk -v list=fx/inc.lst -f "$peers/inc.awk" >fx/out; cmp -s fx/inc.want fx/out || mismatch fx/inc.want fx/out "gawk peer, INC fixture"
  local l
  for l in names none; do
    "$py" "$peers/tabulate.py" fx/$l.lst >fx/out; cmp -s fx/$l.want fx/out || mismatch fx/$l.want fx/out "python3 peer, $l fixture"
    sh "$peers/names.sh" fx/$l.lst >fx/out; cmp -s fx/$l.want fx/out || mismatch fx/$l.want fx/out "sed peer, $l fixture"
  done
  rm -r fx
}

rows=()    # markdown table rows
verdict=() # one line per target
median=()  # per tool of the current workload, seconds
rss=()     # per tool of the current workload, KiB

# run LABEL RUNS CHECK CMD...: time CMD with stdout to a file, check its bytes
# against ./expected (unless CHECK is 0), then one more run for peak memory.
# hyperfine rather than a date loop: it execs without a shell (-N), so the
# ~1 ms runs of the small sizes aren't swamped by fork/exec of a wrapper.
run() {
  local label=$1 runs=$2 check=$3
  shift 3
  printf '  %-14s' "$label" >&2
  if ! hyperfine -N --style none --warmup 1 --runs "$runs" --output="$work/out" \
    --export-json t.json -n "$label" "$(cmdline "$@")" >hf.log 2>&1; then
    cat hf.log >&2
    die "$label failed"
  fi
  ((check == 0)) || cmp -s expected out || mismatch expected out "$label"
  /usr/bin/time -v -o mem "$@" >out
  median+=("$("$py" -c 'import json,sys; print(json.load(open(sys.argv[1]))["results"][0]["median"])' t.json)")
  rss+=("$(sed -n 's/.*Maximum resident set size (kbytes): //p' mem)")
  printf '%8.2f ms %8.1f MiB\n' "$(to_ms "${median[-1]}")" "$(to_mib "${rss[-1]}")" >&2
}
commas() { sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<<"$1"; }
to_ms() { awk -v s="$1" 'BEGIN { printf "%.3f", s * 1000 }'; }
to_mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

# report WORKLOAD MAXRATIO MEMLIMIT_KIB LABEL...: LABELs match the run order,
# tabulon-cli first and the floor last.
report() {
  local workload=$1 maxratio=$2 memlimit=$3
  shift 3
  local labels=("$@") floor=${median[-1]} i ratio
  for i in "${!labels[@]}"; do
    ratio=$(awk -v a="${median[i]}" -v b="$floor" 'BEGIN { printf "%.2f", a / b }')
    rows+=("| $workload | ${labels[i]} | $(to_ms "${median[i]}") | ${ratio}× | $(to_mib "${rss[i]}") |")
  done
  ratio=$(awk -v a="${median[0]}" -v b="$floor" 'BEGIN { printf "%.2f", a / b }')
  verdict+=("$(awk -v r="$ratio" -v m="$maxratio" -v k="${rss[0]}" -v lim="$memlimit" -v w="$workload" 'BEGIN {
    printf "- %s: time %.2f× floor (target ≤ %s×) %s; memory %.1f MiB (target < %.1f MiB) %s",
      w, r, m, (r <= m ? "met" : "MISSED"), k / 1024, lim / 1024, (k < lim ? "met" : "MISSED") }')")
  median=()
  rss=()
}

names() {
  local n=$1 runs=$2 label
  label="names $(commas "$n")"
  echo "$label" >&2
  "$py" "$peers/gen.py" names "$n" names.lst
  "$py" "$peers/tabulate.py" names.lst >expected
  sync # else writeback of the fresh data lands on whichever tool runs first
  run tabulon-cli "$runs" 1 "$cli" -f names.lst
  run sed "$runs" 1 sh "$peers/names.sh" names.lst
  run python3 "$runs" 1 "$py" "$peers/tabulate.py" names.lst
  run "floor (cat)" "$runs" 1 cat expected
  report "$label" 3 $((16 * 1024)) tabulon-cli sed python3 "floor (cat)"
  rm -f names.lst expected out
}

inc() {
  local n=$1 lo=$2 hi=$3 runs=$4 label largest
  label="INC $(commas "$n") files of $(commas "$lo")–$(commas "$hi") B"
  if ((lo == hi)); then label="INC $(commas "$n") files of $((lo / 1024)) KiB"; fi
  echo "$label" >&2
  "$py" "$peers/gen.py" files "$n" "$lo" "$hi" d inc.lst
  largest=$(find d -type f -printf '%s\n' | sort -n | tail -n 1)
  "$py" "$peers/tabulate.py" --inc inc.lst >expected
  sync
  local files
  mapfile -t files <inc.lst
  run tabulon-cli "$runs" 1 "$cli" --entry '<td>{{INC}}</td>' -f inc.lst
  run gawk "$runs" 1 gawk -v list=inc.lst -f "$peers/inc.awk"
  run python3 "$runs" 1 "$py" "$peers/tabulate.py" --inc inc.lst
  run "floor (tail)" "$runs" 0 tail -q -n +1 "${files[@]}"
  report "$label" 1.5 $((16 * 1024 + (largest + 1023) / 1024)) tabulon-cli gawk python3 "floor (tail)"
  rm -rf d inc.lst expected out
}

selfcheck
if ((quick)); then
  names 1000 11
  inc 1000 200 2000 7
else
  names 1000 11
  names 100000 7
  names 1000000 5
  inc 10000 200 2000 7
  inc 1000 102400 102400 5
fi

echo
echo "tabulon-cli: $cli"
echo "median wall time; ratio to the floor; peak RSS from one extra run"
# Other work on the machine skews the ratios; say how busy it was.
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| workload | tool | median ms | vs floor | peak RSS MiB |"
echo "| --- | --- | ---: | ---: | ---: |"
printf '%s\n' "${rows[@]}"
echo
echo "Targets for tabulon-cli (names ≤ 3× the floor at every size; INC ≤ 1.5× the floor;"
echo "peak memory < 16 MiB plus the largest included file):"
printf '%s\n' "${verdict[@]}"
