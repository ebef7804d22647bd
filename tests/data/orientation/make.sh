#!/usr/bin/env bash
# Makes the pictures of this folder: a 3x2 picture, its top left pixel blue,
# stored unrotated and tagged with each EXIF orientation; odd orientations in
# big-endian (MM) EXIF, even ones in little-endian (II). Then checks that each
# carries its tag and decodes.
#   Needs: imagemagick libimage-exiftool-perl webp libjpeg-turbo-progs
set -euo pipefail
cd "$(dirname "$0")"
convert=/usr/bin/convert # not a stand-in that may come first on PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$convert" -size 3x2 xc:red -fill blue -draw 'point 0,0' -strip -quality 90 "$work/plain.jpg"
"$convert" -size 3x2 xc:red -fill blue -draw 'point 0,0' -strip "$work/plain.png"
cwebp -quiet -q 90 "$work/plain.png" -o "$work/plain.webp"

for o in 1 2 3 4 5 6 7 8; do
    order=II
    ((o % 2)) && order=MM
    rm -f "jpeg-$o.jpg"
    exiftool -q -n -ExifByteOrder=$order -Make=Phone -Orientation=$o -o "jpeg-$o.jpg" "$work/plain.jpg"
done
# PNG keeps EXIF in an eXIf chunk before the image data; WebP in an EXIF
# chunk after it, behind a VP8X header.
rm -f png-6.png webp-6.webp
exiftool -q -n -Orientation=6 -o png-6.png "$work/plain.png"
exiftool -b -EXIF jpeg-6.jpg >"$work/exif"
webpmux -set exif "$work/exif" "$work/plain.webp" -o webp-6.webp 2>/dev/null

for o in 1 2 3 4 5 6 7 8; do
    [[ $(exiftool -s3 -n -Orientation "jpeg-$o.jpg") == "$o" ]]
    djpeg "jpeg-$o.jpg" >/dev/null
done
for f in png-6.png webp-6.webp; do
    [[ $(exiftool -s3 -n -Orientation "$f") == 6 ]]
done
"$convert" png-6.png ppm:- >/dev/null
dwebp -quiet webp-6.webp -o /dev/null
echo "made and checked: $(ls -- *.jpg *.png *.webp | tr '\n' ' ')"
