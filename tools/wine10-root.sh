#!/usr/bin/env bash
# wine10-root.sh make | mount | run CMD... | umount | status | remove
# The second Windows runtime: Debian 13's Wine 10 in a chroot of our own, so
# the same cross-built programs run under a newer Wine than the host's.
#
# make:   builds the chroot with debootstrap from the archive the host's apt
#         sources name, and installs Wine 10 (32-bit) and what the Wine tests
#         use. An existing chroot is reused; a half-made one is finished (or
#         made afresh when debootstrap itself did not finish). The host gets
#         debootstrap and nothing else.
# mount:  mounts what the chroot needs: proc, sys, dev (with dev/pts),
#         /run/netns, /run/zvlab, /tmp, /etc/netns and the checkout and build
#         tree at their own paths (ZV_BUILD_DIR names the tree).
# run:    runs CMD inside the chroot, mounting first when nothing is mounted
#         and then unmounting when CMD ends.
# umount: unmounts all of it (the Wine test fixture's cleanup does).
# status: exit 0 when the chroot is complete.
# remove: deletes the chroot.
# The chroot lives in $ZV_WINE10_ROOT (default /var/lib/zentvorlumo/wine10-root).
set -euo pipefail
top=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
root=${ZV_WINE10_ROOT:-/var/lib/zentvorlumo/wine10-root}
suite=trixie
# What the Wine tests call inside the chroot: screenshots, input, the lab's
# ip, chattr for read-only folders.
packages=(wine wine32:i386 xvfb xauth imagemagick xdotool iproute2 procps e2fsprogs)
done_mark=$root/.zv-complete
strap_mark=$root/.zv-bootstrapped

say() { echo "wine10-root: $*" >&2; }

# The first Debian archive of the host's apt sources (deb822 or one-line form).
host_mirror() {
  local m
  m=$(awk '/^URIs:/ { for (i = 2; i <= NF; i++) if ($i ~ /debian\/?$/) { print $i; exit } }' \
        /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
  if [ -z "$m" ]; then
    m=$(awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^https?:.*debian\/?$/) { print $i; exit } }' \
          /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | head -n 1)
  fi
  echo "${m:-http://deb.debian.org/debian}"
}

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
  DEBIAN_FRONTEND=noninteractive "$@"; }

# Mounts for apt inside the chroot while it is being made; undone on exit.
with_build_mounts() {
  local m
  for m in proc sys dev dev/pts; do mkdir -p "$root/$m"; done
  mount -t proc proc "$root/proc"
  mount --rbind /sys "$root/sys" && mount --make-rslave "$root/sys"
  mount --bind /dev "$root/dev"
  mount --bind /dev/pts "$root/dev/pts"
  trap 'for m in dev/pts dev sys proc; do umount -l "$root/$m" 2>/dev/null || true; done' EXIT
  "$@"
  for m in dev/pts dev sys proc; do umount -l "$root/$m" 2>/dev/null || true; done
  trap - EXIT
}

install_packages() {
  cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
  in_root dpkg --add-architecture i386
  in_root apt-get update -qq
  in_root apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
  in_root apt-get clean
  rm -rf "$root/var/lib/apt/lists/"*
  # Wine and `ip netns exec` want the file; debootstrap's minimal base has none.
  [ -f "$root/etc/hosts" ] || printf '127.0.0.1 localhost\n' >"$root/etc/hosts"
}

make_root() {
  # A chroot made with another package list is finished with this one.
  if [ -f "$done_mark" ] && [ "$(cat "$done_mark")" != "${packages[*]}" ]; then
    rm -f "$done_mark"
  fi
  if [ -f "$done_mark" ]; then
    say "reusing $root (wine $(in_root dpkg-query -W -f="\${Version}" wine 2>/dev/null || echo missing))"
    return
  fi
  if ! command -v debootstrap >/dev/null; then
    say "installing debootstrap on the host"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null ||
      { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null; }
  fi
  if [ ! -f "$strap_mark" ]; then
    # A debootstrap cut short cannot be resumed: start again.
    remove_root
    mkdir -p "$root"
    local mirror=$(host_mirror) t0=$SECONDS
    say "debootstrap $suite from $mirror"
    debootstrap --variant=minbase --arch=amd64 "$suite" "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
      { tail -n 20 "$root.debootstrap.log" >&2; say "debootstrap failed"; exit 1; }
    touch "$strap_mark"
    say "debootstrap took $((SECONDS - t0)) s"
  fi
  local t1=$SECONDS
  with_build_mounts install_packages
  echo "${packages[*]}" >"$done_mark"
  say "packages took $((SECONDS - t1)) s; $(du -sh "$root" | cut -f1) in all; wine $(in_root dpkg-query -W -f="\${Version}" wine)"
}

