"""The ladder stack of deploy/ladder-stack.sh, started in a scratch folder for a test, and a
client that talks to it as the game does: over TLS with the stack's private authority, from
any address of 127.0.0.0/8 (each stands for another client)."""

import argparse
import http.client
import json
import os
import shutil
import socket
import ssl
import subprocess
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
# The quillmark-ladderd the tests run, from their command line (main()).
LADDERD = None
STACK_SCRIPT = os.path.join(HERE, "..", "..", "deploy", "ladder-stack.sh")


class Stack:
    """nginx and N ladder servers in a fresh folder, gone again with stop()."""

    def __init__(self, ladderd, servers=1, extra=()):
        self.folder = tempfile.mkdtemp(prefix="quillmark-stack-")
        self.ladderd = ladderd
        self.servers = servers
        self.extra = list(extra)
        self.url = self.ca_file = None
        self.server_addresses = []

    def run(self, *args, stdin=None):
        return subprocess.run(
            [STACK_SCRIPT, *args, "--dir", self.folder, "--ladderd", self.ladderd, *self.extra],
            input=stdin, capture_output=True, text=True, timeout=120)

    def start(self):
        done = self.run("start", "--port", "0", "--servers", str(self.servers))
        if done.returncode != 0:
            raise RuntimeError("the stack did not start: " + done.stderr)
        values = dict(line.split("=", 1) for line in done.stdout.split() if "=" in line)
        self.url, self.ca_file = values["url"], values["ca_file"]
        self.server_addresses = values["servers"].split(",")
        self.port = int(self.url.rsplit(":", 1)[1])
        return self

    def add_user(self, name, password, enabled=True):
        args = ["admin", "user", "add", name] + (["--enabled"] if enabled else [])
        done = self.run(*args, stdin=password + "\n")
        if done.returncode != 0:
            raise RuntimeError(done.stderr)

    def stop(self, remove=True):
        self.run("stop")
        if remove:
            shutil.rmtree(self.folder, ignore_errors=True)

    def tls_context(self):
        return ssl.create_default_context(cafile=self.ca_file)

    def connect(self, source="127.0.0.1", timeout=10):
        """A TLS socket to the front from source."""
        raw = socket.create_connection(("127.0.0.1", self.port), timeout=timeout,
                                       source_address=(source, 0))
        return self.tls_context().wrap_socket(raw, server_hostname="127.0.0.1")

    def https(self, source="127.0.0.1", timeout=10):
        """An HTTPS connection to the front from source, kept alive between requests."""
        return http.client.HTTPSConnection("127.0.0.1", self.port, timeout=timeout,
                                           context=self.tls_context(),
                                           source_address=(source, 0))


def call(connection, method, path, body=None, headers=None):
    """One request on connection: (status, headers, body as text)."""
    payload = None if body is None else (body if isinstance(body, str) else json.dumps(body))
    sent = {"Content-Type": "application/json"} if payload is not None else {}
    sent.update(headers or {})
    connection.request(method, path, body=payload, headers=sent)
    answer = connection.getresponse()
    return answer.status, dict(answer.getheaders()), answer.read().decode()


def ask(stack, method, path, body=None, headers=None, source="127.0.0.1"):
    """One request on a connection of its own from source: (status, headers, body)."""
    connection = stack.https(source)
    try:
        return call(connection, method, path, body, headers)
    finally:
        connection.close()


# How long a test waits for what it looks for: far more than an idle machine needs, so that a
# busy one (a build beside, the sanitizer) does not fail a sound stack.
PATIENCE = 30


def wait_until(condition, seconds=PATIENCE):
    """Whether condition() came true within seconds, asked again every 20 ms."""
    give_up = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > give_up:
            return False
        time.sleep(0.02)
    return True


def solve(puzzle):
    """The solution of an 81-character puzzle ('.' empty) as 81 digits, or None."""
    cells = [int(c) if c.isdigit() else 0 for c in puzzle]

    def allowed(i):
        row, col = divmod(i, 9)
        box = (row // 3) * 27 + (col // 3) * 3
        seen = {cells[row * 9 + k] for k in range(9)} | {cells[k * 9 + col] for k in range(9)}
        seen |= {cells[box + r * 9 + c] for r in range(3) for c in range(3)}
        return [d for d in range(1, 10) if d not in seen]

    def search():
        empty = [i for i in range(81) if cells[i] == 0]
        if not empty:
            return True
        best = min(empty, key=lambda i: len(allowed(i)))
        for digit in allowed(best):
            cells[best] = digit
            if search():
                return True
        cells[best] = 0
        return False

    return "".join(map(str, cells)) if search() else None


def main():
    """Runs the tests of the calling script: --ladderd PATH (kept as LADDERD), then
    unittest's own arguments."""
    global LADDERD
    import sys
    import unittest
    parser = argparse.ArgumentParser()
    parser.add_argument("--ladderd", required=True)
    options, rest = parser.parse_known_args()
    LADDERD = options.ladderd
    unittest.main(module="__main__", argv=[sys.argv[0]] + rest, verbosity=2)
