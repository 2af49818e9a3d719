#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual screen, in a 32-bit prefix
# of its own (LOOMVANE_WINEPREFIX, made on first use). Used as the emulator
# of the cross-built tests. With --prepare it only makes the prefix.
set -euo pipefail
prefix=${LOOMVANE_WINEPREFIX:?set LOOMVANE_WINEPREFIX to the prefix directory}
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ ! -f "$prefix/.loomvane-ready" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -f "$prefix/.loomvane-ready" ]; then
      wineboot -i >/dev/null 2>&1
      # Without a window manager Wine waits on every hidden or destroyed
      # captioned window unless it manages none itself.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      # Debian's Wine leaves the prefix's font folder empty and does not
      # load its own fonts from elsewhere: without Marlett the caption
      # buttons are drawn as the letters "0 1 r", and dialogs fall back to
      # a substitute face. Give the prefix Wine's own fonts.
      if [ -d /usr/share/wine/fonts ]; then
        cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$prefix/drive_c/windows/Fonts/"
      fi
      wineserver -w
      touch "$prefix/.loomvane-ready"
    fi
  ) 9>"$prefix.lock"
fi

[ "${1:-}" = "--prepare" ] && exit 0

exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$@"
