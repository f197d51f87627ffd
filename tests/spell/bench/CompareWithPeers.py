#!/usr/bin/env python3
"""Runs lexivane, hunspell and aspell side by side on the same inputs and prints the ratios.

Check: a large English text through `lexivane check`, `hunspell -l` and `aspell list`.
Suggest: the single-word misspellings of npm's `misspellings` package through `lexivane suggest`,
`hunspell -a` and `aspell -a`, with how often the right word is among the suggestions.

The machine may be shared: every program runs several times, the runs of the three interleaved,
and the best run of each counts, by wall-clock time and by CPU time (user + system) apart. Peak
memory is the largest resident size of that program's runs.

Needs: hunspell + hunspell-en-us, aspell + aspell-en, GNU time, and npm's `misspellings` (found through
--misspellings, $LEXIVANE_MISSPELLINGS, ./node_modules or `npm root -g`). The default text is
Vim's documentation (vim-runtime).
"""

import argparse
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77  # CTest's SKIP_RETURN_CODE for the registered benchmark


def find_misspellings(given):
    candidates = [given, os.environ.get("LEXIVANE_MISSPELLINGS")]
    candidates.append(os.path.join("node_modules", "misspellings", "dict", "dictionary.json"))
    if shutil.which("npm"):
        root = subprocess.run(["npm", "root", "-g"], capture_output=True, text=True).stdout.strip()
        if root:
            candidates.append(os.path.join(root, "misspellings", "dict", "dictionary.json"))
    for c in candidates:
        if c and os.path.isfile(c):
            return c
    return None


def run(command, stdin_path, stdout_path, work):
    """One run: (wall seconds, CPU seconds, peak KiB).

    GNU time starts the program: a child forked straight from this Python process would count
    Python's own resident pages in its peak, which is larger than lexivane's whole peak.
    """
    usage = os.path.join(work, "usage")
    with open(stdin_path, "rb") as src, open(stdout_path, "wb") as dst:
        start = time.perf_counter()
        status = subprocess.run(["/usr/bin/time", "-f", "%U %S %M", "-o", usage] + command,
                                stdin=src, stdout=dst, stderr=subprocess.DEVNULL).returncode
        wall = time.perf_counter() - start
    if status != 0:
        sys.exit("%s failed with status %d" % (" ".join(command), status))
    with open(usage) as f:
        user, system, kib = f.read().split()[-3:]
    return wall, float(user) + float(system), int(kib)


def measure(programs, stdin_path, work, rounds):
    """Interleaved runs; per program the best wall time, best CPU time and the peak memory."""
    best = {name: [float("inf"), float("inf"), 0] for name, _ in programs}
    for _ in range(rounds):
        for name, command in programs:
            wall, cpu, kib = run(command, stdin_path, os.path.join(work, name + ".out"), work)
            b = best[name]
            b[0], b[1], b[2] = min(b[0], wall), min(b[1], cpu), max(b[2], kib)
    return best


