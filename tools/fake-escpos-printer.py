#!/usr/bin/env python3
"""A receipt printer on 127.0.0.1 for trying the program by hand: it keeps each connection's bytes as one
job (job-1.bin, job-2.bin, ... in its folder) and, with --decode, turns a job's raster back into a PBM
picture beside it.

    fake-escpos-printer.py FOLDER           listens on a free port, writes it to FOLDER/port, serves until
                                            killed (or for --seconds)
    fake-escpos-printer.py --decode JOB     writes JOB.pbm; prints the commands and the raster size
"""
import argparse
import os
import socket
import sys
import time


def decode(job: bytes):
    """The commands of an ESC/POS job and its raster bands stacked into rows of bytes."""
    commands, rows, i = [], [], 0
    width = 0
    while i < len(job):
        lead = job[i]
        nxt = job[i + 1] if i + 1 < len(job) else None
        length = 0
        if lead == 0x1B and nxt is not None:
            length = {ord("@"): 2, ord("d"): 3, ord("p"): 5}.get(nxt, 0)
        elif lead == 0x1D and nxt == ord("V"):
            length = 4 if i + 2 < len(job) and job[i + 2] >= 65 else 3
        elif lead == 0x1D and nxt == ord("v") and i + 7 < len(job) and job[i + 2] == ord("0"):
            band_bytes = job[i + 4] | job[i + 5] << 8
            band_rows = job[i + 6] | job[i + 7] << 8
            end = i + 8 + band_bytes * band_rows
            if end > len(job):
                raise ValueError(f"band cut short at byte {i}")
            width = max(width, band_bytes)
            for r in range(band_rows):
                start = i + 8 + r * band_bytes
                rows.append(job[start:start + band_bytes])
            commands.append(f"raster {band_bytes * 8}x{band_rows}")
            i = end
            continue
        if length == 0 or i + length > len(job):
            raise ValueError(f"unknown byte 0x{lead:02x} at {i}")
        commands.append(job[i:i + length].hex(" "))
        i += length
    return commands, [row.ljust(width, b"\0") for row in rows], width


def write_pbm(path, rows, width_bytes):
    with open(path, "wb") as out:
        out.write(b"P4\n%d %d\n" % (width_bytes * 8, len(rows)))
        for row in rows:
            out.write(row)


def serve(folder, seconds):
    os.makedirs(folder, exist_ok=True)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    listener.settimeout(0.5)
    with open(os.path.join(folder, "port.tmp"), "w") as f:
        f.write(str(listener.getsockname()[1]))
    os.replace(os.path.join(folder, "port.tmp"), os.path.join(folder, "port"))
    deadline = time.monotonic() + seconds
    jobs = 0
    while time.monotonic() < deadline:
        try:
            connection, _ = listener.accept()
        except socket.timeout:
            continue
        connection.settimeout(10)
        data = bytearray()
        try:
            while True:
                chunk = connection.recv(65536)
                if not chunk:
                    break
                data += chunk
        except OSError:
            pass
        connection.close()
        jobs += 1
        with open(os.path.join(folder, f"job-{jobs}.bin"), "wb") as f:
            f.write(data)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("target", help="the folder to serve into, or the job to decode")
    parser.add_argument("--decode", action="store_true")
    parser.add_argument("--seconds", type=float, default=600, help="stop after this long")
    args = parser.parse_args()
    if not args.decode:
        serve(args.target, args.seconds)
        return 0
    with open(args.target, "rb") as f:
        job = f.read()
    try:
        commands, rows, width = decode(job)
    except ValueError as error:
        print(f"{args.target}: {error}", file=sys.stderr)
        return 1
    write_pbm(args.target + ".pbm", rows, width)
    print(f"{args.target}: {len(job)} bytes, raster {width * 8}x{len(rows)}, "
          f"first {commands[0]}, last {commands[-2]} / {commands[-1]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
