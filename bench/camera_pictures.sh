# shellcheck shell=bash disable=SC2154,SC2016 # the caller sets the variables; the $ in single quotes are for bash -c
# The camera-size JPEGs the media and gallery benchmarks share, made once into
# $cache/pics (the caller sets cache, npics, jobs and batch, and has
# libvips-tools and exiv2). A stamp names what was made, so a change of recipe
# makes them again.

orientation() { echo $((1 + $1 % 8)); }
taken() { printf '20%02d:%02d:%02d %02d:%02d:%02d' $((10 + $1 % 14)) $((1 + $1 % 12)) $((1 + $1 % 28)) $(($1 % 24)) $(($1 % 60)) $((($1 * 7) % 60)); }
export -f orientation taken

make_pics() {
  local dir=$cache/pics stamp="$npics JPEG 4000x3000 Q90, EXIF orientation 1-8 and dates, v1"
  [[ -f $dir/.stamp && $(<"$dir/.stamp") == "$stamp" ]] && return
  echo "making $npics JPEGs of 4000×3000 in $dir (once)" >&2
  local start=$SECONDS new=$cache/pics.new
  rm -rf "$new" "$dir"
  mkdir "$new"
  # Blurred noise in three bands: detail like a photo's, so the files are of a
  # camera's size (4-5 MB) and decoding costs what it does for real pictures.
  local b
  for b in 1 2 3; do
    vips gaussnoise "$new/n$b.v" 4400 3300 --mean 128 --sigma 50
    vips gaussblur "$new/n$b.v" "$new/g$b.v" 1.5
    vips cast "$new/g$b.v" "$new/c$b.v" uchar
  done
  vips bandjoin "$new/c1.v $new/c2.v $new/c3.v" "$new/base.v"
  rm "$new"/[ngc]?.v
  seq 1 "$npics" | xargs -P "$jobs" -n "$batch" bash -c '
    for i; do
      f=$(printf "%s/p%03d.jpg" "$0" "$i")
      vips crop "$0/base.v" "$f[Q=90]" $((i * 37 % 400)) $((i * 23 % 300)) 4000 3000
      exiv2 -M"set Exif.Image.Make Ascii Tabulon bench" -M"set Exif.Image.Model Ascii Camera 4000" \
        -M"set Exif.Image.Orientation Short $(orientation "$i")" \
        -M"set Exif.Photo.DateTimeOriginal Ascii $(taken "$i")" "$f"
    done' "$new"
  rm "$new/base.v"
  # What every tool must make: 200 on the longer side, turned as the picture is shown.
  local i
  for i in $(seq 1 "$npics"); do
    if (($(orientation "$i") >= 5)); then
      printf 'p%03d-200.jpg 150 200\n' "$i"
    else
      printf 'p%03d-200.jpg 200 150\n' "$i"
    fi
  done >"$new/.sizes"
  echo "$stamp" >"$new/.stamp"
  mv "$new" "$dir"
  echo "made them in $((SECONDS - start)) s" >&2
}

