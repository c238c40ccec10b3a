#!/usr/bin/env python3
"""The driver's --help and its manual page say the same, and say all the driver does.

usage: driver_help.py TERVALEN_CALC MANUAL_PAGE [SOURCE_DIR]

- Every section --help prints (the usage lines, the description, the actions, options,
  exit status and example) is, word for word, in the same section of the manual page as
  man(1) renders it.
- With SOURCE_DIR: every option the driver's command line reads, every action, every member
  of its JSON object and every exit status it returns is in --help (an option added to the
  driver and not to docs/tervalen-calc.md fails here).
"""

import os
import re
import subprocess
import sys

failures = []


def fail(what):
    failures.append(what)
    print("FAIL", what)


def words(text):
    """Words as a reader compares them: typography that troff adds undone."""
    table = str.maketrans({"\u2010": "-", "\u2011": "-", "\u2212": "-", "\u2018": "'",
                           "\u2019": "'", "\u201c": '"', "\u201d": '"', "\u00b4": "'",
                           "\u2013": "-", "\u2014": "-"})
    return text.translate(table).split()


def contains(haystack, needle):
    """Whether the list needle occurs in haystack as one run; else the longest start found."""
    best = 0
    for start in range(len(haystack)):
        n = 0
        while n < len(needle) and start + n < len(haystack) and haystack[start + n] == needle[n]:
            n += 1
        if n == len(needle):
            return True, n
        best = max(best, n)
    return False, best


def help_sections(text):
    """{HEADING: text} of --help: SYNOPSIS from the usage lines, DESCRIPTION the paragraph
    after them, then each "Heading:" line's block."""
    sections = {}
    lines = text.splitlines()
    i = 0
    usage = []
    while i < len(lines) and lines[i].strip():
        usage.append(re.sub(r"^usage:", "", lines[i]))
        i += 1
    sections["SYNOPSIS"] = "\n".join(usage)
    while i < len(lines) and not lines[i].strip():
        i += 1
    description = []
    while i < len(lines) and lines[i].strip():
        description.append(lines[i])
        i += 1
    sections["DESCRIPTION"] = "\n".join(description)
    heading = None
    for line in lines[i:]:
        if re.match(r"^[A-Z][a-z ]*:$", line):
            heading = line[:-1].upper()
            sections[heading] = ""
        elif heading:
            sections[heading] += line + "\n"
        elif line.strip():
            fail(f"--help: a line outside any section: {line!r}")
    return sections


def manual_sections(page):
    env = dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="100", MAN_KEEP_FORMATTING="")
    env.pop("MANPAGER", None)
    env.pop("PAGER", None)
    rendered = subprocess.run(
        ["man", "--no-hyphenation", "--no-justification", "-E", "UTF-8", "-l", page],
        env=env, capture_output=True, text=True, check=True).stdout
    # Bold and underline as terminals get them, should any be left.
    rendered = re.sub(r".\x08", "", rendered)
    rendered = re.sub(r"\x1b\[[0-9;]*m", "", rendered)
    sections = {}
    heading = None
    for line in rendered.splitlines():
        if re.match(r"^[A-Z][A-Z ]+$", line):
            heading = line.strip()
            sections[heading] = ""
        elif heading:
            sections[heading] += line + "\n"
    return sections


def check_agreement(helptext, page):
    shown = help_sections(helptext)
    manual = manual_sections(page)
    for heading in ["SYNOPSIS", "DESCRIPTION", "ACTIONS", "OPTIONS", "EXIT STATUS",
                    "EXAMPLE"]:
        if heading not in shown:
            fail(f"--help has no section {heading}")
    for heading, text in shown.items():
        if heading not in manual:
            fail(f"the manual page has no section {heading} (it has {sorted(manual)})")
            continue
        mine, theirs = words(text), words(manual[heading])
        found, run = contains(theirs, mine)
        if not mine:
            fail(f"--help's section {heading} is empty")
        elif not found:
            fail(f"{heading}: --help and the manual page part after "
                 f"{' '.join(mine[max(0, run - 8):run])!r}: --help goes on "
                 f"{' '.join(mine[run:run + 8])!r}")
    return shown


def check_coverage(shown, source_dir):
    """What the driver's sources read or write, each named in --help."""
    def read(path):
        with open(os.path.join(source_dir, path), encoding="utf-8") as f:
            return f.read()

    main = read("cli/main.cpp")
    action = read("forms/action.cpp")
    options_text = " ".join(words(shown.get("SYNOPSIS", "") + shown.get("OPTIONS", "")))
    actions_text = " ".join(words(shown.get("ACTIONS", "")))
    # Options: compared with an argument (args[i] == "--json").
    options = set(re.findall(r'args\[i\] == "(--[a-z-]+)"', main))
    if not options:
        fail("no option found in cli/main.cpp: the pattern this test reads them by is out "
             "of date")
    for option in sorted(options):
        if not re.search(r"(^|[\s\[|])" + re.escape(option) + r"\b", options_text):
            fail(f"--help does not name the option {option}")
    for verb in sorted(set(re.findall(r'a == "(--[a-z-]+)"', action))):
        if verb not in actions_text.split():
            fail(f"--help does not name the action {verb}")
    # The members of the JSON object: out["member"].
    members = set(re.findall(r'out\["([a-z_]+)"\]', main))
    if len(members) < 5:
        fail(f"only {sorted(members)} found as JSON members in cli/main.cpp")
    for member in sorted(members):
        if not re.search(r"\b" + re.escape(member) + r"\b", options_text):
            fail(f"--help does not name the JSON member {member!r}")
    # Exit statuses: returned as numbers, or as the named constants.
    codes = set(re.findall(r"\breturn (\d+);", main))
    codes |= set(re.findall(r"constexpr int k\w+ = (\d+);", main))
    listed = set(re.findall(r"^  (\d+) ", shown.get("EXIT STATUS", ""), re.M))
    if codes != listed:
        fail(f"exit statuses: the driver returns {sorted(codes, key=int)}, "
             f"--help lists {sorted(listed, key=int)}")


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__)
        return 2
    driver, page = sys.argv[1], sys.argv[2]
    run = subprocess.run([driver, "--help"], capture_output=True, text=True)
    if run.returncode != 0 or run.stderr:
        fail(f"--help exits {run.returncode} with {run.stderr!r}")
    shown = check_agreement(run.stdout, page)
    if len(sys.argv) == 4:
        check_coverage(shown, sys.argv[3])
    if failures:
        print(f"{len(failures)} failed")
        return 1
    print("--help and the manual page agree")
    return 0


if __name__ == "__main__":
    sys.exit(main())
