#!/usr/bin/env bash
# shellcheck disable=SC2016 # the $ in single quotes are for bash -c and exiftool
# Thumbnails and photo metadata: tabulon-cli beside vipsthumbnail, ImageMagick's
# convert -thumbnail and exiftool -p, on pictures this script makes once and keeps.
#
#   bash bench/media_compare.sh [--peers-only] [--before OLD-CLI] [path-to-tabulon-cli]
#
# --peers-only    time the peers (and the start-up of the given tabulon-cli) only
# --before PATH   time an older tabulon-cli beside it in the start-up case
# MEDIA_CACHE=DIR where the pictures are kept (default: build/bench-media)
set -euo pipefail
# q and cmdline: words quoted for hyperfine's command line.
source "$(dirname "${BASH_SOURCE[0]}")/quoting.sh"
# make_pics, orientation and taken: the camera-size pictures, shared with gallery_compare.sh.
source "$(dirname "${BASH_SOURCE[0]}")/camera_pictures.sh"
export LC_ALL=C

usage() { sed -n '3,10s/^# \{0,1\}//p' "$0"; }
die() { echo "media_compare.sh: $*" >&2; exit 1; }

peers_only=0
before=
cli=build/bin/tabulon-cli
while (($#)); do
  case $1 in
    --peers-only) peers_only=1 ;;
    --before) (($# > 1)) || { usage >&2; exit 2; }; before=$2; shift ;;
    -h | --help) usage; exit 0 ;;
    -*) usage >&2; exit 2 ;;
    *) cli=$1 ;;
  esac
  shift
done
[[ -x $cli ]] || die "no executable at $cli (build it, or pass its path)"
cli=$(realpath "$cli")
if [[ -n $before ]]; then
  [[ -x $before ]] || die "no executable at $before (--before)"
  before=$(realpath "$before")
fi
here=$(cd "$(dirname "$0")" && pwd)
cache=${MEDIA_CACHE:-$here/../build/bench-media}

# The peers come from Debian (make bench installs them). /usr/local/bin/convert
# may be a stand-in, so ImageMagick's own is called by its full name.
convert=/usr/bin/convert
missing=()
for tool in vips:libvips-tools vipsthumbnail:libvips-tools exiv2:exiv2 identify:imagemagick \
  exiftool:libimage-exiftool-perl hyperfine:hyperfine; do
  command -v "${tool%%:*}" >/dev/null || missing+=("${tool%%:*} (Debian package ${tool#*:})")
done
[[ -x $convert ]] && "$convert" -version 2>/dev/null | grep -q ImageMagick ||
  missing+=("ImageMagick's $convert (Debian package imagemagick)")
