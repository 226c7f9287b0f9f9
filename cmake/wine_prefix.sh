# Sourced by the scripts that run Windows programs under Wine: sets up the environment for
# the prefix in $1 and creates the prefix on first use, with the Wine fonts installed (MS Sans
# Serif among them; without them Wine draws every face in one fallback font and the layout
# breaks) and the X11 driver's Managed off, so that Wine draws the frames itself and windows
# come and go at once without a window manager. Tooltips get their classic pale yellow, which
# Wine's default colours make white, so that a test can tell the tooltip background from a
# window's. Exits 77, a skip, where Wine is missing.
command -v wine >/dev/null || { echo "SKIP: wine is not installed (scripts/deps.sh test)"; exit 77; }

export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
# The marker holds the version of these settings; a new version makes a new prefix.
ready=2
if [ "$(cat "$WINEPREFIX/.orvan-ready" 2>/dev/null)" != "$ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # Without a display wineboot creates the prefix just the same, and faster.
    DISPLAY= wine wineboot -i >/dev/null 2>&1
    DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    DISPLAY= wine reg add 'HKCU\Control Panel\Colors' /v InfoWindow /d '255 255 225' /f \
        >/dev/null 2>&1
    wineserver -w
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    echo "$ready" >"$WINEPREFIX/.orvan-ready"
fi
