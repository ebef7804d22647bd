#!/usr/bin/env bash
# shellcheck disable=SC2016 # the $ in single quotes are for bash -c
# The thumbnail gallery beside fgallery on 300 camera-size JPEGs: the time of a
# first run and of a second one with everything up to date; and the weight of
# what a visitor's browser loads before scrolling a gallery of 200 photos (a
# 1366×768 window, on a screen of normal and of double density).
#
#   bash bench/gallery_compare.sh [--photos N] [path-to-tabulon-cli]
#
# --photos N      time the first N photos only (at most 300), for a busy machine
# MEDIA_CACHE=DIR where the pictures are kept (default: build/bench-media),
# shared with media_compare.sh. Installs fgallery, Chromium and selenium from
# Debian when they are missing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/camera_pictures.sh"
export LC_ALL=C

die() { echo "gallery_compare.sh: $*" >&2; exit 1; }
usage() { sed -n '3,13s/^# \{0,1\}//p' "$0"; }
npics=300 # made and kept
ntimed=$npics
if [[ ${1:-} == --photos ]]; then
  if ! [[ ${2:-} =~ ^[1-9][0-9]{0,2}$ ]] || (($2 > npics)); then usage >&2; exit 2; fi
  ntimed=$2
  shift 2
fi
case ${1:-} in -h | --help) usage; exit 0 ;; -*) usage >&2; exit 2 ;; esac
cli=${1:-build/bin/tabulon-cli}
[[ -x $cli ]] || die "no executable at $cli (build it, or pass its path)"
cli=$(realpath "$cli")
here=$(cd "$(dirname "$0")" && pwd)
cache=${MEDIA_CACHE:-$here/../build/bench-media}

py=/usr/bin/python3 # Debian's, which has selenium
missing=()
for tool in fgallery:fgallery tificc:liblcms2-utils vips:libvips-tools exiv2:exiv2 chromium:chromium chromedriver:chromium-driver; do
  command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
