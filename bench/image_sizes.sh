#!/usr/bin/env bash
# {{WIDTH}} and {{HEIGHT}} over 10,000 images, beside ImageMagick's identify
# (-ping reads headers only) and exiftool on the same files; all three must
# report the same sizes.
#
#   bash bench/image_sizes.sh [path-to-tabulon-cli]   (default build/bin/tabulon-cli)
set -euo pipefail
export LC_ALL=C
cli=$(realpath "${1:-build/bin/tabulon-cli}")
need=()
command -v identify >/dev/null || need+=(imagemagick)
command -v exiftool >/dev/null || need+=(libimage-exiftool-perl)
command -v hyperfine >/dev/null || need+=(hyperfine)
if ((${#need[@]})); then
  sudo=()
  ((EUID == 0)) || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir img
# Real PNG and GIF files of many sizes, made without any image tool.
/usr/bin/python3 - <<'PY'
import struct, zlib
def chunk(t, d): return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
for i in range(10000):
    w, h = 1 + i % 97, 1 + (i * 7) % 89
    if i % 2:
        raw = b''.join(b'\x00' + b'\x80' * (3 * w) for _ in range(h))
        data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0)) + \
               chunk(b'IDAT', zlib.compress(raw, 1)) + chunk(b'IEND', b'')
        name = 'img/p%05d.png' % i
    else:
        data = b'GIF89a' + struct.pack('<HH', w, h) + b'\x00\x00\x00' + \
               b',' + struct.pack('<HHHH', 0, 0, w, h) + b'\x00\x02\x02D\x01\x00;'
        name = 'img/g%05d.gif' % i
    open(name, 'wb').write(data)
PY
ls img/* > list
sync

"$cli" --no-comments --top= --bottom= --new-row= --entry '{{FILE}} {{WIDTH}} {{HEIGHT}}' --end-entry $'\n' \
  -f list | tr -d '\r' > ours.txt
xargs identify -ping -format '%d/%f %w %h\n' < list > identify.txt
exiftool -q -p '$Directory/$FileName $ImageWidth $ImageHeight' -@ list > exiftool.txt
cmp ours.txt identify.txt
cmp ours.txt exiftool.txt
echo "all three report the same sizes for $(wc -l < list) images"

hyperfine -N --warmup 1 --runs 5 --export-markdown times.md \
  -n tabulon-cli "$cli --no-comments --entry {{WIDTH}}x{{HEIGHT}} -f list -o out.txt" \
  -n 'identify -ping' "xargs -a list identify -ping -format %w,%h;" \
  -n 'exiftool -p' "exiftool -q -p \$ImageWidth -@ list" >/dev/null
cat times.md
