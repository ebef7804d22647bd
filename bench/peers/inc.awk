# gawk peer for the INC workload: gawk -v list=LIST -f inc.awk (writes to stdout).
# The list is read up front so every file becomes one entry, empty ones too
# (BEGINFILE/ENDFILE still fire for a file with no records).
BEGIN {
    ORS = ""
    while ((getline name < list) > 0)
        ARGV[ARGC++] = name
    close(list)
    # CR LF or a lone CR ends a line; a final terminator yields no extra record.
    RS = "\r\n|\r"
    printf "<!--Tabulon-->\r\n<table border=\"0\"><tr>\r\n"
}
BEGINFILE {
    if (n > 0 && n % 4 == 0)
        printf "</tr><tr>\r\n"
    n++
    printf "<td>"
}
{ printf "\r\n%s", $0 }
ENDFILE { printf "</td>\r\n" }
END { printf "\r\n</tr></table>\r\n\r\n<!--/Tabulon-->" }
