# Sourced by the project's scripts: Wine prefix, Xvfb and wineserver handling.
# Expects BUILD_DIR (absolute) to be set by the caller.
: "${BUILD_DIR:?BUILD_DIR must be set}"
export WINEPREFIX="${WINEPREFIX_OVERRIDE:-$BUILD_DIR/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs when the prefix is created; overrides a
# test asks for (CTest's ENVIRONMENT) are kept after these.
case "${WINEDLLOVERRIDES:-}" in
  "mscoree,mshtml="*) ;;
  *) export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}" ;;
esac
WINE_BIN=/usr/lib/wine/wine64
WINESERVER_BIN=/usr/lib/wine/wineserver64
[ -x "$WINE_BIN" ] || WINE_BIN=$(command -v wine64 || command -v wine)
[ -x "$WINESERVER_BIN" ] || WINESERVER_BIN=$(command -v wineserver)
export WINE_BIN WINESERVER_BIN

# Starts Xvfb on a free display unless DISPLAY is already usable; records the
# PID so that only our own server is stopped later.
xvfb_start() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  # -displayfd lets the server pick a free display itself, so parallel runs
  # never race for the same number.
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n=""
  for _ in $(seq 1 100); do
    n=$(head -1 "$fdfile" 2>/dev/null | tr -d '[:space:]')
    [ -n "$n" ] && break
    sleep 0.1
  done
  rm -f "$fdfile"
  [ -n "$n" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$n" XVFB_PID
}

xvfb_stop() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    unset XVFB_PID
  fi
}

# Creates the prefix once: fonts, unmanaged windows under Xvfb, font
# replacements. A stamp file marks a finished set-up.
wine_prefix_ensure() {
  local stamp="$WINEPREFIX/.project-ready"
  [ -f "$stamp" ] && return 0
  mkdir -p "$WINEPREFIX"
  "$WINE_BIN" wineboot -i >/dev/null 2>&1 || true
  "$WINESERVER_BIN" -w
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  for f in $(dpkg -L fonts-wine 2>/dev/null | grep -i '\.ttf$'); do cp -f "$f" "$fonts/"; done
  local reg="$BUILD_DIR/prefix-setup.reg"
  cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS Shell Dlg"="Tahoma"
"MS Shell Dlg 2"="Tahoma"
"Segoe UI"="Tahoma"
"Arial"="Tahoma"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""
REG
  "$WINE_BIN" regedit /S "$(winepath_w "$reg")" >/dev/null 2>&1
  "$WINESERVER_BIN" -w
  touch "$stamp"
}

winepath_w() { echo "Z:$(echo "$1" | sed 's|/|\\|g')"; }

# Sets the regional format Wine derives from the Unix locale: "ru" (Russian,
# comma decimal separator) or "en". Wine rewrites the prefix's International
# values from LANG at start-up, so the locale itself must change; a Russian
# glibc locale is generated into the build folder when the system lacks it.
wine_set_locale() {
  if [ "$1" = ru ]; then
    if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
      local dir="$BUILD_DIR/locale"
      if [ ! -d "$dir/ru_RU.UTF-8" ]; then
        mkdir -p "$dir"
        localedef -i ru_RU -f UTF-8 "$dir/ru_RU.UTF-8" >/dev/null 2>&1 || true
      fi
      export LOCPATH="$dir"
    fi
    export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
  else
    export LANG=en_US.UTF-8 LC_ALL=C.UTF-8
    unset LOCPATH
  fi
}

# One persistent, warmed-up wineserver for a batch of Wine processes.
wineserver_start() {
  "$WINESERVER_BIN" -p
  "$WINE_BIN" cmd /c exit >/dev/null 2>&1 || true
}

wineserver_stop() {
  "$WINESERVER_BIN" -k 2>/dev/null || true
  "$WINESERVER_BIN" -w 2>/dev/null || true
}
