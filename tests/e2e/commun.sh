# Shared helpers of the end-to-end runs of the built program (bash, under Xvfb).
# Every wait is bounded, so a run always ends by itself.
set -u

PROGRAMME=${PROGRAMME:?}
SANDBOX=${SANDBOX:?}
PORT=${PORT:?}
URL="http://127.0.0.1:$PORT"
TITRE_MESSAGES='^configurateur-quelt$'
reussis=0
echecs=0
SANDBOX_PID=""
TRAVAIL=$(mktemp -d)

nettoyer() {
  [ -n "$SANDBOX_PID" ] && kill "$SANDBOX_PID" 2>/dev/null && wait "$SANDBOX_PID" 2>/dev/null
  pkill -f "$PROGRAMME" 2>/dev/null
  rm -rf "$TRAVAIL"
}
trap nettoyer EXIT

verifier() { # description, then a command that must succeed
  local description=$1
  shift
  if "$@"; then
    reussis=$((reussis + 1))
    echo "ok   - $description"
  else
    echecs=$((echecs + 1))
    echo "FAIL - $description"
  fi
}

bilan() {
  echo "$reussis passed, $echecs failed"
  [ "$echecs" -eq 0 ]
}

demarrer_sandbox() { # extra arguments for the sandbox
  "$SANDBOX" --port "$PORT" "$@" >"$TRAVAIL/sandbox.out" 2>"$TRAVAIL/sandbox.err" &
  SANDBOX_PID=$!
  local i
  for i in $(seq 100); do
    grep -q "^http://" "$TRAVAIL/sandbox.out" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "sandbox did not start"; cat "$TRAVAIL/sandbox.err"
  return 1
}

controle() { # method path [body]
  curl -s --max-time 5 -X "$1" "$URL$2" ${3:+--data-binary "$3"} -H 'Content-Type: application/json'
}

# Waits for a window whose title matches the pattern; prints its id.
attendre_fenetre() { # pattern [seconds]
  local i id
  for i in $(seq $((${2:-10} * 10))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

attendre_disparition() { # pattern [seconds]
  local i
  for i in $(seq $((${2:-10} * 10))); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Presses Enter in a window: the focused button (a message box's OK).
presser_entree() { # window id
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
  xdotool key Return
}

# Waits for a child process to end and sets CODE to its exit code, or "timeout".
# (Not in a subshell: only this shell can wait for its own children.)
attendre_fin() { # pid seconds
  local i
  CODE=timeout
  for i in $(seq $(($2 * 10))); do
    if ! kill -0 "$1" 2>/dev/null; then
      wait "$1"
      CODE=$?
      return 0
    fi
    sleep 0.1
  done
  kill "$1" 2>/dev/null
  wait "$1" 2>/dev/null
  return 1
}

ecrire_config() { # path, then INI lines
  local chemin=$1
  shift
  printf '%s\r\n' "$@" >"$chemin"
}
