#!/usr/bin/env python3
"""Two ladder servers sharing one PostgreSQL behind the front, under a bounded load of
start-and-finish cycles, while one server after the other is killed (SIGKILL) and started
again, and then while PostgreSQL itself restarts. Every finish answered 200 is recorded with
the time it was answered with, no game is finished twice, every game a start handed out
exists, the front keeps answering through the server left, and the servers find the database
again by themselves.

    tests/deploy/failover_test.py --ladderd build/release/bin/quillmark-ladderd
"""

import http.client
import json
import subprocess
import threading
import time
import unittest

import ladder_stack

from ladder_stack import Stack, call, solve, wait_until

PLAYERS = 4


class Load:
    """PLAYERS players playing start-and-finish cycles through the front until stopped (or
    at most 2000 requests), each on a kept-alive connection made again after a failure. A
    finish that failed is sent once more, as a player's game would retry it."""

    def __init__(self, stack):
        self.stack = stack
        self.running = threading.Event()
        self.lock = threading.Lock()
        self.started = {}  # game id: user
        self.finishes = {}  # game id: [(status, seconds or None)]
        self.answers = []  # (monotonic time asked, time answered, status or None)
        self.threads = [threading.Thread(target=self.play, args=("player%d" % i,))
                        for i in range(PLAYERS)]

    def start(self):
        self.running.set()
        for thread in self.threads:
            thread.start()
        return self

    def stop(self):
        self.running.clear()
        for thread in self.threads:
            if thread.is_alive():
                thread.join()

    def send(self, connection, path, body):
        asked = time.monotonic()
        try:
            status, _, text = call(connection[0], "POST", path, body)
        except (OSError, http.client.HTTPException):
            connection[0].close()
            connection[0] = self.stack.https(timeout=5)
            status, text = None, ""
        with self.lock:
            self.answers.append((asked, time.monotonic(), status))
        return status, text

    def play(self, user):
        connection = [self.stack.https(timeout=5)]
        while self.running.is_set() and len(self.answers) < 2000:
            status, text = self.send(connection, "/v2/games/start",
                                     {"user": user, "password": "secret"})
            if status != 200:
                time.sleep(0.05)
                continue
            game = json.loads(text)
            with self.lock:
                self.started[game["game_id"]] = user
            finish = {"user": user, "password": "secret", "game_id": game["game_id"],
                      "grid": solve(game["puzzle"])}
            for attempt in range(2):
                status, text = self.send(connection, "/v2/games/finish", finish)
                seconds = json.loads(text).get("seconds") if status == 200 else None
                with self.lock:
                    self.finishes.setdefault(game["game_id"], []).append((status, seconds))
                if status in (200, 404, 422):
                    break
                time.sleep(0.1)
        connection[0].close()

    def successes_between(self, begin, end=float("inf")):
        """The requests asked and answered 200 between begin and end."""
        with self.lock:
            return sum(1 for asked, answered, status in self.answers
                       if begin <= asked and answered <= end and status == 200)

    def solved(self):
        with self.lock:
            return sum(1 for answers in self.finishes.values() if answers[-1][0] == 200)

    def answered_since(self, begin):
        """The statuses of the requests asked since begin and answered."""
        with self.lock:
            return [status for asked, _, status in self.answers if asked >= begin]


class FailoverTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # The load comes from one address, which nginx's per-client limits would throttle.
        cls.stack = Stack(ladder_stack.LADDERD, servers=2,
                          extra=["--postgres", "--unlimited", "127.0.0.1"]).start()
        for i in range(PLAYERS):
            cls.stack.add_user("player%d" % i, "secret")

    @classmethod
    def tearDownClass(cls):
        cls.stack.stop()

    def stored_games(self):
        """Every game in the database: id -> (state, seconds)."""
        url = self.stack.run("database").stdout.strip()
        rows = subprocess.run(["psql", url, "-AtF", "|", "-c",
                               "SELECT id, state, seconds FROM games"],
                              capture_output=True, text=True, check=True).stdout.split()
        return {row.split("|")[0]: (row.split("|")[1], row.split("|")[2]) for row in rows}

    def check_every_answer_holds(self, load):
        games = self.stored_games()
        for game_id in load.started:
            self.assertIn(game_id, games)
        for game_id, answers in load.finishes.items():
            solved = [seconds for status, seconds in answers if status == 200]
            self.assertLessEqual(len(solved), 1, (game_id, answers))
            if solved:
                self.assertEqual(games[game_id], ("solved", str(solved[0])), game_id)
            # A retry after a lost answer finds the game already closed, never open twice.
            if len(answers) == 2 and answers[1][0] == 404:
                self.assertIn(games[game_id][0], ("solved", "failed"))
        self.assertGreater(load.solved(), 20)

    def start_playing(self):
        load = Load(self.stack).start()
        self.addCleanup(load.stop)
        self.assertTrue(wait_until(lambda: load.successes_between(0) > 0))
        return load

    def stop_playing(self, load):
        """Stops the load once it has solved enough games to tell."""
        wait_until(lambda: load.solved() > 20)
        load.stop()

    def test_killed_servers_lose_no_answered_finish_and_the_other_keeps_answering(self):
        load = self.start_playing()
        for round in range(4):
            server = 1 + round % 2
            self.assertEqual(self.stack.run("server", str(server), "kill").returncode, 0)
            killed_at = time.monotonic()
            # Meanwhile the front serves the players through the other server.
            self.assertTrue(
                wait_until(lambda: load.successes_between(killed_at) > 0), round)
            self.assertEqual(self.stack.run("server", str(server), "start").returncode, 0)
            # nginx tries a server it found dead again after 2 s (fail_timeout): only then is
            # the killed one back in turn, ready for the other to go.
            time.sleep(2.5)
        self.stop_playing(load)
        self.check_every_answer_holds(load)

    def test_the_servers_find_postgresql_again_after_it_restarts(self):
        load = self.start_playing()
        self.assertEqual(self.stack.run("postgres", "stop").returncode, 0)
        stopped_at = time.monotonic()
        # Every request asked while the database was down was answered with an error.
        self.assertTrue(wait_until(lambda: len(load.answered_since(stopped_at)) >= 8))
        down = load.answered_since(stopped_at)
        self.assertNotIn(200, down)
        self.assertLessEqual(set(down), {None, 500, 502, 504})
        self.assertEqual(self.stack.run("postgres", "start").returncode, 0)
        back_at = time.monotonic()
        # Once it is back, the same servers answer again.
        self.assertTrue(wait_until(lambda: load.successes_between(back_at) > 0))
        self.stop_playing(load)
        self.check_every_answer_holds(load)


if __name__ == "__main__":
    ladder_stack.main()
