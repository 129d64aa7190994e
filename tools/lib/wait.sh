# Sourced. wait_until SECONDS COMMAND...: runs COMMAND every tenth of a second
# until it succeeds (returns 0) or SECONDS whole seconds have passed (returns
# 1). Scripts wait for a condition this way, never for a fixed time, so a busy
# machine only makes them slower, never wrong.
wait_until() {
  local seconds=$1
  shift
  local deadline=$((${EPOCHREALTIME//[.,]/} + seconds * 1000000))
  while :; do
    "$@" && return 0
    ((${EPOCHREALTIME//[.,]/} < deadline)) || return 1
    sleep 0.1
  done
}
