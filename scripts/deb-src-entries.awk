# Prints deb-src entries (deb822 stanzas) for the package archives that the system's own apt
# sources name, so that `apt-get source` fetches from the same mirror the machine already uses.
# Reads deb822 files (*.sources) and one-line files (sources.list); every other name counts as
# one-line. Left out: disabled entries, the security suites (the release and its updates carry the
# sources the build needs), and suites that the system already offers as deb-src.
# Usage: awk -f deb-src-entries.awk /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list

function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t]+$/, "", s); return s }

function has_word(list, word,    n, i, w) {
    n = split(list, w, /[ \t]+/)
    for (i = 1; i <= n; i++) if (w[i] == word) return 1
    return 0
}

function reset_stanza() { types = uris = suites = components = signed = enabled = field = "" }

# Keeps the stanza read so far (deb822) as an entry.
function keep_stanza(    n, i, s) {
    if (uris != "" && suites != "" && enabled != "no") {
        if (has_word(types, "deb-src")) {
            n = split(suites, s, /[ \t]+/)
            for (i = 1; i <= n; i++) offered[uris SUBSEP s[i]] = 1
        }
        if (has_word(types, "deb")) add_entry(uris, suites, components, signed)
    }
    reset_stanza()
}

function add_entry(u, s, c, k) {
    count++
    entry_uris[count] = u; entry_suites[count] = s; entry_components[count] = c; entry_signed[count] = k
}

FNR == 1 { keep_stanza(); deb822 = FILENAME ~ /\.sources$/ }

deb822 && /^[ \t]*#/ { next }
deb822 && /^[ \t]*$/ { keep_stanza(); next }
deb822 && /^[ \t]/ {
    # A continuation line: only a Signed-By key block spans lines.
    if (field == "signed-by") signed = signed "\n" $0
    next
}
deb822 {
    colon = index($0, ":")
    if (colon == 0) next
    field = tolower(trim(substr($0, 1, colon - 1)))
    value = trim(substr($0, colon + 1))
    if (field == "types") types = value
    else if (field == "uris") uris = value
    else if (field == "suites") suites = value
    else if (field == "components") components = value
    else if (field == "signed-by") signed = value
    else if (field == "enabled") enabled = tolower(value)
    next
}

# One-line form: "deb [option=value ...] URI SUITE COMPONENT..."
{
    line = $0
    sub(/#.*/, "", line)
    kind = ""; key = ""; uri = ""; suite = ""; comps = ""
    n = split(line, word, /[ \t]+/)
    i = 1
    if (word[i] == "") i++
    kind = word[i++]
    if (kind != "deb" && kind != "deb-src") next
    if (substr(word[i], 1, 1) == "[") {
        for (; i <= n; i++) {
            option = word[i]
            gsub(/[][]/, "", option)
            if (tolower(substr(option, 1, 10)) == "signed-by=") key = substr(option, 11)
            if (word[i] ~ /\]$/) { i++; break }
        }
    }
    uri = word[i++]; suite = word[i++]
    for (; i <= n; i++) if (word[i] != "") comps = comps (comps == "" ? "" : " ") word[i]
    if (uri == "" || suite == "") next
    if (kind == "deb-src") offered[uri SUBSEP suite] = 1
    else add_entry(uri, suite, comps, key)
}

END {
    keep_stanza()
    printed = 0
    for (e = 1; e <= count; e++) {
        wanted = ""
        n = split(entry_suites[e], s, /[ \t]+/)
        for (i = 1; i <= n; i++)
            if (s[i] !~ /-security$/ && !((entry_uris[e] SUBSEP s[i]) in offered) && !has_word(wanted, s[i]))
                wanted = wanted (wanted == "" ? "" : " ") s[i]
        if (wanted == "") continue
        if (printed++) print ""
        print "Types: deb-src"
        print "URIs: " entry_uris[e]
        print "Suites: " wanted
        print "Components: " entry_components[e]
        if (entry_signed[e] != "") print "Signed-By:" (entry_signed[e] ~ /^\n/ ? "" : " ") entry_signed[e]
    }
}