# Each build tree enters the chroot through a view of its own: the chroot
# bound at /run/zvwine10/<tree>, a mount point (for `ip netns exec`), with
# the system folders and our trees bound in at the paths they have outside.
# The views live in the host's mount namespace so that every Wine process
# sees the same files, its wineserver included (it opens files by name), even
# those a test mounts itself; as slaves, nothing done inside reaches the host.
# Apart, one tree's fixture never unmounts another's.
tree=${ZV_BUILD_DIR:+$(readlink -f "$ZV_BUILD_DIR")}
view=/run/zvwine10/$(printf '%s' "${tree:-$root}" | cksum | cut -d' ' -f1)
mounted() { mountpoint -q "$view" && mountpoint -q "$view/proc"; }
# The mount points at or under $1, deepest first.
mounts_under() { findmnt -rn -o TARGET | { grep -E "^$1(/|\$)" || true; } | sort -r; }

mount_root() {
  local build=${ZV_BUILD_ROOT:-$top/build} d
  case $build in /*) ;; *) build=$top/$build ;; esac
  [ -f "$done_mark" ] || { say "no complete chroot at $root: run $0 make"; exit 1; }
  mkdir -p /run/zvwine10 /run/netns /run/zvlab /etc/netns
  exec 7>"$view.lock"
  flock -w 60 7
  if ! mounted; then
    umount_root
    mkdir -p "$view"
    mount --bind "$root" "$view"
    mount --make-private "$view"
    mount -t proc proc "$view/proc"
    for d in /sys /dev /run/netns; do
      mkdir -p "$view$d"
      mount --rbind "$d" "$view$d"
      mount --make-rslave "$view$d"
    done
    for d in /tmp /run/zvlab /etc/netns "$top" "$build" ${tree:+"$tree"}; do
      mountpoint -q "$view$d" && continue
      mkdir -p "$d" "$view$d"
      mount --bind "$d" "$view$d"
      mount --make-slave "$view$d"
    done
  fi
  exec 7>&-
}

# Everything mounted in this tree's view, deepest first; lazily, as a test's
# leftover process may still hold a file.
umount_root() {
  local m
  mounts_under "$view" | while read -r m; do
    umount -l "$m" 2>/dev/null || true
  done
}

# Deletes the chroot, but never through a view that still holds our trees.
remove_root() {
  local v
  for v in /run/zvwine10/*; do
    [ -d "$v" ] || continue
    mounts_under "$v" | while read -r m; do umount -l "$m" || true; done
  done
  if [ -n "$(mounts_under "$root")$(mounts_under /run/zvwine10)" ]; then
    say "something is still mounted in $root or /run/zvwine10: not deleting"
    exit 1
  fi
  rm -rf "$root"
}

# CMD in the chroot. When nothing was mounted, it mounts and unmounts again
# once CMD has ended; else (a test run's fixture holds the mounts) it execs
# CMD, so that the pid stays CMD's.
run_in_root() {
  local owner=
  mounted || { mount_root; owner=1; }
  local cmd=(chroot "$view" /usr/bin/env LANG=C.UTF-8 LC_ALL=C.UTF-8 ZV_RUNTIME=wine10 ZV_IN_WINE10_ROOT=1
             /bin/sh -c 'cd "$0" 2>/dev/null || cd /; exec "$@"' "$PWD" "$@")
  if [ -z "$owner" ]; then
    exec "${cmd[@]}"
  fi
  trap 'umount_root' EXIT
  "${cmd[@]}"
}

if [ "$(id -u)" -ne 0 ]; then
  say "needs root (debootstrap, chroot and mounts)"
  exit 3
fi
case ${1:-} in
  make) make_root ;;
  run) shift; [ $# -gt 0 ] || { echo "usage: $0 run CMD..." >&2; exit 2; }; run_in_root "$@" ;;
  mount) mount_root ;;
  umount) umount_root ;;
  status) [ -f "$done_mark" ] && { echo "ready: $root"; exit 0; }; echo "not ready: $root"; exit 1 ;;
  remove) remove_root; rm -f "$root.debootstrap.log" ;;
  *) echo "usage: $0 make | mount | run CMD... | umount | status | remove" >&2; exit 2 ;;
esac
