#!/usr/bin/env python3
"""The ladder behind its front, as deploy/ladder-stack.sh starts it: nginx on TLS with a
certificate made for the test, quillmark-ladderd behind it. Clients that do not play fair
(slow ones, floods of headers and of logins, half-closed connections, ranges) leave a player's
games and logins answered in time. Every loop is bounded in count and in time.

    tests/deploy/front_test.py --ladderd build/release/bin/quillmark-ladderd
"""

import http.client
import json
import multiprocessing
import socket
import ssl
import threading
import time
import unittest

import ladder_stack

from ladder_stack import Stack, ask, call, solve, wait_until



def guess(stack, i, flooding, answered, refused, statuses):
    """Flooding client i: guesses of mallory's password from 127.0.0.2 on a kept-alive
    connection until flooding is cleared, 20000 guesses are answered in all, or a minute
    has passed. Counts its answers into answered[i], those the server refused into refused;
    in the end puts the statuses it saw into statuses."""
    seen = set()
    give_up = time.monotonic() + 60
    connection = stack.https("127.0.0.2")
    while flooding.is_set() and sum(answered) < 20000 and time.monotonic() < give_up:
        try:
            status, _, _ = call(connection, "POST", "/v2/games/start",
                                {"user": "mallory", "password": "guess%d" % i})
        except (OSError, http.client.HTTPException):
            connection.close()
            connection = stack.https("127.0.0.2")
            continue
        seen.add(status)
        answered[i] += 1
        if status == 403:
            with refused.get_lock():
                refused.value += 1
    connection.close()
    statuses.put(seen)


class Flood:
    """Clients guessing a password through the front, each a process of its own."""

    def __init__(self, stack, clients):
        self.flooding = multiprocessing.Event()
        # Each client's answers, written by that client alone.
        self.answered = multiprocessing.Array("i", clients, lock=False)
        self.refused = multiprocessing.Value("i", 0)  # the guesses that reached the server
        self.statuses = multiprocessing.Queue()
        self.processes = [
            multiprocessing.Process(target=guess, args=(stack, i, self.flooding, self.answered,
                                                        self.refused, self.statuses))
            for i in range(clients)]
        self.seen = None

    def going(self):
        """How many clients have been answered at least once."""
        return sum(1 for count in self.answered if count > 0)

    def start(self):
        self.flooding.set()
        for process in self.processes:
            process.start()
        return self

    def stop(self):
        """Ends the flood; every status its guesses were answered with."""
        if self.seen is None:
            self.flooding.clear()
            self.seen = set()
            for _ in self.processes:
                self.seen |= self.statuses.get(timeout=120)
            for process in self.processes:
                process.join()
        return self.seen


class FrontTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.stack = Stack(ladder_stack.LADDERD).start()
        cls.stack.add_user("alice", "secret")

    @classmethod
    def tearDownClass(cls):
        cls.stack.stop()

    def play_one_game(self, source="127.0.0.1"):
        """A start and a finish of alice's, each answered within the engine's 2 s."""
        connection = self.stack.https(source, timeout=2)
        asked = time.monotonic()
        status, _, body = call(connection, "POST", "/v2/games/start",
                               {"user": "alice", "password": "secret"})
        self.assertEqual(status, 200, body)
        game = json.loads(body)
        status, _, body = call(connection, "POST", "/v2/games/finish",
                               {"user": "alice", "password": "secret",
                                "game_id": game["game_id"], "grid": solve(game["puzzle"])})
        self.assertEqual(status, 200, body)
        self.assertLess(time.monotonic() - asked, 4)
        connection.close()
        return json.loads(body)["seconds"]

    def test_only_the_front_faces_clients_and_only_over_verified_tls(self):
        self.assertGreaterEqual(self.play_one_game(), 0)
        with self.assertRaises(ssl.SSLCertVerificationError):
            raw = socket.create_connection(("127.0.0.1", self.stack.port), timeout=5)
            ssl.create_default_context().wrap_socket(raw, server_hostname="127.0.0.1")
        for address in self.stack.server_addresses:
            self.assertTrue(address.startswith("127.0.0.1:"), address)

    def test_slow_clients_and_header_floods_hold_nobody_up(self):
        until = time.monotonic() + 4
        threads = []

        def trickle():
            with self.stack.connect() as slow:
                for byte in b"POST /v2/games/start HTTP/1.1\r\nX-Slow: aaaaaaaaaaaaaaaaaaaa":
                    if time.monotonic() > until:
                        break
                    slow.sendall(bytes([byte]))
                    time.sleep(0.2)

        refused = []

        def flood():
            while time.monotonic() < until and len(refused) < 100:
                with self.stack.connect() as connection:
                    connection.sendall(b"GET /v2/standings HTTP/1.1\r\nHost: ladder\r\n")
                    line = b"X-Flood: " + b"a" * 1000 + b"\r\n"
                    connection.settimeout(0.001)
                    answer = b""
                    for _ in range(1024):
                        try:
                            connection.sendall(line)
                            answer += connection.recv(4096)
                        except (socket.timeout, ssl.SSLWantReadError):
                            continue
                        except OSError:
                            break
                        if answer:
                            break
                    connection.settimeout(5)
                    try:
                        answer += connection.recv(4096)
                    except OSError:
                        pass
                    refused.append(answer.split(b"\r\n", 1)[0])

        threads = [threading.Thread(target=trickle) for _ in range(10)]
        threads += [threading.Thread(target=flood) for _ in range(2)]
        for thread in threads:
            thread.start()
        time.sleep(0.3)
        for _ in range(3):
            self.assertGreaterEqual(self.play_one_game(), 0)
        for thread in threads:
            thread.join()
        self.assertTrue(refused)
        self.assertEqual(set(refused), {b"HTTP/1.1 400 Bad Request"})

    def test_a_half_closed_finish_is_answered_and_counted(self):
        status, _, body = ask(self.stack, "POST", "/v2/games/start",
                              {"user": "alice", "password": "secret"})
        self.assertEqual(status, 200, body)
        game = json.loads(body)
        finish = json.dumps({"user": "alice", "password": "", "game_id": game["game_id"],
                             "grid": solve(game["puzzle"])}).encode()
        with self.stack.connect() as tls:
            tls.sendall(b"POST /v2/games/finish HTTP/1.1\r\nHost: ladder\r\n"
                        b"Content-Type: application/json\r\nContent-Length: %d\r\n\r\n%s"
                        % (len(finish), finish))
            # The TCP sending side closed under TLS, as a client that is done sending would.
            socket.socket.shutdown(tls, socket.SHUT_WR)
            answer = b""
            try:
                while chunk := tls.recv(4096):
                    answer += chunk
            except (ssl.SSLError, OSError):
                pass
        self.assertTrue(answer.startswith(b"HTTP/1.1 200"), answer)
        self.assertIn(b'"seconds"', answer)
        status, _, body = ask(self.stack, "POST", "/v2/games/finish", finish.decode())
        self.assertEqual((status, json.loads(body)["error"]), (404, "ERRORE_NON_LADDER"))

    def test_a_login_flood_leaves_the_player_in_and_guesses_wait_at_their_address(self):
        def login():
            """A start of alice's from an address of her own: (status, body, seconds taken)."""
            asked = time.monotonic()
            status, _, body = ask(self.stack, "POST", "/v2/games/start",
                                  {"user": "alice", "password": "secret"}, source="127.0.0.3")
            return status, body, time.monotonic() - asked

        # The flood runs in processes of its own, so that the player's login is timed without
        # waiting for this interpreter's lock behind sixteen flooding threads.
        flood = Flood(self.stack, 16).start()
        self.addCleanup(flood.stop)
        # The whole flood under way: every client answered, and the burst of guesses the front
        # lets through answered by the server, which then refuses the address without a hash.
        self.assertTrue(wait_until(
            lambda: flood.going() == 16 and flood.refused.value >= 10))
        waits = []
        for _ in range(3):
            status, body, seconds = login()
            self.assertEqual(status, 200, body)
            waits.append(seconds)
            time.sleep(0.2)
        # The game's client waits 2 s for an answer: a player held up longer than that by the
        # flood would see the ladder fail.
        statuses = flood.stop()
        for seconds in waits:
            self.assertLess(seconds, 2)
        self.assertTrue(statuses)
        self.assertLessEqual(statuses, {403, 429, 503})

        # Wrong passwords from one address: that address must wait, even with the right one;
        # the ladder tells addresses apart by what the front says, not by the front's own.
        guesser = self.stack.https("127.0.0.4")
        for _ in range(4):
            self.assertEqual(call(guesser, "POST", "/v2/games/start",
                                  {"user": "alice", "password": "wrong"})[0], 403)
        self.assertEqual(call(guesser, "POST", "/v2/games/start",
                              {"user": "alice", "password": "secret"})[0], 403)
        guesser.close()
        self.assertEqual(ask(self.stack, "POST", "/v2/games/start",
                             {"user": "alice", "password": "secret"}, source="127.0.0.5")[0], 200)

    def test_ranges_are_ignored_and_refusals_are_json(self):
        connection = self.stack.https("127.0.0.6")
        status, headers, body = call(connection, "GET", "/v2/standings",
                                     headers={"Range": "bytes=0-0,1-1,0-0,2-2"})
        self.assertEqual(status, 200)
        self.assertNotIn("Content-Range", headers)
        self.assertIn("standings", json.loads(body))
        status, headers, body = call(connection, "POST", "/v2/games/start", "x" * 17000)
        self.assertEqual((status, json.loads(body)["error"]), (413, "TOO_LARGE"))
        connection.close()

    def server_count(self, route, status):
        """How many answers of status to route the ladder server gave: its own metrics."""
        host, port = self.stack.server_addresses[0].rsplit(":", 1)
        direct = http.client.HTTPConnection(host, int(port), timeout=10)
        try:
            _, _, body = call(direct, "GET", "/metrics")
        finally:
            direct.close()
        series = 'quillmark_ladder_requests_total{route="%s",status="%d"} ' % (route, status)
        for line in body.splitlines():
            if line.startswith(series):
                return int(float(line[len(series):]))
        return 0

    def test_the_standings_are_cached_for_their_max_age_and_games_never(self):
        connection = self.stack.https("127.0.0.8")
        for target, route in (("/v2/standings?limit=7", "/v2/standings"),
                              ("/standings?limit=7", "/standings")):
            before = self.server_count(route, 200)
            status, headers, first = call(connection, "GET", target)
            self.assertEqual((status, headers.get("X-Cache-Status")), (200, "MISS"), target)
            self.assertEqual(headers["Cache-Control"], "public, max-age=5")
            # Asked again within those seconds, nginx answers alone; on a machine so slow that
            # the answer grew old meanwhile, it is fetched again and the next one is cached.
            asked, hit = 1, None
            while hit is None and asked < 20:
                status, headers, body = call(connection, "GET", target)
                asked += 1
                if headers.get("X-Cache-Status") == "HIT":
                    hit = body
            self.assertEqual(hit, first, target)
            self.assertLess(self.server_count(route, 200) - before, asked, target)
            # nginx answers the tag by itself too.
            status, _, body = call(connection, "GET", target,
                                   headers={"If-None-Match": headers["ETag"]})
            self.assertEqual((status, body), (304, ""), target)

        # A game changes the standings: the cached page gives way to the new one in seconds.
        self.play_one_game("127.0.0.8")
        give_up = time.monotonic() + ladder_stack.PATIENCE
        changed = None
        while changed is None and time.monotonic() < give_up:
            body = call(connection, "GET", "/v2/standings?limit=7")[2]
            if body != first:
                changed = json.loads(body)
            time.sleep(0.25)  # below the front's rate for one client
        self.assertIsNotNone(changed)
        self.assertEqual(changed["standings"][0]["user"], "alice")

        # The games' routes and the version reach the server every time, and say nothing of
        # a cache.
        for method, path, body, route, status in (
                ("POST", "/v2/games/forfeit", {"user": "alice", "password": "", "game_id": "0"},
                 "/v2/games/forfeit", 404),
                ("GET", "/v2/games/start", None, "/v2/games/start", 405),
                ("GET", "/v2/games/finish?limit=7", None, "/v2/games/finish", 405),
                ("GET", "/v2/version", None, "/v2/version", 200)):
            before = self.server_count(route, status)
            for _ in range(3):
                answer, headers, _ = call(connection, method, path, body)
                self.assertEqual(answer, status, path)
                self.assertNotIn("X-Cache-Status", headers)
            self.assertEqual(self.server_count(route, status) - before, 3, path)
        connection.close()

    def test_the_operators_endpoints_answer_on_loopback_only(self):
        connection = self.stack.https("127.0.0.7")
        for method in ("GET", "HEAD"):
            for path in ("/metrics", "/healthz", "/metrics?format=text", "//metrics",
                         "/%6Detrics", "/healthz/../healthz"):
                status, _, body = call(connection, method, path)
                self.assertEqual(status, 404, (method, path, body))
                self.assertNotIn("quillmark_ladder_", body)
        connection.close()

        host, port = self.stack.server_addresses[0].rsplit(":", 1)
        direct = http.client.HTTPConnection(host, int(port), timeout=10)
        status, _, body = call(direct, "GET", "/healthz")
        self.assertEqual((status, json.loads(body)), (200, {"status": "ok"}))
        status, headers, body = call(direct, "GET", "/metrics")
        self.assertEqual(status, 200)
        self.assertTrue(headers["Content-Type"].startswith("text/plain; version=0.0.4"), headers)
        self.assertIn("\n# TYPE quillmark_ladder_requests_total counter\n", body)
        self.assertRegex(
            body, r'\nquillmark_ladder_requests_total\{route="/healthz",status="200"\} [1-9]')
        direct.close()


if __name__ == "__main__":
    ladder_stack.main()
