# Cuts a text file at its blank lines into seed files out/<sel>-<n>, each
# starting with the byte sel (the parser the hardware library's parser target
# picks by its first byte). Comment-only paragraphs are left out.
BEGIN { RS = ""; ORS = "\n" }
{
    rows = 0
    n = split($0, lines, "\n")
    for (i = 1; i <= n; ++i)
        if (lines[i] !~ /^[ \t]*#/ && lines[i] !~ /^[ \t]*$/)
            ++rows
    if (rows == 0)
        next
    file = sprintf("%s/%d-%03d", out, sel, ++count)
    printf "%c%s\n", sel, $0 > file
    close(file)
}
