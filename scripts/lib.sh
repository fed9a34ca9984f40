# Shared by the project's scripts: installing what they need, building, and a Wine environment of
# their own (prefix and display). Source it; do not run it.

QUILLET_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUILLET_CACHE="$QUILLET_ROOT/.cache"
QUILLET_BUILD="$QUILLET_ROOT/build"
FFMPEG_EXE="$QUILLET_CACHE/ffmpeg/ffmpeg.exe"
FFMPEG_PACKAGE="@ffmpeg-installer/win32-ia32@4.1.0"
# The 64-bit ffmpeg.exe that today's PCs run, for the end-to-end runs in a 64-bit prefix.
FFMPEG64_EXE="$QUILLET_CACHE/ffmpeg64/ffmpeg.exe"
FFMPEG64_PACKAGE="@ffmpeg-installer/win32-x64@4.1.0"
# Debian keeps Wine's 64-bit loader out of PATH.
WINE64=/usr/lib/wine/wine64

log() { printf '[quillet] %s\n' "$*" >&2; }
die() { log "error: $*"; exit 1; }

# Debian packages: the cross compiler, Wine with its 32- and 64-bit halves and fonts, a virtual display,
# Debian's ffmpeg for test media, Node's npm for the Windows ffmpeg.exe, icoutils to read the built
# program's resources, clang with libFuzzer for fuzzing the rules natively, and for the release the
# installer's tools (wixl and msitools, faketime for its dates) and osslsigncode with openssl.
QUILLET_PACKAGES=(
  cmake make python3 git googletest clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386 wine64 fonts-wine
  libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
  libxcomposite1:i386 libxfixes3:i386 libxext6:i386 libfreetype6:i386 libfontconfig1:i386
  xvfb xauth xdotool x11-utils imagemagick ffmpeg npm binutils icoutils
  wixl msitools faketime osslsigncode openssl
)

install_packages() {
  local missing=()
  local package
  for package in "${QUILLET_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  # npm is not needed where Node already brings it.
  if command -v npm >/dev/null; then missing=("${missing[@]/npm}"); fi
  [ -n "$(printf '%s' "${missing[@]}")" ] || return 0
  log "installing: ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null
  # shellcheck disable=SC2046
  apt-get install -y -q --no-install-recommends $(printf '%s ' "${missing[@]}") >/dev/null
}

# Wine's 32-bit half is a 32-bit Linux program. Where the kernel runs no 32-bit programs, they run
# under QEMU's user-mode emulator instead: the one from Debian's next release, whose memory tracking
# makes Wine start in seconds rather than minutes (Debian 12's takes minutes per process).
ensure_i386_programs_run() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then return 0; fi
  local qemu="$QUILLET_CACHE/qemu/qemu-i386"
  if [ ! -x "$qemu" ]; then
    log "this kernel runs no 32-bit programs; fetching QEMU's user-mode emulator"
    local work codename uri
    work=$(mktemp -d)
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    uri=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Identifier: Packages' |
      awk -v c="$codename" '$2 == c { print $1; exit }')
    [ -n "$uri" ] || die "no Debian archive configured for $codename"
    mkdir -p "$work/lists/partial" "$work/cache/archives/partial"
    echo "deb $uri trixie main" >"$work/sources.list"
    local apt_options=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
      -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o APT::Sandbox::User=root)
    apt-get "${apt_options[@]}" update -q >/dev/null
    (cd "$work" && apt-get "${apt_options[@]}" download -q qemu-user >/dev/null)
    dpkg-deb -x "$work"/qemu-user_*.deb "$work/x"
    mkdir -p "$(dirname "$qemu")"
    cp "$work/x/usr/bin/qemu-i386" "$qemu"
    rm -rf "$work"
  fi
  local binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" || die "cannot mount binfmt_misc"
  [ -e "$binfmt/qemu-i386" ] && echo -1 >"$binfmt/qemu-i386"
  # 32-bit little-endian ELF executables and shared objects for i386; F: the emulator is opened now.
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' >"$binfmt/register"
  /usr/lib/wine/wine --version >/dev/null 2>&1 || die "32-bit programs still do not run"
}

