#!/usr/bin/env python3
"""A Linux-side SSTP client for the end-to-end suite: it proves that the cat's TCP door is
reachable from outside Wine, on the real loopback interface.

The suite (a Windows program under Wine) hands it work through a folder:
  <id>.send  the bytes of a request: sent whole, then the answer is read until the server
             closes; the answer goes to <id>.answer
  <id>.half  bytes sent and nothing more, the connection kept open: the milliseconds until
             the server closed it go to <id>.closed
A connection that cannot be made writes <id>.refused. Results appear whole (written, then
renamed). The client ends when the folder's file "stop" appears or after its time bound.
"""
import os
import socket
import sys
import time

PORT = 9801
READ_BOUND_S = 10.0


def publish(folder, name, data):
    tmp = os.path.join(folder, name + ".tmp")
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, os.path.join(folder, name))


def read_until_closed(sock):
    sock.settimeout(READ_BOUND_S)
    received = b""
    while True:
        chunk = sock.recv(65536)
        if not chunk:
            return received
        received += chunk


def serve(folder, job):
    stem, kind = os.path.splitext(job)
    path = os.path.join(folder, job)
    with open(path, "rb") as f:
        data = f.read()
    os.remove(path)
    try:
        sock = socket.create_connection(("127.0.0.1", PORT), timeout=READ_BOUND_S)
    except OSError:
        publish(folder, stem + ".refused", b"")
        return
    with sock:
        sock.sendall(data)
        started = time.monotonic()
        try:
            answer = read_until_closed(sock)
        except OSError:
            answer = b"<no close>"
        if kind == ".send":
            publish(folder, stem + ".answer", answer)
        else:
            elapsed = int((time.monotonic() - started) * 1000)
            publish(folder, stem + ".closed", str(elapsed).encode())


def main():
    folder = sys.argv[1]
    bound = float(sys.argv[2]) if len(sys.argv) > 2 else 3600.0
    os.makedirs(folder, exist_ok=True)
    end = time.monotonic() + bound
    while time.monotonic() < end and not os.path.exists(os.path.join(folder, "stop")):
        jobs = sorted(j for j in os.listdir(folder) if j.endswith((".send", ".half")))
        for job in jobs:
            serve(folder, job)
        if not jobs:
            time.sleep(0.05)


if __name__ == "__main__":
    main()