done
"$py" -c 'import selenium' 2>/dev/null || missing+=(python3-selenium)
if ((${#missing[@]})); then
  echo "installing ${missing[*]}" >&2
  sudo=$([[ $(id -u) == 0 ]] || echo sudo)
  $sudo apt-get update -q >&2
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
fi

nweight=200 # photos in the second gallery whose page weight is measured
jobs=$(nproc)
# shellcheck disable=SC2034 # make_pics reads it
batch=10
mkdir -p "$cache"
cache=$(realpath "$cache")
make_pics
work=$(mktemp -d "$cache/gallery.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
# Hard links: fgallery is told to keep the originals (-k), and tabulon-cli never writes them.
mkdir photos
for i in $(seq -f %03g 1 "$ntimed"); do ln "$cache/pics/p$i.jpg" photos/; done
cat photos/*.jpg >/dev/null # into the page cache, for both alike

# seconds LOG COMMAND...: runs it once and prints its wall time.
seconds() {
  local log=$1 start=$EPOCHREALTIME took
  shift
  "$@" >"$log" 2>&1 || { tail -n 20 "$log" >&2; die "$1 failed (above)"; }
  took=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
  echo "  $log: $took s" >&2
  echo "$took"
}

# The headline command, run in the pictures' folder so that the page beside
# them links to them. fgallery slim (-s: no copies of the originals, no
# archive), as tabulon-cli writes none.
tabulon() { (cd "$1" && "$cli" --preset thumbnail-gallery --page -r --sort natural -j "$jobs" -o index.html .); }
fgallery_() { fgallery -s -k -j "$jobs" "$1" "$2"; }
declare -A secs
echo "timing the first and the second run on $ntimed photos" >&2
secs[tabulon1]=$(seconds tabulon1.log tabulon photos)
secs[tabulon2]=$(seconds tabulon2.log tabulon photos)
secs[fgallery1]=$(seconds fgallery1.log fgallery_ photos fg)
secs[fgallery2]=$(seconds fgallery2.log fgallery_ photos fg)

# The page weight needs thumbnails of a photo's detail: those of the blurred
# noise above come out nearly flat and tiny. Pictures of 1600×1200 with detail
# at three scales give files of a photo's size (about 650 KB, 15 KB at 240 px).
make_weight_pics() {
  local dir=$cache/weight stamp="$nweight JPEG 1600x1200 Q90, noise at three scales, v2"
  [[ -f $dir/.stamp && $(<"$dir/.stamp") == "$stamp" ]] && return
  echo "making $nweight JPEGs of 1600×1200 in $dir (once)" >&2
  local new=$cache/weight.new b
  rm -rf "$new" "$dir"
  mkdir "$new"
  for b in 1 2 3; do
    vips gaussnoise "$new/fine$b.v" 2000 1500 --mean 0 --sigma 4
    vips gaussnoise "$new/m$b.v" 126 95 --mean 0 --sigma 40
    vips resize "$new/m$b.v" "$new/mr$b.v" 16
    vips extract_area "$new/mr$b.v" "$new/mid$b.v" 0 0 2000 1500
    vips gaussnoise "$new/c$b.v" 33 25 --mean 0 --sigma 50
    vips resize "$new/c$b.v" "$new/cr$b.v" 64
    vips extract_area "$new/cr$b.v" "$new/coarse$b.v" 0 0 2000 1500
    vips sum "$new/fine$b.v $new/mid$b.v $new/coarse$b.v" "$new/s$b.v"
    vips linear "$new/s$b.v" "$new/l$b.v" 1 128
    vips cast "$new/l$b.v" "$new/band$b.v" uchar
  done
  vips bandjoin "$new/band1.v $new/band2.v $new/band3.v" "$new/base.v"
  seq 1 "$nweight" | xargs -P "$jobs" -n "$batch" bash -c '
    for i; do vips crop "$0/base.v" "$(printf "%s/w%03d.jpg[Q=90]" "$0" "$i")" $((i * 37 % 400)) $((i * 23 % 300)) 1600 1200; done' "$new"
  rm "$new"/*.v
  echo "$stamp" >"$new/.stamp"
  mv "$new" "$dir"
}
make_weight_pics
mkdir some few
ln "$cache"/weight/*.jpg some/
ln "$cache"/weight/w00[1-9].jpg "$cache"/weight/w01[0-9].jpg few/
echo "the galleries whose weight is measured: tabulon-cli on $nweight photos, fgallery on 19" >&2
tabulon some >some.log 2>&1 || { cat some.log >&2; die "tabulon-cli failed on $nweight photos"; }
# fgallery's page loads its script, one picture and the few thumbnails in view, whatever the count.
fgallery_ few fgfew >fgfew.log 2>&1 || { tail -n 20 fgfew.log >&2; die "fgallery failed"; }

# What the browser loads, served over HTTP (fgallery's page reads its data
# with a request that file:// refuses): the bytes of every response's body,
# after the page loaded and two quiet seconds for the lazy pictures near the
# view, on a screen of normal and of double density.
echo "measuring page weight in Chromium" >&2
"$py" - "$work" some/index.html fgfew/index.html >weights <<'PY'
import functools, http.server, sys, threading, time
from selenium import webdriver
from selenium.webdriver.chrome.service import Service


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


root, pages = sys.argv[1], sys.argv[2:]
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=root))
threading.Thread(target=server.serve_forever, daemon=True).start()
for density in (1, 2):
    for page in pages:
        options = webdriver.ChromeOptions()
        for arg in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--window-size=1366,768",
                    f"--force-device-scale-factor={density}"):
            options.add_argument(arg)
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        driver.get(f"http://127.0.0.1:{server.server_port}/{page}")
        time.sleep(2)
        sizes = driver.execute_script("""
            return performance.getEntriesByType('navigation').concat(performance.getEntriesByType('resource'))
                .map(e => e.encodedBodySize);""")
        print(f"{page}@{density}", len(sizes), sum(sizes))
        driver.quit()
server.shutdown()
PY

weight() { awk -v p="$1" '$1 == p { printf "%.2f MB in %d files", $3 / 1e6, $2 }' weights; }
echo
echo "$(nproc) cores ($(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)); -j $jobs for both;"
echo "$ntimed JPEGs of 4000×3000 in the page cache; fgallery $(dpkg-query -W -f='${Version}' fgallery) -s -k;"
echo "Chromium $(chromium --version 2>/dev/null | awk '{print $2}'); load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| | first run s | second run s |"
echo "| --- | ---: | ---: |"
echo "| tabulon-cli thumbnail-gallery | ${secs[tabulon1]} | ${secs[tabulon2]} |"
echo "| fgallery | ${secs[fgallery1]} | ${secs[fgallery2]} |"
echo
echo "What a 1366×768 window loads before scrolling, on a screen of normal (1×) and double (2×) density:"
echo "- tabulon-cli, $nweight photos: $(weight some/index.html@1) at 1×, $(weight some/index.html@2) at 2×"
echo "- fgallery, 19 photos: $(weight fgfew/index.html@1) at 1×, $(weight fgfew/index.html@2) at 2×"
