#!/usr/bin/env python3
"""Writes the package's Debian changelog from CHANGELOG.md: one entry per release heading
"## [X.Y.Z] - YYYY-MM-DD", its bullets as the entry's items, wrapped for dpkg's 80 columns.
    debian-changelog.py CHANGELOG.md PACKAGE "Maintainer <mail>" OUT"""
import datetime
import email.utils
import re
import sys
import textwrap

source, package, maintainer, out = sys.argv[1:5]
releases = []
for line in open(source, encoding="utf-8"):
    heading = re.match(r"^## \[(\d+\.\d+\.\d+)\] - (\d{4}-\d{2}-\d{2})", line)
    if heading:
        releases.append((heading.group(1), heading.group(2), []))
    elif releases and line.startswith("- "):
        releases[-1][2].append(line[2:].strip())
    elif releases and line.startswith("  ") and releases[-1][2]:
        releases[-1][2][-1] += " " + line.strip()

with open(out, "w", encoding="utf-8") as changelog:
    for version, day, items in releases:
        changelog.write(f"{package} ({version}) unstable; urgency=medium\n\n")
        for item in items:
            item = item.replace("`", "")
            changelog.write(textwrap.fill(item, width=76, initial_indent="  * ", subsequent_indent="    ",
                                       break_on_hyphens=False) + "\n")
        when = datetime.datetime.strptime(day, "%Y-%m-%d").replace(hour=12, tzinfo=datetime.timezone.utc)
        changelog.write(f"\n -- {maintainer}  {email.utils.format_datetime(when)}\n\n")
