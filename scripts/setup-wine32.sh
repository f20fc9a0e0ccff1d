#!/usr/bin/env bash
# Makes 32-bit Windows programs runnable on this 64-bit machine, whose
# kernel cannot execute 32-bit x86 code itself:
#   1. fetches QEMU's user-mode emulator from the distribution's backports
#      suite into build/qemu (unpacked, not installed; the stable suite's
#      emulator cannot start 32-bit Wine),
#   2. registers it with binfmt_misc for 32-bit ELF programs,
#   3. installs 32-bit Wine.
# The registration comes before Wine: once 32-bit Wine is installed, every
# new 64-bit prefix runs its 32-bit setup through the emulator too.
# Idempotent; writes only to the package state, binfmt_misc and build/.
# A failing step says so in one line; its output is kept in build/qemu/.
set -euo pipefail
cd "$(dirname "$0")/.."

qemu_dir=$PWD/build/qemu
emulator=$qemu_dir/qemu-i386
binfmt=/proc/sys/fs/binfmt_misc
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
mkdir -p "$qemu_dir"

fail() {
  echo "setup: 32-bit Wine: $1 failed (log: $2)" >&2
  exit 1
}

# The emulator's major version, or 0 if FILE is no working emulator.
emulator_major() {
  local version
  version=$("$1" --version 2>/dev/null | sed -nE 's/.*version ([0-9]+)\..*/\1/p' | head -1 || true)
  echo "${version:-0}"
}

# The archive address the system already uses for its main suite, from the
# deb822 sources or the one-line list. Prints "URI KEYRING".
system_archive() {
  local codename=$1
  {
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -r "$f" ] || continue
      awk -v suite="$codename" 'BEGIN { RS = ""; FS = "\n" }
        {
          uri = ""; key = ""; hit = 0; deb = 0
          for (i = 1; i <= NF; i++) {
            if ($i ~ /^Types:/ && $i ~ /[[:space:]]deb([[:space:]]|$)/) deb = 1
            if ($i ~ /^URIs:/) { split($i, u, /[[:space:]]+/); uri = u[2] }
            if ($i ~ /^Signed-By:/) { split($i, k, /[[:space:]]+/); key = k[2] }
            if ($i ~ /^Suites:/ && (" " $i " ") ~ ("[[:space:]]" suite "[[:space:]]")) hit = 1
          }
          if (deb && hit && uri != "") print uri, key
        }' "$f"
    done
    if [ -r /etc/apt/sources.list ]; then
      awk -v suite="$codename" '$1 == "deb" {
          i = 2; key = ""
          if ($i ~ /^\[/) { while ($i !~ /\]$/) { if ($i ~ /signed-by=/) key = $i; i++ }
                            if ($i ~ /signed-by=/) key = $i; i++ }
          sub(/.*signed-by=/, "", key); sub(/\]$/, "", key)
          if ($(i + 1) == suite) print $i, key
        }' /etc/apt/sources.list
    fi
  } | head -1
}

fetch_emulator() {
  local log=$qemu_dir/fetch.log codename archive uri key apt_dir
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || fail "reading the release's code name from /etc/os-release" /etc/os-release
  archive=$(system_archive "$codename")
  [ -n "$archive" ] || fail "finding the archive for '$codename' in the system's apt sources" /etc/apt
  read -r uri key <<<"$archive"
  [ -n "$key" ] || key=/usr/share/keyrings/debian-archive-keyring.gpg

  # A private apt configuration that knows only the backports suite, so
  # the system's own lists and caches stay as they are.
  apt_dir=$qemu_dir/apt
  rm -rf "$apt_dir" "$qemu_dir/deb" "$qemu_dir/package"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$qemu_dir/deb"
  echo "deb [signed-by=$key] $uri $codename-backports main" >"$apt_dir/sources.list"
  local apt_options=(
    -o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
    -o APT::Architectures::=amd64
  )
  apt-get "${apt_options[@]}" update >"$log" 2>&1 ||
    fail "reading the $codename-backports package list" "$log"
  (cd "$qemu_dir/deb" && apt-get "${apt_options[@]}" download "qemu-user/$codename-backports") >>"$log" 2>&1 ||
    fail "downloading qemu-user from $codename-backports" "$log"
  # The package holds emulators for every architecture; only one is kept.
  dpkg-deb -x "$qemu_dir"/deb/qemu-user_*.deb "$qemu_dir/package" >>"$log" 2>&1 &&
    mv "$qemu_dir/package/usr/bin/qemu-i386" "$emulator" >>"$log" 2>&1 ||
    fail "unpacking qemu-user into $qemu_dir" "$log"
  rm -rf "$apt_dir" "$qemu_dir/deb" "$qemu_dir/package"
  [ "$(emulator_major "$emulator")" -ge 10 ] ||
    fail "checking that $emulator is QEMU 10 or later" "$log"
}

# 32-bit ELF executables and position-independent executables, i386.
binfmt_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
binfmt_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# True when the kernel already hands 32-bit programs to a QEMU 10 or later
# that it opened at registration (fix-binary flag).
registration_usable() {
  local entry=$binfmt/qemu-i386 interpreter
  [ -r "$entry" ] || return 1
  grep -qx enabled "$entry" || return 1
  grep -qE '^flags: .*F' "$entry" || return 1
  grep -qx 'magic 7f454c4601010100000000000000000002000300' "$entry" || return 1
  interpreter=$(sed -n 's/^interpreter //p' "$entry")
  [ -x "$interpreter" ] && [ "$(emulator_major "$interpreter")" -ge 10 ]
}

register_emulator() {
  local log=$qemu_dir/binfmt.log
  : >"$log"
  if ! mountpoint -q "$binfmt"; then
    $SUDO mount -t binfmt_misc binfmt_misc "$binfmt" >>"$log" 2>&1 ||
      fail "mounting binfmt_misc on $binfmt" "$log"
  fi
  registration_usable && return 0
  if [ -e "$binfmt/qemu-i386" ]; then
    echo -1 | $SUDO tee "$binfmt/qemu-i386" >>"$log" 2>&1 ||
      fail "removing the old qemu-i386 binfmt entry" "$log"
  fi
  printf '%s' ":qemu-i386:M::$binfmt_magic:$binfmt_mask:$emulator:F" | $SUDO tee "$binfmt/register" >>"$log" 2>&1 ||
    fail "registering $emulator with binfmt_misc" "$log"
  registration_usable || fail "checking the qemu-i386 binfmt entry" "$log"
}

install_wine32() {
  local log=$qemu_dir/wine32.log
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' && return 0
  : >"$log"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 >>"$log" 2>&1 || fail "adding the i386 architecture to dpkg" "$log"
  fi
  $SUDO apt-get -o DPkg::Lock::Timeout=900 update >>"$log" 2>&1 ||
    fail "apt-get update with the i386 architecture" "$log"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends \
    wine32:i386 >>"$log" 2>&1 || fail "installing wine32:i386" "$log"
}

if [ "$(emulator_major "$emulator")" -lt 10 ]; then
  echo "setup: fetching QEMU's user-mode emulator into $qemu_dir"
  fetch_emulator
fi
register_emulator
install_wine32
[ -x /usr/lib/wine/wine ] || fail "finding the 32-bit Wine loader /usr/lib/wine/wine" "$qemu_dir/wine32.log"
echo "setup: 32-bit Wine runs through $(sed -n 's/^interpreter //p' "$binfmt/qemu-i386")"
