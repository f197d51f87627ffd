#!/usr/bin/env bash
# Runs lexivane, hunspell and aspell side by side on the same inputs and prints the ratios.
#   CompareWithPeers.sh LEXIVANE MISSPELLINGS_JSON [TEXT]
# LEXIVANE: the built tool; MISSPELLINGS_JSON: dict/dictionary.json of npm's `misspellings`
# package; TEXT: a large English text (default: Vim's documentation, about 9 MB).
# Needs hunspell + hunspell-en-us, aspell + aspell-en, python3 and GNU time.
set -eu
lexivane=$1
misspellings=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ $# -ge 3 ]; then
  cp "$3" "$work/text"
else
  cat /usr/share/vim/vim90/doc/*.txt > "$work/text"
fi
# Single-word misspellings with single-word corrections, in the file's order.
python3 - "$misspellings" "$work" <<'PY'
import json, sys
pairs = json.load(open(sys.argv[1]))
with open(sys.argv[2] + "/words", "w") as w, open(sys.argv[2] + "/answers", "w") as a:
    for wrong, right in pairs.items():
        if wrong.isalpha() and right.isalpha() and wrong.isascii() and right.isascii():
            w.write(wrong + "\n"); a.write(right + "\n")
PY
words=$(wc -w < "$work/text")
misses=$(wc -l < "$work/words")

# measure NAME IN OUT COMMAND...: seconds and peak kilobytes of one run into $work/NAME.time
measure() {
  local name=$1 in=$2 out=$3
  shift 3
  /usr/bin/time -f "%e %M" -o "$work/$name.time" "$@" < "$in" > "$out"
}

echo "check: $words words of text"
measure lc "$work/text" "$work/l.check" "$lexivane" check
measure hc "$work/text" "$work/h.check" hunspell -d en_US -l
measure ac "$work/text" "$work/a.check" aspell --lang=en_US list
echo "suggest: $misses misspellings"
measure ls "$work/words" "$work/l.sug" "$lexivane" suggest
measure hs "$work/words" "$work/h.sug" hunspell -d en_US -a
measure as "$work/words" "$work/a.sug" aspell --lang=en_US -a

python3 - "$work" "$words" "$misses" "$(cat "$work"/lc.time "$work"/hc.time "$work"/ac.time)" "$(cat "$work"/ls.time "$work"/hs.time "$work"/as.time)" <<'PY'
import sys
work, words, misses = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
c = [float(x) for x in sys.argv[4].split()]
s = [float(x) for x in sys.argv[5].split()]
answers = open(work + "/answers").read().split("\n")[:misses]

def ispell_pipe(path):
    out = []
    for line in open(path, errors="replace"):
        line = line.rstrip("\n")
        if line.startswith("&"):
            out.append([w.strip() for w in line.split(":", 1)[1].split(",")])
        elif line.startswith(("*", "+", "-", "#")):
            out.append([])
    return out

lex = [l.rstrip("\n").split("\t")[1].split("|") if "\t" in l else [] for l in open(work + "/l.sug", errors="replace")]
def hits(results):
    return sum(1 for r, a in zip(results, answers) if a in r)

rate = lambda n, t: n / t if t > 0 else float("inf")
print("%-28s %12s %12s %12s" % ("", "lexivane", "hunspell", "aspell"))
print("%-28s %12.0f %12.0f %12.0f" % ("check words/s", rate(words, c[0]), rate(words, c[2]), rate(words, c[4])))
print("%-28s %12.0f %12.0f %12.0f" % ("check peak KiB", c[1], c[3], c[5]))
print("%-28s %12d %12d %12d" % ("words reported", *(sum(1 for _ in open(work + f)) for f in ("/l.check", "/h.check", "/a.check"))))
print("%-28s %12.0f %12.0f %12.0f" % ("suggest words/s", rate(misses, s[0]), rate(misses, s[2]), rate(misses, s[4])))
print("%-28s %12.0f %12.0f %12.0f" % ("suggest peak KiB", s[1], s[3], s[5]))
h, a, l = ispell_pipe(work + "/h.sug"), ispell_pipe(work + "/a.sug"), lex
print("%-28s %11.1f%% %11.1f%% %11.1f%%" % ("right word suggested", 100 * hits(l) / misses, 100 * hits(h) / misses, 100 * hits(a) / misses))
print("ratios: check speed vs hunspell %.2f, vs aspell %.2f; memory vs hunspell %.2f, vs aspell %.2f;"
      % (rate(words, c[0]) / rate(words, c[2]), rate(words, c[0]) / rate(words, c[4]), c[1] / c[3], c[1] / c[5]))
print("        suggest speed vs hunspell %.2f, vs aspell %.2f" % (rate(misses, s[0]) / rate(misses, s[2]), rate(misses, s[0]) / rate(misses, s[4])))
PY
