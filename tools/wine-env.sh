# Sourced by the test and run scripts: a Wine session of our own with a
# Japanese ANSI code page, an X display, and the settings that make many short
# Wine processes fast.  Usage:
#   source tools/wine-env.sh; wine_env_start PREFIX_DIR [KEEPER_EXE]; ...; wine_env_stop

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# No .NET, Gecko or desktop-menu helper: none is needed, and each would be one more
# process that can start at any moment and hold a caller's output open.
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Nine hours ahead of UTC without daylight saving, in the POSIX form that both
# Wine and the C runtime inside the programs read the same way.
export TZ=${ORVANE_TZ:-JST-9}

_wine_env_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

_wine_env_display() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${ORVANE_OWN_XVFB:-}" ]; then
    return 0
  fi
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  _wine_env_xvfb=$!
  local i
  for i in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}

# A home of the session's own inside the prefix folder: Wine reads the host
# user's folders for its Recycle Bin ($XDG_DATA_HOME/Trash, which must have an
# existing parent or Wine reports no bin at all), the shell folders (Desktop,
# Documents) and fontconfig's cache. A fresh machine and a used one then look the
# same to every test.
_wine_env_home() {
  local home="$WINEPREFIX/home"
  mkdir -p "$home/.local/share" "$home/.config" "$home/.cache"
  export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
         XDG_CACHE_HOME="$home/.cache"
  unset XDG_DATA_DIRS XDG_CONFIG_DIRS XDG_RUNTIME_DIR
}

# Registry settings of a fresh prefix: no window-manager waits, Japanese dialog fonts.
_wine_env_configure() {
  local reg="$WINEPREFIX/orvane-setup.reg"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n"Decorated"="Y"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"MS PGothic"="IPAPGothic"\r\n"MS UI Gothic"="IPAPGothic"\r\n'
    printf '"ＭＳ ゴシック"="IPAGothic"\r\n"MS Gothic"="IPAGothic"\r\n\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp -f /usr/share/wine/fonts/marlett.ttf "$fonts/" 2>/dev/null || true
}

# Returns when the Wine session is fully up: the persistent server runs, and the
# keeper (when given) has brought up services and the desktop and said so. Every
# long-lived Wine process is then a child of a process whose output is detached,
# so no later test process starts one that holds CTest's pipes.
wine_env_start() {
  # Wine takes only an absolute prefix.
  export WINEPREFIX="$(realpath -m "$1")"
  local keeper="${2:-}"
  _wine_env_home
  _wine_env_display
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null || true
    wineserver -w
    _wine_env_configure
    wineserver -w
  fi
  wineserver -p >/dev/null 2>&1 </dev/null
  if [ -n "$keeper" ] && [ -f "$keeper" ]; then
    local ready="$WINEPREFIX/keeper-ready"
    local attempt i
    # Wine can end a process it is starting before its main runs (rarely, with
    # other processes starting); such a keeper is started again.
    for attempt in 1 2 3; do
      rm -f "$ready"
      # The Z: drive is the Unix root; no Wine process is needed to name the file.
      wine "$keeper" "Z:${ready//\//\\}" >/dev/null 2>&1 </dev/null &
      _wine_env_keeper=$!
      for i in $(seq 1200); do
        [ -f "$ready" ] && return 0
        kill -0 "$_wine_env_keeper" 2>/dev/null || break
        sleep 0.05
      done
      [ -f "$ready" ] && return 0
      if kill -0 "$_wine_env_keeper" 2>/dev/null; then
        echo "wine-env: the Wine session was not up after 60 s" >&2
        return 1
      fi
      echo "wine-env: the keeper ended before the Wine session was up (start $attempt of 3)" >&2
    done
    return 1
  fi
}

wine_env_stop() {
  [ -n "${_wine_env_keeper:-}" ] && kill "$_wine_env_keeper" 2>/dev/null
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${_wine_env_xvfb:-}" ] && kill "$_wine_env_xvfb" 2>/dev/null
  _wine_env_keeper="" _wine_env_xvfb=""
}
