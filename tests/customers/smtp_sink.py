"""A real SMTP server for the mail tests: aiosmtpd on a free local port, keeping each message
it takes as three files in the folder given (N.from, N.rcpt, N.data with the bytes after the
server's own dot handling). Prints the port, then serves until its standard input closes."""

import os
import socket
import sys

from aiosmtpd.controller import Controller


class Sink:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        with open(base + ".data", "wb") as data:
            data.write(envelope.original_content)
        with open(base + ".rcpt", "w") as rcpt:
            rcpt.write("\n".join(envelope.rcpt_tos))
        with open(base + ".from", "w") as sender:
            sender.write(envelope.mail_from)
        return "250 OK"


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def main():
    # Test programs run side by side: a port found free may be taken before the server binds it.
    for attempt in range(20):
        port = free_port()
        controller = Controller(Sink(sys.argv[1]), hostname="127.0.0.1", port=port)
        try:
            controller.start()
            break
        except OSError:
            continue
    else:
        sys.exit("no free port")
    print(port, flush=True)
    sys.stdin.read()
    controller.stop()


main()
