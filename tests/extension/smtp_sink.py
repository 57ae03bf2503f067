#!/usr/bin/python3
"""A loopback SMTP server for the extension tests.

Every accepted message is stored in the output directory as NNNN.eml (the
message as received), NNNN.headers (one "Name: decoded value" per line),
NNNN.subject and NNNN.body (decoded, UTF-8) and, written last,
NNNN.envelope ("from", "rcpt", "login" and "date" lines). Recipients that
start with "reject" are refused. With --user the server demands a login
(over plain SMTP, as the extension does not use TLS). The server ends by
itself after --lifetime seconds.
"""

import argparse
import asyncio
import email
import email.policy
import logging
import os
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def write_atomically(path, data):
    temporary = path + ".part"
    with open(temporary, "wb") as out:
        out.write(data)
    os.rename(temporary, path)


class StoringHandler:
    def __init__(self, directory):
        self.directory = directory
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, options):
        if address.lower().startswith("reject"):
            return "550 5.1.1 No such mailbox"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        stem = os.path.join(self.directory, "%04d" % self.count)
        raw = envelope.original_content or envelope.content
        message = email.message_from_bytes(raw, policy=email.policy.default)
        headers = "".join("%s: %s\n" % (name, value)
                          for name, value in message.items())
        body = message.get_content() if not message.is_multipart() else ""
        body = body.replace("\r\n", "\n")
        write_atomically(stem + ".eml", raw)
        write_atomically(stem + ".headers", headers.encode("utf-8"))
        write_atomically(stem + ".subject",
                         str(message.get("Subject", "")).encode("utf-8"))
        write_atomically(stem + ".body", body.encode("utf-8"))
        login = session.auth_data if isinstance(session.auth_data, bytes) else b""
        lines = ["from " + (envelope.mail_from or "")]
        lines += ["rcpt " + address for address in envelope.rcpt_tos]
        lines.append("login " + login.decode("utf-8", "replace"))
        try:
            lines.append("date %.0f" % message["Date"].datetime.timestamp())
        except (AttributeError, KeyError, TypeError, ValueError):
            lines.append("date 0")
        write_atomically(stem + ".envelope",
                         ("\n".join(lines) + "\n").encode("utf-8"))
        return "250 2.0.0 Stored"


def make_authenticator(user, password):
    def authenticate(server, session, envelope, mechanism, auth_data):
        if (isinstance(auth_data, LoginPassword)
                and auth_data.login == user.encode()
                and auth_data.password == password.encode()):
            return AuthResult(success=True, auth_data=auth_data.login)
        return AuthResult(success=False, handled=False)
    return authenticate


def main():
    # Plain-text AUTH is what is being tested; its warnings are noise.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--dir", required=True)
    parser.add_argument("--user")
    parser.add_argument("--password", default="")
    parser.add_argument("--lifetime", type=float, default=120.0)
    args = parser.parse_args()

    handler = StoringHandler(args.dir)
    if args.user:
        authenticator = make_authenticator(args.user, args.password)

        def factory():
            return SMTP(handler, hostname="vigil-sink",
                        authenticator=authenticator, auth_required=True,
                        auth_require_tls=False)
    else:
        def factory():
            return SMTP(handler, hostname="vigil-sink")

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    try:
        server = loop.run_until_complete(
            loop.create_server(factory, host="127.0.0.1", port=args.port))
    except OSError as error:
        print("cannot listen: %s" % error, file=sys.stderr)
        return 2
    loop.call_later(args.lifetime, loop.stop)
    try:
        loop.run_forever()
    finally:
        server.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
