# Sourced by the comparison scripts: hyperfine takes each command as one
# line, so every word is single-quoted where it needs to be.
q() {
  if [[ $1 =~ ^[A-Za-z0-9_./=+-]+$ ]]; then printf '%s' "$1"; else printf "'%s'" "${1//\'/\'\\\'\'}"; fi
}
cmdline() {
  local w s=
  for w; do s+="${s:+ }$(q "$w")"; done
  printf '%s' "$s"
}