[[ -x /usr/bin/python3 ]] || missing+=("/usr/bin/python3 (Debian package python3)")
if ((${#missing[@]})); then
  printf 'media_compare.sh: missing peer: %s\n' "${missing[@]}" >&2
  die "install them (make bench does), then run again"
fi
py=/usr/bin/python3

npics=300   # camera-size JPEGs
nmeta=10000 # small tagged ones
jobs=$(nproc)
batch=10 # files per vipsthumbnail or convert call, handed out by xargs -P
mkdir -p "$cache"
cache=$(realpath "$cache")
# Inside the cache, so the pictures can be hard-linked in rather than copied.
work=$(mktemp -d "$cache/run.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# A tiny test set, made in parallel; a stamp names what was made, so a change
# of recipe makes them again.
make_meta() {
  local dir=$cache/meta stamp="$nmeta JPEG 64x48, EXIF date and IPTC caption, 100 kinds, v1"
  [[ -f $dir/.stamp && $(<"$dir/.stamp") == "$stamp" ]] && return
  echo "making $nmeta small tagged JPEGs in $dir (once)" >&2
  local start=$SECONDS new=$cache/meta.new
  rm -rf "$new" "$dir"
  mkdir -p "$new/kinds"
  local b
  for b in 1 2 3; do
    vips gaussnoise "$new/n$b.v" 6400 48 --mean 128 --sigma 50
    vips cast "$new/n$b.v" "$new/c$b.v" uchar
  done
  vips bandjoin "$new/c1.v $new/c2.v $new/c3.v" "$new/base.v"
  # A hundred kinds, each tagged by Exiv2 with its own date and caption, then
  # copied a hundred times: 10,000 Exiv2 runs would take minutes.
  seq 0 99 | xargs -P "$jobs" -n 10 bash -c '
    for k; do
      f=$(printf "%s/kinds/k%02d.jpg" "$0" "$k")
      vips crop "$0/base.v" "$f[Q=85]" $((k * 64)) 0 64 48
      exiv2 -M"set Exif.Photo.DateTimeOriginal Ascii $(taken "$k")" \
        -M"set Iptc.Application2.Caption String Harbour at dawn, frame $k" "$f"
    done' "$new"
  rm "$new"/*.v
  "$py" - "$new" "$nmeta" <<'PY'
import os, sys
new = sys.argv[1]
kinds = [open(os.path.join(new, 'kinds', 'k%02d.jpg' % k), 'rb').read() for k in range(100)]
with open(os.path.join(new, '.list'), 'w') as lst:
    for i in range(int(sys.argv[2])):
        name = 'm%05d.jpg' % i
        open(os.path.join(new, name), 'wb').write(kinds[i % 100])
        lst.write(name + '\n')
PY
  local i t
  for i in $(seq 0 99); do
    t=$(taken "$i")
    printf '%s Harbour at dawn, frame %d\n' "${t:0:4}-${t:5:2}-${t:8:2}" "$i"
  done >"$new/.kinds"
  "$py" -c 'import sys; k = open(sys.argv[1]).read().splitlines(); sys.stdout.write("".join(k[i % 100] + "\n" for i in range(int(sys.argv[2]))))' \
    "$new/.kinds" "$nmeta" >"$new/.expected"
  rm -r "$new/kinds" "$new/.kinds"
  echo "$stamp" >"$new/.stamp"
  mv "$new" "$dir"
  echo "made them in $((SECONDS - start)) s" >&2
}

# A tabulon-cli without thumbnails keeps {{THUMB(200)}} as text or refuses -j:
# find that out on one small picture before minutes of timing.
probe() {
  mkdir probe
  vips black probe/x.jpg 64 48 --bands 3
  exiv2 -M"set Exif.Image.Orientation Short 6" -M"set Exif.Photo.DateTimeOriginal Ascii 2021:05:06 07:08:09" \
    -M"set Iptc.Application2.Caption String Probe caption" probe/x.jpg
  local out rc=0 want size
  out=$("$cli" --no-comments --top= --bottom= --new-row= --end-entry= -j 1 \
    --entry '{{THUMB(200)}}|{{THUMBWIDTH(200)}}|{{THUMBHEIGHT(200)}}|{{TAKEN}}|{{CAPTION}}' probe/x.jpg 2>probe/err) || rc=$?
  local hint="build tabulon-cli with thumbnails and photo metadata, or pass --peers-only to time the peers alone"
  ((rc == 0)) || die "$cli does not make thumbnails yet: it exited with $rc: $(head -n 1 probe/err); $hint"
  [[ $out != *'{{'* ]] || die "$cli does not know the thumbnail and metadata placeholders yet (it wrote: $out); $hint"
  [[ -f probe/thumbs/x.jpg-200.jpg ]] || die "$cli made no probe/thumbs/x.jpg-200.jpg (it wrote: $out)"
  size=$(identify -ping -format '%w|%h' probe/thumbs/x.jpg-200.jpg)
  want="probe/thumbs/x.jpg-200.jpg|$size|2021-05-06|Probe caption"
  [[ $out == "$want" && $size == '48|64' ]] || die "$cli wrote '$out' for the probe picture; expected '$want' with a 48×64 thumbnail"
  rm -r probe
}


declare -A secs # by "case|tool"
case_=
# timeit TOOL RUNS WARMUP PREPARE CMDLINE [OUT]: the median of RUNS runs in
# seconds. With PREPARE (a shell command run before each) the command goes
# through the shell too; without, hyperfine execs it (-N), for the runs of
# milliseconds. OUT keeps the standard output, to be checked.
timeit() {
  local label=$1 runs=$2 warmup=$3 prepare=$4 cmd=$5 opts=(-N)
  [[ -z $prepare ]] || opts=(--prepare "$prepare")
  [[ -z ${6:-} ]] || opts+=(--output="$PWD/$6")
  printf '  %-26s' "$label" >&2
  hyperfine "${opts[@]}" --style none --runs "$runs" --warmup "$warmup" --export-json t.json \
    -n "$label" "$cmd" >hf.log 2>&1 || { echo >&2; cat hf.log >&2; die "$label failed"; }
  secs[$case_|$label]=$("$py" -c 'import json,sys; print(json.load(open(sys.argv[1]))["results"][0]["median"])' t.json)
  printf '%9.4f s\n' "${secs[$case_|$label]}" >&2
}

rows=()
verdicts=()
# row TOOL OURS TARGET: a row of the current case; TARGET is the most OURS
# may take as a share of TOOL's time, or empty.
row() {
  local case=$case_ tool=$1 ours=$2 target=$3 ratio=— verdict=
  [[ -n ${secs[$case|$tool]:-} ]] || return 0
  if [[ -n $ours && -n ${secs[$case|$ours]:-} ]]; then
    ratio=$(awk -v a="${secs[$case|$ours]}" -v b="${secs[$case|$tool]}" 'BEGIN { printf "%.3f", a / b }')
    if [[ -n $target ]]; then
      verdict=$(awk -v r="$ratio" -v t="$target" 'BEGIN { print (r <= t ? "met" : "MISSED") }')
      verdicts+=("- $case: $ours takes ${ratio}× the time of $tool (target ≤ $target×): $verdict")
    fi
    ratio=$ratio×
  fi
  [[ -z $target ]] || target=$(awk -v t="$target" 'BEGIN { printf "≤ %s×%s", t, (t < 1 ? sprintf(" (%g× faster)", 1 / t) : "") }')
  rows+=("| $case | $tool | $(printf '%.4f' "${secs[$case|$tool]}") | $ratio | $target |")
}

# The sizes of the thumbnails in pics/thumbs, as identify reads them; tabulon-cli's
# p001.jpg-200.jpg stands for the peers' p001-200.jpg.
thumb_sizes() { identify -ping -format '%f %w %h\n' pics/thumbs/*.jpg | sed 's/\.jpg-200\.jpg /-200.jpg /' | sort; }
check_thumbs() {
  thumb_sizes >sizes
  cmp -s "$cache/pics/.sizes" sizes || {
    diff "$cache/pics/.sizes" sizes | head -n 5 >&2
    die "$1 made thumbnails of other sizes than expected (above: expected <, made >)"
  }
}

thumbnails() {
  case_="thumbnails, $npics JPEG 4000×3000"
  echo "$case_" >&2
  cp -al "$cache/pics" pics 2>/dev/null || cp -a "$cache/pics" pics
  cat pics/*.jpg >/dev/null # into the page cache, for every tool alike
  local fresh='rm -rf pics/thumbs && mkdir pics/thumbs'
  timeit vipsthumbnail 3 0 "$fresh" \
    "ls pics/*.jpg | xargs -P $jobs -n $batch vipsthumbnail -s 200 -o 'thumbs/%s-200.jpg'"
  check_thumbs vipsthumbnail
  # -auto-orient after -thumbnail turns the small picture, as the others do.
  timeit 'convert -thumbnail' 1 0 "$fresh" \
    "ls pics/*.jpg | xargs -P $jobs -n $batch sh -c 'for f do b=\${f##*/}; $convert \"\$f\" -thumbnail 200x200 -auto-orient \"pics/thumbs/\${b%.*}-200.jpg\" || exit 255; done' sh"
  check_thumbs 'convert -thumbnail'
  local entry='<a href="{{FILE}}"><img src="{{THUMB(200)}}" width="{{THUMBWIDTH(200)}}" height="{{THUMBHEIGHT(200)}}"></a>'
  if ((!peers_only)); then
    timeit tabulon-cli 3 0 'rm -rf pics/thumbs' "$(cmdline "$cli" --entry "$entry" -j "$jobs") pics/*.jpg >/dev/null"
    check_thumbs tabulon-cli
    # Its own account of the sizes must match the files it made.
    "$cli" --no-comments --top= --bottom= --new-row= --end-entry= -j "$jobs" \
      --entry '{{THUMB(200)}} {{THUMBWIDTH(200)}} {{THUMBHEIGHT(200)}}{{CRLF}}' pics/*.jpg |
      tr -d '\r' | sed 's|^pics/thumbs/||; s/\.jpg-200\.jpg /-200.jpg /' | sort >said
    cmp -s sizes said || { diff sizes said | head -n 5 >&2; die "tabulon-cli's THUMBWIDTH/THUMBHEIGHT differ from its thumbnails' sizes (above)"; }
  fi
  row tabulon-cli tabulon-cli ''
  row vipsthumbnail tabulon-cli 1.3
  row 'convert -thumbnail' tabulon-cli 0.2

  ((!peers_only)) || return 0
  case_='second run, thumbnails up to date'
  echo "$case_" >&2
  local files=(pics/*.jpg) wentry='<a href="{{FILE}}"><img src="{{FILE}}" width="{{WIDTH}}" height="{{HEIGHT}}"></a>'
  find pics/thumbs -printf '%P %T@\n' | sort >before.lst
  timeit 'tabulon-cli, thumbnails' 10 2 '' "$(cmdline "$cli" --entry "$entry" -j "$jobs" "${files[@]}")"
  timeit 'tabulon-cli, {{WIDTH}}' 10 2 '' "$(cmdline "$cli" --entry "$wentry" -j "$jobs" "${files[@]}")"
  find pics/thumbs -printf '%P %T@\n' | sort >after.lst
  cmp -s before.lst after.lst || die "tabulon-cli made up-to-date thumbnails again"
  row 'tabulon-cli, thumbnails' 'tabulon-cli, thumbnails' ''
  row 'tabulon-cli, {{WIDTH}}' 'tabulon-cli, thumbnails' 2
}

metadata() {
  case_="TAKEN and CAPTION, $(sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<<"$nmeta") JPEG"
  echo "$case_" >&2
  cp -al "$cache/meta" meta 2>/dev/null || cp -a "$cache/meta" meta
  cd meta
  # -fast: stop at the picture data, as a reader of the header segments does.
  local ex=(exiftool -q -fast -d %Y-%m-%d -p '$DateTimeOriginal $Caption-Abstract' -@ .list)
  local ours=("$cli" --no-comments --top= --bottom= --new-row= --end-entry= --entry '{{TAKEN}} {{CAPTION}}{{CRLF}}' -f .list)
  if ((!peers_only)); then
    "${ours[@]}" | tr -d '\r' >out
    cmp -s .expected out || { diff .expected out | head -n 5 >&2; die "tabulon-cli's TAKEN and CAPTION differ from the tags written (above: written <, read >)"; }
    timeit tabulon-cli 10 1 '' "$(cmdline "${ours[@]}")"
  fi
  # One run, about a minute; its output is checked after.
  timeit 'exiftool -p -fast' 1 0 '' "$(cmdline "${ex[@]}")" out
  cmp -s .expected out || { diff .expected out | head -n 5 >&2; die "exiftool did not read the tags the script wrote (above)"; }
  cd ..
  row tabulon-cli tabulon-cli ''
  row 'exiftool -p -fast' tabulon-cli 0.02
}

startup() {
  case_='start-up, names-only list of 1,000'
  echo "$case_" >&2
  /usr/bin/python3 "$here/peers/gen.py" names 1000 names.lst
  timeit tabulon-cli 30 3 '' "$(cmdline "$cli" -f names.lst)"
  [[ -z $before ]] || timeit 'tabulon-cli before' 30 3 '' "$(cmdline "$before" -f names.lst)"
  row tabulon-cli '' ''
  [[ -z $before ]] || row 'tabulon-cli before' tabulon-cli ''
  # A list without the new placeholders must not load the libraries.
  local loaded
  loaded=$(LD_DEBUG=libs "$cli" -f names.lst 2>&1 >/dev/null | grep -oE 'lib(vips|exiv2)[^ ]*' | sort -u | tr '\n' ' ') || true
  verdicts+=("- $case_: libvips or Exiv2 loaded: ${loaded:-none} ($([[ -z $loaded ]] && echo met || echo MISSED))")
}

((peers_only)) || probe
start=$SECONDS
make_pics
make_meta
thumbnails
metadata
startup

echo
echo "tabulon-cli: $cli$( ((peers_only)) && echo ' (start-up only: --peers-only)')"
echo "$(nproc) cores ($(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)); -j $jobs for tabulon-cli,"
echo "xargs -P $jobs -n $batch for vipsthumbnail and convert; every picture in the page cache"
echo "peers: $(vips --version), $(readlink -f "$convert") ($("$convert" -version | sed -n '1s/^Version: //p' | cut -d' ' -f1-2)),"
echo "exiftool $(exiftool -ver); median wall time; this run took $((SECONDS - start)) s"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| case | tool | median s | tabulon-cli ÷ tool | target |"
echo "| --- | --- | ---: | ---: | ---: |"
printf '%s\n' "${rows[@]}"
if ((${#verdicts[@]})); then
  echo
  printf '%s\n' "${verdicts[@]}"
fi
