#!/usr/bin/env python3
"""Rows of a made-up ladder that looks like a real one, for bench/ladder/scale.sh.

    seed_ladder.py users|games --players N --games G --first-id ID --hash HASH [--seed S]

writes the users (ids ID .. ID+N-1) or their G games to standard output in PostgreSQL's COPY
text format (tab-separated, \\N for none), columns in the order of the version-1 tables:

    users: id, name, password_hash, email, enabled, created_at_ms
    games: id, user_id, puzzle, solution, level, started_at_ms, state, finished_at_ms, seconds

The same arguments give the same rows, so the users and the games of one ladder are made by two
runs. What the ladder looks like:
  - games per player: one, plus a lognormal share of the rest (sigma 1.8), so the median player
    has about five games and the busiest thousands; every player has at least one, so every
    player is in the standings;
  - states: about 1% open, then solved with the player's own rate (about 60% on average), the
    rest failed (two in three) or forfeited; a third of the games hard;
  - solved times: whole seconds around each player's pace (median five minutes), at least 20,
    so the best times share values (many ties) over a few thousand distinct ones;
  - names of 1 to 32 letters, digits, '.', '_' and '-' in mixed case; 0.3% disabled accounts;
  - every game the same valid puzzle and solution; every account the password hash given
    (made once by the server itself, so the seeded players can log in with its password).
"""

import argparse
import math
import random
import sys

# A valid puzzle with one solution, in the server's own line formats ('.' for a blank in the
# puzzle, the solution in digits).
PUZZLE = "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79"
SOLUTION = "534678912672195348198342567859761423426853791713924856961537284287419635345286179"

NOW_MS = 1_765_000_000_000  # the seeded history ends here (December 2025)
HISTORY_MS = 2 * 365 * 86_400_000
DAY_MS = 86_400_000

SYLLABLES = ["ka", "ro", "mi", "na", "te", "su", "lo", "vi", "an", "el", "zo", "qu", "ix",
             "Bo", "Da", "Fe", "Li", "Ma", "No", "Ru", "Sa", "Ty", "Wen", "Xu"]
SEPARATORS = ["", "", "", ".", "_", "-"]


class Player:
    """What one player's rows are drawn from; player k's draws depend on the seed and k only."""

    def __init__(self, seed, k):
        r = random.Random(seed * 1_000_003 + k)
        self.random = r
        name = r.choice(SYLLABLES) + r.choice(SYLLABLES).lower()
        if r.random() < 0.5:
            name += r.choice(SYLLABLES).lower()
        self.name = (name + r.choice(SEPARATORS) + str(k))[:32]
        self.enabled = r.random() >= 0.003
        self.email = self.name.lower() + "@example.org" if r.random() < 0.7 else ""
        self.joined_ms = NOW_MS - r.randrange(HISTORY_MS)
        self.solve_rate = min(0.98, max(0.05, r.gauss(0.6, 0.2)))
        self.pace = math.exp(r.gauss(math.log(300), 0.45))
        self.weight = math.exp(r.gauss(0, 1.8))


def game_counts(players, games, seed):
    """One game each, and the rest shared by weight so that the counts add up to games."""
    weights = [Player(seed, k).weight for k in range(players)]
    total = sum(weights)
    extra = games - players
    counts, running, given = [], 0.0, 0
    for w in weights:
        running += w
        upto = min(extra, int(running * extra / total))
        counts.append(1 + upto - given)
        given = upto
    counts[-1] += extra - given
    return counts


def write_users(out, args):
    lines = []
    for k in range(args.players):
        p = Player(args.seed, k)
        created = p.joined_ms - p.random.randrange(DAY_MS)
        lines.append(f"{args.first_id + k}\t{p.name}\t{args.hash}\t{p.email}\t"
                     f"{'t' if p.enabled else 'f'}\t{created}\n")
        if len(lines) >= 10_000:
            out.write("".join(lines))
            lines.clear()
    out.write("".join(lines))


def write_games(out, args):
    counts = game_counts(args.players, args.games, args.seed)
    ids = random.Random(args.seed)
    lines = []
    for k, count in enumerate(counts):
        p = Player(args.seed, k)
        r = p.random
        user_id = args.first_id + k
        span = NOW_MS - DAY_MS - p.joined_ms
        for _ in range(count):
            started = p.joined_ms + r.randrange(max(1, span))
            level = "hard" if r.random() < 0.33 else "medium"
            roll = r.random()
            if roll < 0.01:
                state, finished, seconds = "open", "\\N", "\\N"
            elif r.random() < p.solve_rate:
                s = max(20, round(p.pace * math.exp(r.gauss(0, 0.35))))
                state, finished, seconds = "solved", str(started + s * 1000 + 400), str(s)
            else:
                state = "failed" if r.random() < 0.67 else "forfeited"
                finished, seconds = str(started + r.randrange(30_000, 3_600_000)), "\\N"
            lines.append(f"{ids.getrandbits(128):032x}\t{user_id}\t{PUZZLE}\t{SOLUTION}\t{level}\t"
                         f"{started}\t{state}\t{finished}\t{seconds}\n")
        if len(lines) >= 10_000:
            out.write("".join(lines))
            lines.clear()
    out.write("".join(lines))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("table", choices=["users", "games"])
    parser.add_argument("--players", type=int, required=True)
    parser.add_argument("--games", type=int, required=True)
    parser.add_argument("--first-id", type=int, required=True)
    parser.add_argument("--hash", required=True)
    parser.add_argument("--seed", type=int, default=23)
    args = parser.parse_args()
    if args.players < 1 or args.games < args.players:
        parser.error("there must be at least one player, and at least one game per player")
    out = sys.stdout
    (write_users if args.table == "users" else write_games)(out, args)
    out.flush()


if __name__ == "__main__":
    try:
        main()
    except BrokenPipeError:
        sys.exit(1)
