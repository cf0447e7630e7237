#!/usr/bin/env python3
"""Writes the small damaged data files the hostile-file tests read. Run from this folder."""
import struct


def field(data, width):
    return (data + b" " * width)[:width]


def record(slot, name, user=b"", password=b"", url=b""):
    return struct.pack("<h", slot) + field(name, 35) + field(user, 35) + field(password, 35) + field(url, 200)


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


write("records-odd-length.dta", record(1, b"alpha") + record(2, b"beta") + b"\x01" * 150)
write("records-invalid-gbk.dta",
      record(1, b"\xff\xfe\x80\x81") + record(2, b"ok-2", b"u2", b"p2")
      + record(3, b"abc" + b" " * 31 + b"\xd6", b"\xd6") + record(4, b"\x81\x20\x81", b"\xfe\xff" * 17 + b"\xfe"))
write("records-nul-inside.dta",
      record(1, b"ab\x00cd") + b"\x00" * 307 + record(3, b"ok-3", b"u\x00u", b"\x00" * 35, b"\x00http://x"))
write("records-bad-recno.dta", record(-1, b"first") + record(0, b"second") + record(9999, b"third"))
write("email-hostile.dta",
      b"ok1@x.org\r\n\xff\xfe@x.org\n\x00\x00\r\r\n  ok2@x.org  \r" + b"\x80" * 40 + b"\n\xd6\r\nok3@x.org")
write("default-hostile.dta", b"\xff\xfe\x00id\xd6\rsecond\n")
