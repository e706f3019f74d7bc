#!/usr/bin/env python3
# Mounts an empty folder at argv[1] that stops answering for argv[2] seconds
# once it is opened (a share gone away); prints "mounted", then "opened".
import ctypes, os, struct, sys, time

mountpoint, stall = sys.argv[1], float(sys.argv[2])
fd = os.open("/dev/fuse", os.O_RDWR)
libc = ctypes.CDLL(None, use_errno=True)
options = f"fd={fd},rootmode=40000,user_id={os.getuid()},group_id={os.getgid()}".encode()
if libc.mount(b"stalling", mountpoint.encode(), b"fuse", 6, options) != 0:  # nosuid, nodev
    sys.exit(f"no FUSE mount: {os.strerror(ctypes.get_errno())}")
print("mounted", flush=True)
root = struct.pack("<6Q10I", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0o40755, 2, 0, 0, 0, 4096, 0)  # drwxr-xr-x
while True:
    _, opcode, unique = struct.unpack_from("<IIQ", os.read(fd, 1 << 21))
    if opcode in (2, 36, 42):  # FORGET, INTERRUPT, BATCH_FORGET: no answer
        continue
    body = {26: struct.pack("<4I2H2I2H2I", 7, 31, 0, 0, 0, 0, 4096, 1, 0, 0, 0, 0) + bytes(24),  # INIT
            3: struct.pack("<Q2I", 1, 0, 0) + root, 27: bytes(16), 29: b""}.get(opcode)  # GETATTR, OPENDIR, RELEASEDIR
    error = -2 if opcode == 1 else 0 if body is not None else -38  # LOOKUP: empty; others: not implemented
    os.write(fd, struct.pack("<IiQ", 16 + len(body or b""), error, unique) + (body or b""))
    if opcode == 27:
        print("opened", flush=True)
        time.sleep(stall)  # the listing's request waits, unread
