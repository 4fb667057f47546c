#!/usr/bin/env python3
"""Loopback TCP proxy that delays every chunk a client sends.

An HTTP client sends each request as one chunk and waits for the answer, so
delaying client-to-server data by D ms adds about D ms to every request round
trip, the way a distant server would, while answers flow at loopback speed.
Chunks of one connection keep their order. Listens on 127.0.0.1 only.
"""

import argparse
import asyncio
import signal
import sys


async def pipe(reader, writer, delay):
    try:
        while True:
            data = await reader.read(65536)
            if not data:
                break
            if delay:
                await asyncio.sleep(delay)
            writer.write(data)
            await writer.drain()
    except (ConnectionError, asyncio.CancelledError):
        pass
    finally:
        try:
            writer.close()
        except RuntimeError:
            pass


async def serve(args):
    delay = args.delay_ms / 1000.0

    async def handle(client_reader, client_writer):
        try:
            server_reader, server_writer = await asyncio.open_connection("127.0.0.1", args.target_port)
        except OSError:
            client_writer.close()
            return
        await asyncio.gather(pipe(client_reader, server_writer, delay),
                             pipe(server_reader, client_writer, 0))

    server = await asyncio.start_server(handle, "127.0.0.1", args.listen_port, backlog=512)
    stop = asyncio.Event()
    loop = asyncio.get_running_loop()
    for sig in (signal.SIGTERM, signal.SIGINT):
        loop.add_signal_handler(sig, stop.set)
    async with server:
        await stop.wait()


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--listen-port", type=int, required=True)
    ap.add_argument("--target-port", type=int, required=True)
    ap.add_argument("--delay-ms", type=float, default=5.0)
    asyncio.run(serve(ap.parse_args(argv)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
