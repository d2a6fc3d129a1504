#!/usr/bin/env python3
"""The standings page in a real browser: headless Chromium through ChromeDriver (Debian's
chromium, chromium-driver and python3-selenium) loads it from a ladder server whose database
was seeded for the test, and finds the players in order, a hostile name shown as text and run
as nothing, links and a form that lead from page to page with no script, and a page that fits
a phone's width.

    tests/deploy/standings_browser_test.py --ladderd build/release/bin/quillmark-ladderd
"""

import os
import shutil
import sqlite3
import subprocess
import tempfile
import time
import unittest

import ladder_stack

PHONE_WIDTH = 360
HOSTILE = "<script>alert(1)</script>"
# A name longer than a phone's line: it must wrap, not widen the page.
LONG = "the.longest.name.a.player.may.have"[:32]


def seed(database):
    """Players and games as the server stores them; the hostile name could never be added
    through the server's own commands, so it goes straight into the file."""
    players = [  # name, [(state, seconds)]
        ("bob", [("solved", 300), ("solved", 65), ("failed", None)]),
        ("alice", [("solved", 65), ("solved", 70), ("solved", 900)]),
        (HOSTILE, [("solved", 3725)]),
        (LONG, [("solved", 4000)]),
        ("carol", [("forfeited", None)]),
    ]
    connection = sqlite3.connect(database)
    with connection:
        for number, (name, games) in enumerate(players, start=100):
            connection.execute(
                "INSERT INTO users (id, name, password_hash, email, enabled, created_at_ms) "
                "VALUES (?, ?, 'x', '', 1, 0)", (number, name))
            for index, (state, seconds) in enumerate(games):
                connection.execute(
                    "INSERT INTO games (id, user_id, puzzle, solution, level, started_at_ms, "
                    "state, finished_at_ms, seconds) VALUES (?, ?, ?, ?, 'medium', 0, ?, ?, ?)",
                    ("%032x" % (number * 100 + index), number, "." * 81, "1" * 81, state,
                     (seconds or 0) * 1000, seconds))
    connection.close()


class StandingsInABrowserTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        from selenium import webdriver  # Debian: python3-selenium
        cls.folder = tempfile.mkdtemp(prefix="quillmark-page-")
        database = os.path.join(cls.folder, "ladder.db")
        subprocess.run([ladder_stack.LADDERD, "user", "add", "someone", "--database", database],
                       input="secret\n", text=True, check=True, capture_output=True)
        seed(database)
        cls.server = subprocess.Popen(
            [ladder_stack.LADDERD, "serve", "--port", "0", "--database", database],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = cls.server.stdout.readline()
        cls.url = "http://" + line.split("listening on ", 1)[1].strip()

        options = webdriver.ChromeOptions()
        options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
        for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                         "--disable-dev-shm-usage", "--disable-background-networking",
                         "--disable-component-update", "--disable-sync", "--no-first-run",
                         "--user-data-dir=" + os.path.join(cls.folder, "chromium")):
            options.add_argument(argument)
        # A phone: its width, and the mobile viewport that lays a page out at 980 pixels
        # unless the page says it fits the device.
        options.add_experimental_option("mobileEmulation", {
            "deviceMetrics": {"width": PHONE_WIDTH, "height": 740, "pixelRatio": 3.0}})
        from selenium.webdriver.chrome.service import Service
        service = Service(executable_path=shutil.which("chromedriver") or "/usr/bin/chromedriver")
        cls.browser = webdriver.Chrome(options=options, service=service)
        cls.browser.set_page_load_timeout(20)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.server.terminate()
        cls.server.wait(timeout=20)
        shutil.rmtree(cls.folder, ignore_errors=True)

    def test_the_page_lists_the_players_in_order_and_shows_every_name_as_text(self):
        from selenium.common.exceptions import NoAlertPresentException
        from selenium.webdriver.common.by import By
        self.browser.get(self.url + "/")
        self.assertEqual(self.browser.title, "Quillmark ladder: standings")
        rows = [[cell.text for cell in row.find_elements(By.TAG_NAME, "td")]
                for row in self.browser.find_elements(By.CSS_SELECTOR, "tbody tr")]
        self.assertEqual(rows, [
            ["1", "alice", "3", "00 : 01 : 05"],
            ["2", "bob", "2", "00 : 01 : 05"],
            ["3", HOSTILE, "1", "01 : 02 : 05"],
            ["4", LONG, "1", "01 : 06 : 40"],
            ["5", "carol", "0", "\u2013"],
        ])
        self.assertIn("ranked by the puzzles they have solved",
                      self.browser.find_element(By.CLASS_NAME, "rule").text)
        # The name's script is text on the page: nothing ran, no element of it exists.
        with self.assertRaises(NoAlertPresentException):
            self.browser.switch_to.alert.text
        self.assertEqual(self.browser.find_elements(By.TAG_NAME, "script"), [])

    def rows(self):
        from selenium.webdriver.common.by import By
        return [[cell.text for cell in row.find_elements(By.TAG_NAME, "td")]
                for row in self.browser.find_elements(By.CSS_SELECTOR, "tbody tr")]

    def follow(self, text):
        """Clicks the link or button of that text and waits for the page it leads to."""
        from selenium.webdriver.common.by import By
        from selenium.webdriver.support.ui import WebDriverWait
        from selenium.common.exceptions import WebDriverException
        old = self.browser.find_element(By.TAG_NAME, "html")
        self.browser.find_element(By.XPATH, "//*[self::a or self::button][.='%s']" % text).click()

        def left(_):
            # ChromeDriver words a node of the page just left as stale, or at times as "does
            # not belong to the document": either way the old page is gone.
            try:
                old.is_enabled()
                return False
            except WebDriverException:
                return True
        WebDriverWait(self.browser, 20).until(left)

    def test_next_previous_and_the_find_form_lead_through_the_standings(self):
        from selenium.webdriver.common.by import By
        self.browser.get(self.url + "/standings?limit=2")
        self.assertEqual([row[1] for row in self.rows()], ["alice", "bob"])
        self.assertIn("5 players", self.browser.find_element(By.CLASS_NAME, "count").text)
        self.assertEqual(self.browser.find_elements(By.LINK_TEXT, "Previous"), [])
        self.follow("Next")
        self.assertEqual(self.rows(), [["3", HOSTILE, "1", "01 : 02 : 05"],
                                       ["4", LONG, "1", "01 : 06 : 40"]])
        self.follow("Next")
        self.assertEqual(self.rows(), [["5", "carol", "0", "\u2013"]])
        self.assertEqual(self.browser.find_elements(By.LINK_TEXT, "Next"), [])
        self.follow("Previous")
        self.assertEqual([row[1] for row in self.rows()], [HOSTILE, LONG])
        self.follow("Previous")
        self.assertEqual([row[1] for row in self.rows()], ["alice", "bob"])

        # The form finds a player's own place, the rows per page kept; and says so of nobody.
        self.browser.find_element(By.NAME, "player").send_keys("carol")
        self.follow("Find")
        self.assertIn("player=carol", self.browser.current_url)
        self.assertIn("limit=2", self.browser.current_url)
        self.assertEqual([row[1] for row in self.rows()], [LONG, "carol"])
        self.assertEqual(self.browser.find_element(By.CSS_SELECTOR, "tr.found td.player").text,
                         "carol")
        field = self.browser.find_element(By.NAME, "player")
        field.clear()
        field.send_keys("nobody")
        self.follow("Find")
        self.assertIn("Nobody called \u201cnobody\u201d is in the standings",
                      self.browser.find_element(By.TAG_NAME, "main").text)
        self.assertEqual(self.rows(), [])

    def test_the_page_fits_a_phone_and_needs_nothing_from_elsewhere(self):
        self.browser.get(self.url + "/standings")
        width = self.browser.execute_script("return window.innerWidth")
        self.assertLessEqual(width, PHONE_WIDTH)
        self.assertLessEqual(
            self.browser.execute_script("return document.documentElement.scrollWidth"), width)
        loaded = self.browser.execute_script(
            "return performance.getEntriesByType('resource').map(e => e.name)")
        self.assertEqual(loaded, [])
        # Readable: the players' cells are at least 12 CSS pixels high text.
        size = self.browser.execute_script(
            "return parseFloat(getComputedStyle(document.querySelector('td.player')).fontSize)")
        self.assertGreaterEqual(size, 12)


if __name__ == "__main__":
    ladder_stack.main()
