#!/usr/bin/env python3
"""Decodes a received message with Python's own email package and prints what a mail reader
shows: the headers, the plain body (as text and as its bytes in hexadecimal), each
attachment's name and bytes in hexadecimal, and the longest line of the message as stored."""
import email
import email.policy
import json
import sys

with open(sys.argv[1], "rb") as f:
    raw = f.read()
message = email.message_from_bytes(raw, policy=email.policy.default)
body = message.get_body(("plain",))
print(json.dumps({
    "subject": str(message["subject"]).strip(),
    "from": str(message["from"]),
    "to": str(message["to"]),
    "body": body.get_content() if body is not None else None,
    "bodyHex": body.get_payload(decode=True).hex() if body is not None else None,
    "charset": body.get_content_charset() if body is not None else None,
    "longestLine": max(len(line) for line in raw.split(b"\r\n")),
    "defects": [type(d).__name__ for part in message.walk() for d in part.defects],
    "attachments": [{"name": part.get_filename(), "hex": part.get_content().hex()}
                    for part in message.iter_attachments()],
}, ensure_ascii=False))