# How 32-bit Linux programs, Wine's 32-bit half among them, run here: "native", or "emulated" by QEMU
# where the kernel runs none. Asked with QEMU's registration switched off for a moment.
i386_mode() {
  local entry=/proc/sys/fs/binfmt_misc/qemu-i386 mode=emulated
  [ -e "$entry" ] && echo 0 >"$entry"
  /usr/lib/wine/wine --version >/dev/null 2>&1 && mode=native
  [ -e "$entry" ] && echo 1 >"$entry"
  printf '%s' "$mode"
}

# The 64-bit twins of the programs the start-up benchmark compares, built from the same sources in
# build64/, for measuring natively where 32-bit programs run only emulated. Quillet ships 32-bit.
build_twins() {
  local missing=()
  local package
  for package in g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    log "installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  fi
  cmake --no-warn-unused-cli -S "$QUILLET_ROOT" -B "$QUILLET_ROOT/build64" \
    -DCMAKE_TOOLCHAIN_FILE="$QUILLET_ROOT/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=ON >/dev/null
  cmake --build "$QUILLET_ROOT/build64" -j"$(nproc)" --target Quillet empty_window controls_window quillet_bench startup_pieces >/dev/null
}

# A Windows ffmpeg.exe from npm, fetched once into the git-ignored cache.
fetch_ffmpeg_exe() {
  local package=$1 destination=$2
  [ -f "$destination" ] && return 0
  log "fetching ffmpeg.exe ($package)"
  local work
  work=$(mktemp -d)
  (cd "$work" && npm pack --silent "$package" >/dev/null && tar xzf ./*.tgz package/ffmpeg.exe)
  mkdir -p "$(dirname "$destination")"
  mv "$work/package/ffmpeg.exe" "$destination"
  rm -rf "$work"
}

setup_machine() {
  install_packages
  ensure_i386_programs_run
  fetch_ffmpeg_exe "$FFMPEG_PACKAGE" "$FFMPEG_EXE"
  fetch_ffmpeg_exe "$FFMPEG64_PACKAGE" "$FFMPEG64_EXE"
}

# The rules that need no Windows, built natively for fuzzing.
build_fuzzers() {
  cmake --no-warn-unused-cli -S "$QUILLET_ROOT/tests/fuzz" -B "$QUILLET_BUILD/fuzz" -DCMAKE_CXX_COMPILER=clang++ \
    "$@" >/dev/null
  cmake --build "$QUILLET_BUILD/fuzz" -j"$(nproc)" >/dev/null || cmake --build "$QUILLET_BUILD/fuzz" -j1
}

# Two builds of one commit give the same bytes: builds the program and its release again, elsewhere,
# and compares Quillet.exe, the zip and the installer with the first build's.
check_reproducible() {
  local again="$QUILLET_BUILD/again" file
  cmake --no-warn-unused-cli -S "$QUILLET_ROOT" -B "$again" -DCMAKE_TOOLCHAIN_FILE="$QUILLET_ROOT/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF >/dev/null
  cmake --build "$again" -j"$(nproc)" --target release >/dev/null
  for file in "$QUILLET_BUILD"/Quillet.exe "$QUILLET_BUILD"/Quillet-*-win32.zip "$QUILLET_BUILD"/Quillet-*-win32.msi; do
    cmp "$file" "$again/$(basename "$file")" || die "two builds differ: $(basename "$file")"
  done
  log "two builds give the same Quillet.exe, zip and installer"
}

build_quillet() {
  cmake --no-warn-unused-cli -S "$QUILLET_ROOT" -B "$QUILLET_BUILD" -DCMAKE_TOOLCHAIN_FILE="$QUILLET_ROOT/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$QUILLET_BUILD" -j"$(nproc)" >/dev/null || cmake --build "$QUILLET_BUILD" -j1
}

export WINEARCH=win32
export WINEDEBUG=-all
# Command lines and file names pass between Linux and Wine as UTF-8.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
# No Mono or Gecko installers at prefix creation: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# The end-to-end tests run as this ordinary user, so that files are protected as on a user's PC (root
# may replace a read-only file or write into a folder that forbids it).
QUILLET_TEST_USER=quillet-tests

ensure_test_user() {
  id -u "$QUILLET_TEST_USER" >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin "$QUILLET_TEST_USER"
}

as_test_user() { runuser -u "$QUILLET_TEST_USER" -- "$@"; }

# A prepared prefix of the given user, 32-bit or 64-bit (win32 or win64), made once and copied for
# each run: creating one takes many seconds.
prefix_template() {
  local user=$1 arch=${2:-win32} template="$QUILLET_CACHE/wineprefix-$1-${2:-win32}"
  if [ ! -f "$template/system.reg" ]; then
    log "preparing a $arch Wine prefix for $user"
    rm -rf "$template"
    install -d -o "$user" "$template"
    local loader=wine
    [ "$arch" = win64 ] && loader=$WINE64
    runuser -u "$user" -- env WINEARCH="$arch" WINEPREFIX="$template" \
      sh -c "$loader wineboot -i >/dev/null 2>&1; wineserver -w"
    # Debian's Wine looks for its own fonts (MS Sans Serif, Tahoma, ...) where fonts-wine does not put
    # them; in the Windows folder it finds them, as a Windows program expects.
    runuser -u "$user" -- cp /usr/share/wine/fonts/* "$template/drive_c/windows/Fonts/"
  fi
  printf '%s' "$template"
}

# A fresh prefix of this run's own, and a display: the current one when asked and present,
# else a virtual one. stop_wine_session ends both, with every process in the prefix.
start_wine_session() {
  local use_current_display=${1:-no}
  QUILLET_SESSION=$(mktemp -d)
  cp -a "$(prefix_template root win32)" "$QUILLET_SESSION/prefix"
  export WINEPREFIX="$QUILLET_SESSION/prefix"
  # One wineserver for the whole session: later programs start faster.
  wineserver -p
  QUILLET_XVFB_PID=
  if [ "$use_current_display" = yes ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
  local display
  for display in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
  done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  QUILLET_XVFB_PID=$!
  export DISPLAY=":$display"
  local attempt
  for attempt in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
  done
  # With no window manager on the display, Wine waits up to a second for one each time a window is
  # shown or destroyed; windows it manages itself need no wait.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# The test user's own prefixes for this session, with their wineservers running: a 32-bit one in
# QUILLET_USER_PREFIX and a 64-bit one in QUILLET_USER_PREFIX64, as on 64-bit Windows.
start_test_user_session() {
  ensure_test_user
  QUILLET_USER_SESSION=$(mktemp -d /tmp/quillet-user.XXXXXX)
  chown "$QUILLET_TEST_USER" "$QUILLET_USER_SESSION"
  cp -a "$(prefix_template "$QUILLET_TEST_USER" win32)" "$QUILLET_USER_SESSION/prefix"
  cp -a "$(prefix_template "$QUILLET_TEST_USER" win64)" "$QUILLET_USER_SESSION/prefix64"
  export QUILLET_USER_PREFIX="$QUILLET_USER_SESSION/prefix" QUILLET_USER_PREFIX64="$QUILLET_USER_SESSION/prefix64"
  # For the tests that need a prefix no other test has touched.
  export QUILLET_USER_PREFIX_TEMPLATE
  QUILLET_USER_PREFIX_TEMPLATE=$(prefix_template "$QUILLET_TEST_USER" win32)
  export QUILLET_E2E_USER="$QUILLET_TEST_USER"
  local arch prefix loader
  for arch in win32 win64; do
    prefix=$QUILLET_USER_PREFIX loader=wine
    [ "$arch" = win64 ] && prefix=$QUILLET_USER_PREFIX64 loader=$WINE64
    as_test_user env WINEARCH="$arch" WINEPREFIX="$prefix" wineserver -p
    # Without a window manager, as in the root prefix.
    as_test_user env WINEARCH="$arch" WINEPREFIX="$prefix" "$loader" reg add 'HKCU\Software\Wine\X11 Driver' \
      /v Managed /d N /f >/dev/null 2>&1
  done
  # The Recycle Bin that Wine keeps for the user: what the tests find there is from this run.
  rm -rf "$(getent passwd "$QUILLET_TEST_USER" | cut -d: -f6)/.local/share/Trash"
}

stop_wine_session() {
  if [ -n "${QUILLET_USER_SESSION:-}" ]; then
    as_test_user env WINEPREFIX="$QUILLET_USER_PREFIX" wineserver -k 2>/dev/null
    as_test_user env WINEPREFIX="$QUILLET_USER_PREFIX64" wineserver -k 2>/dev/null
    rm -rf "$QUILLET_USER_SESSION"
  fi
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  [ -n "${QUILLET_XVFB_PID:-}" ] && kill "$QUILLET_XVFB_PID" 2>/dev/null
  [ -n "${QUILLET_SESSION:-}" ] && rm -rf "$QUILLET_SESSION"
  return 0
}
