#!/usr/bin/env python3
"""A mail server on loopback for the tests.

Usage: smtp_sink.py FOLDER
Listens on 127.0.0.1 on a free port, prints "PORT <n>" once it accepts
connections, and writes every message it receives to FOLDER as one JSON file
(envelope, the headers as a mail reader decodes them, and the decoded body).
Runs until it is killed.
"""
import asyncio
import email
import json
import os
import socket
import sys
import time
from email import policy

from aiosmtpd.controller import Controller


class Sink:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        raw = envelope.original_content or envelope.content
        msg = email.message_from_bytes(raw, policy=policy.default)
        body = msg.get_content() if not msg.is_multipart() else None
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "from": str(msg["From"]),
            "to": str(msg["To"]),
            "cc": str(msg["Cc"]) if msg["Cc"] is not None else None,
            "subject": str(msg["Subject"]),
            "headers": raw.split(b"\r\n\r\n", 1)[0].decode("ascii", "replace"),
            "content_type": msg.get_content_type(),
            "charset": msg.get_content_charset(),
            "body": body,
        }
        self.count += 1
        name = os.path.join(self.folder, "mail%04d.json" % self.count)
        with open(name + ".part", "w", encoding="utf-8") as f:
            json.dump(record, f, ensure_ascii=False)
        os.replace(name + ".part", name)
        return "250 Message accepted"


def free_port():
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    port = free_port()
    controller = Controller(Sink(folder), hostname="127.0.0.1", port=port)
    controller.start()
    print("PORT %d" % port, flush=True)
    try:
        while True:
            time.sleep(3600)
    finally:
        controller.stop()


if __name__ == "__main__":
    main()
