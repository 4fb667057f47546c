#!/usr/bin/env python3
"""Loopback TCP proxy that delays every chunk a client sends.

An HTTP client sends each request as one chunk and waits for the answer, so
delaying client-to-server data by D ms adds about D ms to every request round
trip, the way a distant server would, while answers flow at loopback speed.
Chunks of one connection keep their order. Listens on 127.0.0.1 only.

Each direction of each connection has a thread that sleeps until the chunk's
due time. An asyncio loop was used before, but its timers wake on whole
milliseconds and its own work per chunk comes on top, so a 5 ms delay cost
5.85 ms a request; a thread's sleep ends within tens of microseconds.
"""

import argparse
import signal
import socket
import sys
import threading
import time


def pipe(src, dst, delay):
    try:
        while True:
            data = src.recv(65536)
            if not data:
                break
            if delay:
                due = time.monotonic() + delay
                while (left := due - time.monotonic()) > 0:
                    time.sleep(left)
            dst.sendall(data)
    except OSError:
        pass
    finally:
        # Either side ending ends both directions.
        for s in (src, dst):
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass


def connect(target_port):
    s = socket.create_connection(("127.0.0.1", target_port))
    s.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    return s


def serve(args):
    delay = args.delay_ms / 1000.0
    listener = socket.create_server(("127.0.0.1", args.listen_port), backlog=512)
    while True:
        client, _ = listener.accept()
        client.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        try:
            server = connect(args.target_port)
        except OSError:
            client.close()
            continue
        threading.Thread(target=pipe, args=(client, server, delay), daemon=True).start()
        threading.Thread(target=pipe, args=(server, client, 0), daemon=True).start()


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--listen-port", type=int, required=True)
    ap.add_argument("--target-port", type=int, required=True)
    ap.add_argument("--delay-ms", type=float, default=5.0)
    args = ap.parse_args(argv)
    # A thread woken from its sleep must not wait 5 ms for the lock the
    # interpreter holds while another thread runs.
    sys.setswitchinterval(0.0002)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        serve(args)
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
