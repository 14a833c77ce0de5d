#!/usr/bin/env python3
"""A real SMTP server for the tests: accepts every message on 127.0.0.1 and writes each one's
bytes to OUT/N.eml. Prints "ready" once it listens; ends on SIGTERM."""
import argparse
import os
import signal
import sys

from aiosmtpd.controller import Controller


class Sink:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        path = os.path.join(self.folder, "%d.eml" % self.count)
        with open(path + ".part", "wb") as out:
            out.write(envelope.content)
        os.rename(path + ".part", path)
        return "250 Message accepted"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=25)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    controller = Controller(Sink(args.out), hostname="127.0.0.1", port=args.port)
    controller.start()
    print("ready", flush=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        signal.pause()
    finally:
        controller.stop()


if __name__ == "__main__":
    main()
