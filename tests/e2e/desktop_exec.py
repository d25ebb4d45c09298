"""Splits a desktop file's Exec line into the words a file manager runs.

The line is split with shell quoting, as GLib's g_shell_parse_argv does, then
each field code (%f, %i, %o, %s, %u, %%) in a word is replaced by the value
given for it; %u, unless given, is the file URI of the %f or %i path. The words are written to standard output, each ended by a NUL,
for bash's `mapfile -d ''`.

usage: desktop_exec.py EXEC_LINE CODE=VALUE...   (CODE one letter: f=/tmp/a.dxf)
"""
import pathlib
import re
import shlex
import sys

exec_line, *assignments = sys.argv[1:]
codes = {"%": "%"}
for assignment in assignments:
    code, value = assignment.split("=", 1)
    codes[code] = value
path = codes.get("f") or codes.get("i")
if path and "u" not in codes:
    codes["u"] = pathlib.Path(path).resolve().as_uri()
for word in shlex.split(exec_line):
    sys.stdout.write(re.sub(r"%(.)", lambda m: codes[m.group(1)], word) + "\0")
