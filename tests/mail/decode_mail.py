#!/usr/bin/env python3
"""Decodes a received message with Python's own email package and prints what a mail reader
shows: the headers, the plain body and each attachment's name and bytes in hexadecimal."""
import email
import email.policy
import json
import sys

with open(sys.argv[1], "rb") as f:
    message = email.message_from_bytes(f.read(), policy=email.policy.default)
body = message.get_body(("plain",))
print(json.dumps({
    "subject": str(message["subject"]).strip(),
    "from": str(message["from"]),
    "to": str(message["to"]),
    "body": body.get_content() if body is not None else None,
    "defects": [type(d).__name__ for part in message.walk() for d in part.defects],
    "attachments": [{"name": part.get_filename(), "hex": part.get_content().hex()}
                    for part in message.iter_attachments()],
}, ensure_ascii=False))