def ispell_pipe(path):
    """Suggestions per input word from `-a` output (an empty list for a known word or none)."""
    out = []
    with open(path, errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("&"):
                out.append([w.strip() for w in line.split(":", 1)[1].split(",")])
            elif line.startswith(("*", "+", "-", "#")):
                out.append([])
    return out


def lexivane_suggestions(path):
    with open(path, errors="replace") as f:
        return [l.rstrip("\n").split("\t")[1].split("|") if "\t" in l else [] for l in f]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--lexivane", required=True, help="the built lexivane tool")
    parser.add_argument("--misspellings", help="dict/dictionary.json of npm's misspellings package")
    parser.add_argument("--text", help="English text to check (default: Vim's documentation)")
    parser.add_argument("--rounds", type=int, default=5, help="runs of each check (default 5)")
    parser.add_argument("--suggest-rounds", type=int, default=1, help="runs of each suggest (default 1)")
    parser.add_argument("--skip-unless-asked", action="store_true",
                        help="exit with %d unless LEXIVANE_PEER_BENCH=1 (the CTest registration)" % SKIP)
    args = parser.parse_args()

    if args.skip_unless_asked and os.environ.get("LEXIVANE_PEER_BENCH") != "1":
        print("skipped: set LEXIVANE_PEER_BENCH=1 to compare with hunspell and aspell")
        return SKIP
    missing = [p for p in ("hunspell", "aspell", "/usr/bin/time") if not shutil.which(p)]
    if missing:
        sys.exit("not installed: %s (apt-get install hunspell hunspell-en-us aspell aspell-en time)"
                 % ", ".join(missing))
    misspellings = find_misspellings(args.misspellings)
    if misspellings is None:
        sys.exit("npm's misspellings package not found (npm install misspellings, or --misspellings FILE)")

    with tempfile.TemporaryDirectory() as work:
        text = os.path.join(work, "text")
        if args.text:
            shutil.copyfile(args.text, text)
        else:
            docs = sorted(glob.glob("/usr/share/vim/vim*/doc/*.txt"))
            if not docs:
                sys.exit("no text: give --text FILE or install vim-runtime")
            with open(text, "wb") as out:
                for d in docs:
                    with open(d, "rb") as f:
                        out.write(f.read())
        # Counted a line at a time: a list of every word would swell this process for nothing.
        with open(text, "rb") as f:
            words = sum(len(line.split()) for line in f)

        # Single-word misspellings with single-word corrections, in the file's order.
        with open(misspellings) as f:
            pairs = json.load(f)
        wrong, right = [], []
        for w, r in pairs.items():
            if w.isalpha() and r.isalpha() and w.isascii() and r.isascii():
                wrong.append(w)
                right.append(r)
        misses = os.path.join(work, "misses")
        with open(misses, "w") as f:
            f.write("".join(w + "\n" for w in wrong))

        names = ("lexivane", "hunspell", "aspell")
        check = measure(list(zip(names, ([args.lexivane, "check"], ["hunspell", "-d", "en_US", "-l"],
                                         ["aspell", "--lang=en_US", "list"]))), text, work, args.rounds)
        reported = {}
        for n in names:
            with open(os.path.join(work, n + ".out"), "rb") as f:
                reported[n] = sum(1 for _ in f)
        suggest = measure(list(zip(names, ([args.lexivane, "suggest"], ["hunspell", "-d", "en_US", "-a"],
                                           ["aspell", "--lang=en_US", "-a"]))), misses, work, args.suggest_rounds)
        results = {"lexivane": lexivane_suggestions(os.path.join(work, "lexivane.out")),
                   "hunspell": ispell_pipe(os.path.join(work, "hunspell.out")),
                   "aspell": ispell_pipe(os.path.join(work, "aspell.out"))}

    def rate(n, seconds):
        return n / seconds if seconds > 0 else float("inf")

    def row(label, values, fmt="%12.0f"):
        print("%-30s" % label + "".join(fmt % v for v in values))

    print("check: %d words of text, best of %d runs; suggest: %d misspellings, best of %d"
          % (words, args.rounds, len(wrong), args.suggest_rounds))
    print("%-30s%12s%12s%12s" % ("", *names))
    row("check words/s (wall)", [rate(words, check[n][0]) for n in names])
    row("check words/s (CPU)", [rate(words, check[n][1]) for n in names])
    row("check peak KiB", [check[n][2] for n in names])
    row("check words reported", [reported[n] for n in names])
    row("suggest words/s (wall)", [rate(len(wrong), suggest[n][0]) for n in names])
    row("suggest words/s (CPU)", [rate(len(wrong), suggest[n][1]) for n in names])
    row("suggest peak KiB", [suggest[n][2] for n in names])
    hits = {n: sum(1 for r, a in zip(results[n], right) if a in r) for n in names}
    row("right word suggested %", [100.0 * hits[n] / len(wrong) for n in names], "%12.1f")

    # Speed ratios: how many times faster lexivane is; memory ratio: lexivane's peak over the peer's.
    for peer in ("hunspell", "aspell"):
        print("lexivane vs %-8s check speed x%.2f (wall) x%.2f (CPU), peak memory x%.2f; suggest speed x%.2f (wall) x%.2f (CPU)"
              % (peer, check[peer][0] / check["lexivane"][0], check[peer][1] / check["lexivane"][1],
                 check["lexivane"][2] / check[peer][2], suggest[peer][0] / suggest["lexivane"][0],
                 suggest[peer][1] / suggest["lexivane"][1]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
