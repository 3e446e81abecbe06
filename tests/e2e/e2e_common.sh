# Sourced by the end-to-end scripts. Arguments of the script: <build dir> <source dir>.
# Uses the Wine prefix and X display of the test run (scripts/test.sh); a script run on
# its own gets the build's prefix and must have DISPLAY set.
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
scr="$build/cirrane.scr"
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=-all
base_overrides="mscoree,mshtml="
export WINEDLLOVERRIDES="$base_overrides"
[ -n "${DISPLAY:-}" ] || { echo "e2e: no DISPLAY" >&2; exit 1; }

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits up to $2 seconds for background process $1 to end and sets exit_code to its exit
# code, or to "timeout" after killing it. Call it directly, not in $(...): only this shell
# can wait for its own children.
exit_code=""
wait_exit() {
  local pid=$1 seconds=$2 i
  for ((i = 0; i < seconds * 10; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"; exit_code=$?; return
    fi
    sleep 0.1
  done
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
  exit_code=timeout
}
