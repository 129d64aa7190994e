# shellcheck shell=bash
# Sourced by the test stages that install packages: a throw-away copy of this
# machine's root, or of another system's, to install them in, so neither the
# machine nor that system ever changes.
#   throwaway_root_run [--root DIR] PATH... -- COMMAND...
#       runs COMMAND as root, chrooted into the machine's / (or DIR, a whole
#       system's root folder) seen through an overlay whose upper layer is a
#       tmpfs, in a mount and PID namespace of its own, with a /run of its
#       own. Whatever COMMAND writes, installs or removes there is gone when
#       it ends, and so is every process it started. Each PATH, a folder of
#       the machine's, is bound in at the same place, writable: what the
#       caller hands in or wants back, and what lives on another file system
#       than / and so is not in the overlay (the X server's socket folder, a
#       work folder on a separate /tmp). Returns COMMAND's status. Needs
#       root, or sudo.
#   throwaway_root_inside
#       succeeds only in COMMAND and what it starts: for a script that must
#       never change the machine itself to check before it does anything.
# The overlay's lower layer is / (or DIR) alone, without the file systems
# mounted on it; /proc, /run, /sys and /dev are mounted inside afresh or
# bound in.

# A root is the throw-away one when this file in it holds the token in
# QUORVANE_THROWAWAY_ROOT. The token is new for each run and the file is
# written only into the overlay's upper layer, so neither the machine's /
# nor a leftover environment variable can pass for it; that / is an
# overlay says nothing, as in a container it often is one already.
_throwaway_root_marker=/.quorvane-throwaway-root
# sudo -E keeps the caller's environment (DISPLAY, for one) for COMMAND.
_throwaway_root_sudo=""
[ "$(id -u)" -eq 0 ] || _throwaway_root_sudo="sudo -E"

throwaway_root_inside() {
  [ -n "${QUORVANE_THROWAWAY_ROOT:-}" ] &&
    [ "$(cat "$_throwaway_root_marker" 2>/dev/null)" = "$QUORVANE_THROWAWAY_ROOT" ]
}

throwaway_root_run() {
  local paths=() layers status token lower=/
  if [ "${1:-}" = --root ]; then
    lower=$2
    shift 2
  fi
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    paths+=("$1")
    shift
  done
  shift
  # The tmpfs is mounted on this folder inside the namespace only; outside
  # it stays an empty folder to remove.
  layers=$(mktemp -d)
  token=$(cat /proc/sys/kernel/random/uuid)
  $_throwaway_root_sudo env "QUORVANE_THROWAWAY_ROOT=$token" \
    unshare --mount --pid --fork --kill-child --propagation private \
    bash -c "$(declare -p _throwaway_root_marker; declare -f _throwaway_root_enter); _throwaway_root_enter \"\$@\"" \
    _throwaway_root "$layers" "$lower" "${#paths[@]}" "${paths[@]}" "$@"
  status=$?
  rmdir "$layers"
  return $status
}

# Runs as PID 1 of the new namespaces: when it ends, the kernel ends every
# process left in them and the mounts go with the namespace.
_throwaway_root_enter() {
  set -e
  local layers=$1 lower=$2 count=$3 path
  shift 3
  local paths=("${@:1:$count}")
  shift "$count"
  local root=$layers/root
  mount -t tmpfs -o mode=0700 throwaway-root "$layers"
  mkdir "$layers/upper" "$layers/work" "$root"
  echo "$QUORVANE_THROWAWAY_ROOT" >"$layers/upper$_throwaway_root_marker"
  mount -t overlay throwaway-root -o "lowerdir=$lower,upperdir=$layers/upper,workdir=$layers/work" "$root"
  mount -t proc proc "$root/proc"
  mount -t tmpfs -o mode=0755 run "$root/run"
  mount --rbind /sys "$root/sys"
  mount --rbind /dev "$root/dev"
  for path in "${paths[@]}"; do
    mkdir -p "$root$path"
    mount --bind "$path" "$root$path"
  done
  set +e
  chroot "$root" "$@"
}
