#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual screen, in a prefix of its
# own (LOOMVANE_WINEPREFIX, made on first use). LOOMVANE_WINEARCH says which
# Wine: win32 (the default) for the 32-bit build, win64 for the 64-bit build,
# which runs under 64-bit Wine alone. Used as the emulator of the
# cross-built tests. With --prepare it only makes the prefix.
set -euo pipefail
prefix=${LOOMVANE_WINEPREFIX:?set LOOMVANE_WINEPREFIX to the prefix directory}
arch=${LOOMVANE_WINEARCH:-win32}
export WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Debian's /usr/bin/wine starts the 32-bit loader whenever it is installed;
# a 64-bit prefix is started with the 64-bit loader by name, so that Wine
# never reaches for 32-bit code that this machine may not run.
case $arch in
  win32)
    wine=/usr/lib/wine/wine
    [ -x "$wine" ] || wine=$(command -v wine) ;;
  win64)
    wine=/usr/lib/wine/wine64
    [ -x "$wine" ] || wine=$(command -v wine64)
    export WINELOADER=$wine ;;
  *)
    echo "wine-run.sh: LOOMVANE_WINEARCH must be win32 or win64, not '$arch'" >&2
    exit 2 ;;
esac

if [ ! -f "$prefix/.loomvane-ready" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -f "$prefix/.loomvane-ready" ]; then
      "$wine" wineboot -i >/dev/null 2>&1
      # Without a window manager Wine waits on every hidden or destroyed
      # captioned window unless it manages none itself.
      "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
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

# LOOMVANE_MONITORS=right or left: two monitors, the second right or left of
# the primary. Xvfb cannot give Wine two monitors; the X server's dummy
# driver can, and needs root. A display that cannot be had fails the run.
if [ -n "${LOOMVANE_MONITORS:-}" ]; then
  case $LOOMVANE_MONITORS in
    right) place=--right-of ;;
    left) place=--left-of ;;
    *) echo "wine-run.sh: LOOMVANE_MONITORS must be right or left" >&2; exit 2 ;;
  esac
  for tool in Xorg xrandr; do
    command -v $tool >/dev/null || {
      echo "wine-run.sh: $tool is missing (xserver-xorg-core, xserver-xorg-video-dummy, x11-xserver-utils)" >&2
      exit 1
    }
  done
  number=86
  while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
  log=$(mktemp)
  Xorg ":$number" -config "$(cd "$(dirname "$0")" && pwd)/xorg-two-monitors.conf" -noreset \
    -nolisten tcp -novtswitch -keeptty -logfile "$log" >/dev/null 2>&1 &
  server=$!
  trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -f "$log"' EXIT
  export DISPLAY=":$number"
  for _ in $(seq 100); do
    xrandr -q >/dev/null 2>&1 && break
    kill -0 $server 2>/dev/null || break
    sleep 0.1
  done
  if ! xrandr -q >/dev/null 2>&1; then
    echo "wine-run.sh: the two-monitor display :$number did not start (root is needed); its log:" >&2
    tail -n 20 "$log" >&2
    exit 1
  fi
  xrandr --output DUMMY1 "$place" DUMMY0
  # A Wine session of another display ends first, and this one before the
  # display goes.
  wineserver -w
  status=0
  "$wine" "$@" || status=$?
  wineserver -w
  exit $status
fi

exec xvfb-run -a -s "-screen 0 1024x768x24" "$wine" "$@"
