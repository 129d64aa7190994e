# shellcheck shell=bash
# Sourced by the Wayland stage: a compositor of its own, sway's headless
# backend, which has a seat and so a keyboard and a clipboard.
#   sway_start   starts sway without a screen, graphics card or input device,
#                waits up to 10 s for its sockets, and exports WAYLAND_DISPLAY
#                and SWAYSOCK as absolute paths, so clients find it whatever
#                their XDG_RUNTIME_DIR. Returns 1, with sway's output on
#                stderr, when it did not start.
#   sway_stop    stops it and removes its folder.
# sway refuses to run as root, so it runs under a user id that no account
# has, in a runtime folder made for it: no user is added to the machine.
# Without XWayland the clients it shows are Wayland's own.
source "$(dirname "${BASH_SOURCE[0]}")/wait.sh"

SWAY_PID=""
_sway_dir=""

# A user id between 60000 and 60999 that no account has.
_sway_free_uid() {
  local uid
  for uid in $(shuf -i 60000-60999 -n 50); do
    getent passwd "$uid" >/dev/null || { echo "$uid"; return 0; }
  done
  return 1
}

_sway_sockets_ready() {
  compgen -G "$_sway_dir/wayland-[0-9]" >/dev/null && compgen -G "$_sway_dir/sway-ipc.*" >/dev/null
}

sway_start() {
  local uid
  uid=$(_sway_free_uid) || return 1
  _sway_dir=$(mktemp -d)
  printf 'xwayland disable\noutput HEADLESS-1 resolution 1280x800\n' >"$_sway_dir/config"
  chown "$uid:$uid" "$_sway_dir"
  setpriv --reuid="$uid" --regid="$uid" --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$_sway_dir" XDG_RUNTIME_DIR="$_sway_dir" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$_sway_dir/config" >"$_sway_dir.log" 2>&1 &
  SWAY_PID=$!
  if ! wait_until 10 _sway_sockets_ready; then
    echo "sway did not start:" >&2
    cat "$_sway_dir.log" >&2
    sway_stop
    return 1
  fi
  WAYLAND_DISPLAY=$(compgen -G "$_sway_dir/wayland-[0-9]")
  SWAYSOCK=$(compgen -G "$_sway_dir/sway-ipc.*")
  export WAYLAND_DISPLAY SWAYSOCK
}

sway_stop() {
  if [ -n "$SWAY_PID" ]; then
    kill "$SWAY_PID" 2>/dev/null
    wait "$SWAY_PID" 2>/dev/null
  fi
  [ -n "$_sway_dir" ] && rm -rf "$_sway_dir" "$_sway_dir.log"
  SWAY_PID="" _sway_dir=""
  return 0
}
