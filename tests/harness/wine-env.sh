# Sourced by the Wine scripts: the one place that says how our programs run under Wine.
TAVIK_WINE=/usr/lib/wine/wine64
TAVIK_WINESERVER=/usr/lib/wine/wineserver64
export WINEARCH=win64
export WINEDEBUG=-all
# winedbg.exe=d: without it a crashing program exits 0 or 5 at random, so a crash could pass.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winedbg.exe=d"
