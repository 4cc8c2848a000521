# Sums the instructions (Ir) that callgrind counted in each binary object, as self cost:
# the inclusive cost line after each "calls=" line is skipped. Prints "count object" lines.
/^ob=/ {
    entry = substr($0, 4)
    if (match(entry, /^\([0-9]+\)/)) {
        id = substr(entry, RSTART, RLENGTH)
        rest = substr(entry, RLENGTH + 1)
        sub(/^ /, "", rest)
        if (rest != "") names[id] = rest
        object = (id in names) ? names[id] : id
    } else {
        object = entry
    }
    next
}
/^cob=/ {
    entry = substr($0, 5)
    if (match(entry, /^\([0-9]+\)/)) {
        id = substr(entry, RSTART, RLENGTH)
        rest = substr(entry, RLENGTH + 1)
        sub(/^ /, "", rest)
        if (rest != "") names[id] = rest
    }
    next
}
/^calls=/ { skip = 1; next }
/^[0-9+*-]/ {
    if (skip) { skip = 0; next }
    if (NF >= 2) cost[object] += $2
    next
}
END { for (o in cost) printf "%d %s\n", cost[o], o }
