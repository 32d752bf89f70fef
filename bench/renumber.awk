# The renumbering in awk, as a yardstick for the driver: run with LC_ALL=C so that toupper folds
# only a..z and bytes pass through unchanged. Same rules: a CR never belongs to a line, the first
# Ctrl-Z ends the input, every line is written with CR LF. One corner differs, as awk cannot see
# whether the last line had a line end: a last line of nothing but CRs and no LF comes out as an
# empty line. The benchmark's inputs have none.
BEGIN { ORS = "\r\n"; area = 0 }
/\r/ { gsub(/\r/, "") }
/\032/ {
    $0 = substr($0, 1, index($0, "\032") - 1)
    if ($0 != "")
        Rewrite()
    exit
}
{ Rewrite() }

function Rewrite(    head) {
    if (length($0) > 5) {
        head = toupper(substr($0, 1, 5))
        if (head == "[AREA") {
            printf "[Area.%03d]\r\n", ++area
            return
        }
        if (head == "LAYER") {
            print "Layer=" area
            return
        }
    }
    print
}
