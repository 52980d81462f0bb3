# Shared by the scripts: build folders, configuring and building, the virtual display and the Wine server.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root="${JUXTA_BUILD:-$root/build}"
win64="$build_root/win64"
win32="$build_root/win32"
native="$build_root/native"
export JUXTA_WINEPREFIX="$win64/wineprefix"

# a compiler cache, where one is installed, shares object files between build folders of the same tree
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
else
  launcher=()
fi

configure() { # folder, cmake arguments...
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
  fi
}

build_win64() {
  configure "$win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$win64" "$@"
}

build_win32() {
  configure "$win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw32.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DJUXTA_TESTS=OFF -DJUXTA_WERROR=ON
  cmake --build "$win32" "$@"
}

build_native() {
  configure "$native" -DJUXTA_NATIVE=ON -DJUXTA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
  cmake --build "$native" "$@"
}

# a virtual X display for the windows of the program and its tests (unless one is already given)
start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return
  fi
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  # a virtual display has no X resources, which costs Xlib a file search per font selected (see the file)
  export XENVIRONMENT="$root/scripts/virtual-display.Xresources"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

stop_display() {
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=
}

wine_env() {
  export WINEPREFIX="$JUXTA_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
}

# one Wine server for the whole run: a warm server starts a process in a tenth of the time of a cold one
start_wine() {
  ( wine_env
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
      # No window manager runs on the virtual display. A window that Wine hands to one ("managed") waits up to two
      # seconds for it whenever it is hidden or destroyed; unmanaged windows are placed by Wine alone.
      /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
      wineserver -w
    fi
    wineserver -p >/dev/null 2>&1
    # start the prefix's services now, detached from any pipe: a service that inherits a test's stdout would keep
    # that pipe open after the test ends
    /usr/lib/wine/wine64 wineboot >/dev/null 2>&1 </dev/null )
}

stop_wine() {
  ( wine_env; wineserver -k >/dev/null 2>&1 || true )
}
