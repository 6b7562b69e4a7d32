#!/usr/bin/env python3
"""set_keys.py CONF Section.Key=value ...: sets keys of an INI file in place,
keeping its CRLF line ends; a missing key is added to its section."""
import sys
path, assignments = sys.argv[1], sys.argv[2:]
lines = open(path, "rb").read().decode("utf-8").split("\r\n")
for assignment in assignments:
    name, value = assignment.split("=", 1)
    section, key = name.split(".", 1)
    current, placed, insert_at = None, False, None
    for i, line in enumerate(lines):
        if line.startswith("["):
            if current == section.lower():
                break
            current = line.strip("[]").lower()
            continue
        if current == section.lower():
            if line.split("=", 1)[0].lower() == key.lower():
                lines[i] = key + "=" + value
                placed = True
                break
            if line:
                insert_at = i + 1
    if not placed:
        if insert_at is None:
            sys.exit("no section [%s] in %s" % (section, path))
        lines.insert(insert_at, key + "=" + value)
open(path, "wb").write("\r\n".join(lines).encode("utf-8"))
