#!/usr/bin/env python3
"""Mounts an empty folder at argv[1] whose file system stops answering once
the folder is opened, for argv[2] seconds: a share gone away. Prints
"mounted", then "opened" when the folder was opened. Needs /dev/fuse and the
right to mount; says why and exits with 1 otherwise."""
import ctypes
import os
import struct
import sys
import time

mountpoint, stall = sys.argv[1], float(sys.argv[2])
try:
    fd = os.open("/dev/fuse", os.O_RDWR)
except OSError as e:
    sys.exit(f"no FUSE: {e}")
libc = ctypes.CDLL(None, use_errno=True)
options = f"fd={fd},rootmode=40000,user_id={os.getuid()},group_id={os.getgid()}".encode()
if libc.mount(b"stalling", mountpoint.encode(), b"fuse", 6, options) != 0:  # nosuid, nodev
    sys.exit(f"no FUSE mount: {os.strerror(ctypes.get_errno())}")
print("mounted", flush=True)

# The root folder's fuse_attr: inode 1, mode drwxr-xr-x, two links.
root = struct.pack("<6Q10I", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0o40755, 2, 0, 0, 0, 4096, 0)
while True:
    try:
        request = os.read(fd, 1 << 21)
    except OSError:
        break  # unmounted
    _, opcode, unique = struct.unpack_from("<IIQ", request)
    body, error = b"", 0
    if opcode in (2, 36, 42):  # FORGET, INTERRUPT, BATCH_FORGET: no answer
        continue
    if opcode == 26:  # INIT: protocol 7.31
        body = struct.pack("<4I2H2I2H2I", 7, 31, 0, 0, 0, 0, 4096, 1, 0, 0, 0, 0) + bytes(24)
    elif opcode == 3:  # GETATTR
        body = struct.pack("<Q2I", 1, 0, 0) + root
    elif opcode == 1:  # LOOKUP: the folder is empty
        error = -2
    elif opcode == 27:  # OPENDIR
        body = bytes(16)
    elif opcode != 29:  # anything but RELEASEDIR
        error = -38
    os.write(fd, struct.pack("<IiQ", 16 + len(body), error, unique) + body)
    if opcode == 27:
        print("opened", flush=True)
        time.sleep(stall)  # the listing's request waits, unread
