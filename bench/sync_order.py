#!/usr/bin/env python3
"""Reads an strace log of one run (strace -f -y -s 4096, see scripts/bench) and
tells, as JSON, how many sync calls it made and whether each new file was
durable before it took its name.

A new file is one this run created or wrote to (through an fd strace names
with -y).
Every rename or link of a new file must come after a sync that covers it:
an fsync or fdatasync of it, a syncfs of its file system or a sync(), each
begun after the file's last write ended and ended before the rename began.
Its folder must be synced after the rename (an fsync of the folder, or a
syncfs or sync covering it) before the run ends. A rename or link of a file
the run did not write (an old photograph parked under a second name) puts
nothing new in place and is only counted.

The log's lines are in the order strace saw the calls begin and end, which
keeps the order of any two calls where one waited for the other (a thread
that waits for another thread's sync); the check relies only on that order.

usage: sync_order.py LOG CWD   (CWD: the folder the traced run started in)
"""

import json
import os
import re
import sys

SYNC_CALLS = {"fsync", "fdatasync", "syncfs", "sync", "msync"}
# The calls that change a file's content, by the fd they write to: the first
# fd argument, or the last for copy_file_range (its second is the output).
WRITE_CALLS = {"write", "pwrite64", "writev", "pwritev", "pwritev2", "ftruncate", "fallocate",
               "sendfile", "copy_file_range"}
OPEN_CALLS = {"open", "openat", "creat"}
PLACE_CALLS = {"rename", "renameat", "renameat2", "link", "linkat"}

LINE = re.compile(r"^(\d+)\s+(?:<\.\.\. (\w+) resumed>|(\w+)\()(.*)$")
FD_PATH = re.compile(r"^(-?\d+|AT_FDCWD)(?:<([^>]*)>)?")
DECORATED_FD = re.compile(r"(?:^|, )-?\d+<([^>]*)>")
STRING = r'"((?:[^"\\]|\\.)*)"'
DIRFD = r"(AT_FDCWD|-?\d+)(?:<([^>]*)>)?"
TWO_PATHS = re.compile(rf"^{STRING}, {STRING}")
TWO_PATHS_AT = re.compile(rf"^{DIRFD}, {STRING}, {DIRFD}, {STRING}")
OPENED = re.compile(r"\) += (\d+)<([^>]*)>")
EVERY_DEVICE = "every"  # what sync() covers


def unescape(text):
    """strace's C escapes back to the path's bytes, as a str."""
    raw = text.encode("latin-1", "backslashreplace").decode("unicode_escape")
    return raw.encode("latin-1").decode("utf-8", "surrogateescape")


class Run:
    def __init__(self, cwd):
        self.cwd = cwd
        self.step = 0
        self.syncs = 0
        self.last_write = {}   # path -> step its last write ended
        self.file_syncs = {}   # path -> [(begin, end)] of fsync or fdatasync
        self.fs_syncs = []     # (begin, end, device: EVERY_DEVICE, or None when unknown)
        self.folder_syncs = {}  # folder -> [begin] of each fsync of the folder
        self.placed = []       # (end, destination) of each new file put in place
        self.unsynced = []     # renames or links of a new file not synced first
        self.parked = 0
        self.open_calls = {}   # (pid, call) -> (begin, args of its first part)

    def absolute(self, path, base=None):
        path = os.path.join(base or self.cwd, path)
        folder, name = os.path.split(os.path.normpath(path))
        return os.path.join(os.path.realpath(folder), name)

    def device(self, path):
        try:
            return os.stat(path).st_dev
        except OSError:
            return None

    def fs_syncs_of(self, path):
        """The (begin, end) of each sync of the file system that holds path."""
        dev = self.device(os.path.dirname(path))
        return [(begin, end) for begin, end, device in self.fs_syncs
                if device == EVERY_DEVICE or (device is not None and device == dev)]

    def covered(self, path, after, before):
        """Whether a sync begun after `after` and ended before `before` covers path."""
        syncs = self.file_syncs.get(path, []) + self.fs_syncs_of(path)
        return any(after < begin and end < before for begin, end in syncs)

    def call(self, name, args, begin, end):
        if name in SYNC_CALLS:
            self.syncs += 1
            fd = FD_PATH.match(args)
            path = fd.group(2) if fd else None
            if name == "sync":
                self.fs_syncs.append((begin, end, EVERY_DEVICE))
            elif name == "syncfs" and path:
                self.fs_syncs.append((begin, end, self.device(path)))
            elif name in ("fsync", "fdatasync") and path:
                self.file_syncs.setdefault(path, []).append((begin, end))
                self.folder_syncs.setdefault(path, []).append(begin)
        elif name in WRITE_CALLS:
            fds = DECORATED_FD.findall(args)
            if fds:
                self.last_write[fds[-1] if name == "copy_file_range" else fds[0]] = end
        elif name in OPEN_CALLS:
            opened = OPENED.search(args)
            if opened and (name == "creat" or re.search(r"O_CREAT|O_TRUNC", args)):
                self.last_write[opened.group(2)] = end
        elif name in PLACE_CALLS:
            self.place(name, args, begin, end)

    def place(self, name, args, begin, end):
        if name in ("rename", "link"):
            match = TWO_PATHS.match(args)
            if not match:
                return
            paths, bases = match.groups(), (None, None)
        else:
            match = TWO_PATHS_AT.match(args)
            if not match:
                return
            _, base1, path1, _, base2, path2 = match.groups()
            paths, bases = (path1, path2), (base1, base2)
        source, target = (self.absolute(unescape(p), b) for p, b in zip(paths, bases))
        if source not in self.last_write:
            self.parked += 1
            return
        written = self.last_write[source]
        if not self.covered(source, written, begin):
            self.unsynced.append(f"{name} {source} -> {target}")
        # The content now has the target's name too (a rename: only that).
        self.last_write[target] = written
        if name.startswith("rename"):
            self.file_syncs[target] = self.file_syncs.pop(source, [])
            del self.last_write[source]
        self.placed.append((end, target))

    def folder_synced_after(self, target, placed):
        """Whether a sync of target's folder began after it was put in place."""
        syncs = self.folder_syncs.get(os.path.dirname(target), []) + [
            begin for begin, _ in self.fs_syncs_of(target)]
        return any(placed < begin for begin in syncs)

    def line(self, text):
        match = LINE.match(text)
        if not match:
            return
        self.step += 1
        pid, resumed, name, rest = match.groups()
        if resumed:
            begin, head = self.open_calls.pop((pid, resumed), (self.step, ""))
            self.call(resumed, head + rest, begin, self.step)
        elif rest.endswith("<unfinished ...>"):
            self.open_calls[(pid, name)] = (self.step, rest[: -len("<unfinished ...>")])
        else:
            self.call(name, rest, self.step, self.step)


def main():
    log, cwd = sys.argv[1], sys.argv[2]
    run = Run(cwd)
    with open(log, encoding="latin-1") as lines:
        for text in lines:
            run.line(text.rstrip("\n"))
    folders_unsynced = [t for end, t in run.placed if not run.folder_synced_after(t, end)]
    json.dump({
        "sync_calls": run.syncs,
        "placed": len(run.placed),
        "placed_unsynced": run.unsynced[:10],
        "placed_unsynced_count": len(run.unsynced),
        "folders_unsynced": folders_unsynced[:10],
        "folders_unsynced_count": len(folders_unsynced),
        "parked": run.parked,
    }, sys.stdout, indent=1)
    print()


if __name__ == "__main__":
    main()
