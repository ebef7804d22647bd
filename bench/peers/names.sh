#!/bin/sh
# sed peer for the names workload: usage names.sh LIST (writes to stdout).
# Every 4th entry but the last is followed by a new-row line.
printf '<!--Tabulon-->\r\n<table border="0"><tr>\r\n'
sed -e 's|.*|<td>&</td>\r|' -e '0~4{$!s|$|\n</tr><tr>\r|}' "$1"
printf '\r\n</tr></table>\r\n\r\n<!--/Tabulon-->'
