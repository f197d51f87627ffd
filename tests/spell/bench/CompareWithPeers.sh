#!/usr/bin/env bash
# Runs lexivane, hunspell and aspell side by side on the same inputs and prints the ratios.
#   CompareWithPeers.sh LEXIVANE [MISSPELLINGS_JSON [TEXT]]
#   CompareWithPeers.sh --lexivane LEXIVANE [--misspellings FILE] [--text FILE] [--rounds N] ...
# The measuring is CompareWithPeers.py's; see its --help.
set -eu
here=$(dirname "$0")
if [ $# -ge 1 ] && [ "${1#--}" = "$1" ]; then
  set -- --lexivane "$1" ${2:+--misspellings "$2"} ${3:+--text "$3"}
fi
exec python3 "$here/CompareWithPeers.py" "$@"
