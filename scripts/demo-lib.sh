# Helpers shared by `make run` (scripts/run-demo) and the end-to-end test: a sorano-feed in the
# background and a settings file whose hosts point at it. Source this file; it defines functions only.

# start_feed FEED_BINARY LOG_FILE: starts sorano-feed on a free port of 127.0.0.1 and sets FEED_PID
# and FEED_PORT. Fails when the feed does not announce its port within 10 seconds.
start_feed() {
  local feed=$1 log=$2 portfile
  portfile=$(mktemp)
  "$feed" --port 0 >"$portfile" 2>"$log" &
  FEED_PID=$!
  FEED_PORT=""
  for _ in $(seq 100); do
    FEED_PORT=$(sed -n 's/^port \([0-9][0-9]*\)$/\1/p' "$portfile" | head -n1)
    [ -n "$FEED_PORT" ] && break
    kill -0 "$FEED_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$portfile"
  if [ -z "$FEED_PORT" ]; then
    echo "sorano-feed did not start (see $log)" >&2
    return 1
  fi
}

# stop_pid PID: ends a process this script started and waits for it.
stop_pid() {
  local pid=$1
  [ -n "$pid" ] || return 0
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
  fi
  wait "$pid" 2>/dev/null || true
}

# reg_dword VALUE: the REGEDIT4 form of a DWORD.
reg_dword() { printf 'dword:%08x' "$1"; }

# set_registry_values FILE NAME=VALUE...: writes the values into our key of a REGEDIT4 file (made
# when missing), replacing values of the same name and keeping every other line. A VALUE that starts
# with "dword:" is written as it stands, anything else as a quoted text.
set_registry_values() {
  local file=$1
  shift
  # The program's key: the login name, else $USER, else "All Users".
  local key login
  login=$(id -un 2>/dev/null || true)
  [ -n "$login" ] || login=${USER:-}
  [ -n "$login" ] || login="All Users"
  key="[HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\$login]"
  if [ ! -s "$file" ]; then
    printf 'REGEDIT4\r\n\r\n%s\r\n' "$key" >"$file"
    chmod 600 "$file"
  fi
  grep -qxF "$key"$'\r' "$file" || grep -qxF "$key" "$file" || printf '\r\n%s\r\n' "$key" >>"$file"
  local tmp
  tmp=$(mktemp)
  local assignments=("$@")
  REGKEY="$key" awk -v n="${#assignments[@]}" '
    BEGIN {
      key = ENVIRON["REGKEY"]
      for (i = 1; i <= n; i++) {
        a = ARGV[i]; eq = index(a, "="); name[i] = substr(a, 1, eq - 1); value = substr(a, eq + 1)
        if (value !~ /^dword:/) { gsub(/\\/, "&&", value); gsub(/"/, "\\\"", value); value = "\"" value "\"" }
        line[i] = "\"" name[i] "\"=" value
        ARGV[i] = ""
      }
    }
    { sub(/\r$/, "") }
    /^\[/ { if (inkey) flush(); inkey = ($0 == key) }
    {
      if (inkey) for (i = 1; i <= n; i++) if (index($0, "\"" name[i] "\"=") == 1) next
      printf "%s\r\n", $0
      if (inkey && $0 == key) pending = 1
    }
    function flush() { if (pending) { for (i = 1; i <= n; i++) printf "%s\r\n", line[i]; pending = 0 } }
    END { if (inkey) flush() }
  ' "${assignments[@]}" "$file" >"$tmp"
  cat "$tmp" >"$file"
  rm -f "$tmp"
}
