#!/usr/bin/env python3
"""Draws verses of the topical index for a reader to judge.

For each topic code given (all 38 when none is), lists ten verses the topic holds, drawn at
random with a seed made from the code, so the same database gives the same draw on every run.
Each verse is printed with its Arabic text and its translation:

    python3 tools/textdb/sample_topics.py build/testdata/1.db [CODE ...] [--count N]
"""

import argparse
import random
import sqlite3

CODES = ("aa bb dd ee gg hh qq tt yy mm oo ag nn pp vv jj ff cc ao ae ap ai ah au ww rr az ll "
         "ss af zz ad as xx ac av aq aw").split()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("database")
    parser.add_argument("codes", nargs="*", default=CODES)
    parser.add_argument("--count", type=int, default=10)
    args = parser.parse_args()

    db = sqlite3.connect(f"file:{args.database}?mode=ro", uri=True)
    rows = db.execute("SELECT chapter, vers, search1, English, sub FROM num "
                      "JOIN main ON main.id1 = num.id ORDER BY num.id").fetchall()
    for code in args.codes:
        held = [row for row in rows if code in (row[4] or "").split()]
        drawn = random.Random(f"kevran-{code}").sample(held, min(args.count, len(held)))
        print(f"== {code}: {len(held)} verses, {len(drawn)} drawn")
        for sura, verse, arabic, persian, _ in sorted(drawn):
            print(f"{sura}:{verse} | {arabic}\n{'':>{len(f'{sura}:{verse}')}} | {persian}")


if __name__ == "__main__":
    main()
