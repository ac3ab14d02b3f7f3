#!/bin/sh
# Runs a Windows program under Wine the way the tests need it:
# - winedbg disabled, so that a crash exits non-zero instead of (sometimes) 0;
# - no display driver, so that a message box returns at once instead of
#   waiting for a click, and nothing needs an X server;
# - Wine's own diagnostics off (WINEDEBUG=-all unless the caller sets it).
# The prefix is $WINEPREFIX (the tests set one inside the build tree).
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="winedbg.exe=d;winex11.drv=d;mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
unset DISPLAY WAYLAND_DISPLAY
exec wine "$@"
