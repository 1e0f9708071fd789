# shellcheck shell=bash
# Sourced by the whole-program bench scripts (xvfb-cpu.sh, monitors-cpu.sh,
# painters-cpu.sh): what they share to start the program and its display
# server, to read the share of one core each process uses, and to end
# every process the script started, and only those, however it ends.
#
# The script sets `seconds` (the measured span) and may set `warmup`
# (default 2 s, or KORVAL_BENCH_WARMUP) before it calls these helpers.

ticks_per_second=$(getconf CLK_TCK)
warmup=${warmup:-${KORVAL_BENCH_WARMUP:-2}}
[[ "$warmup" =~ ^[0-9]+([.][0-9]+)?$ ]] || { echo "the warm-up must be a number of seconds, not '$warmup'" >&2; exit 2; }

# The processes this script started and has not waited for yet: a child
# that was not waited for keeps its pid, so these never name anyone
# else's process.
bench_pids=()
bench_dirs=()

bench_cleanup() {
    local pid
    for pid in "${bench_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${bench_pids[@]}"; do
        for _ in $(seq 30); do bench_alive "$pid" || break; sleep 0.1; done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    bench_pids=()
    [ ${#bench_dirs[@]} -eq 0 ] || rm -rf "${bench_dirs[@]}"
}
trap bench_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

bench_fail() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}

# The one-letter state /proc shows for a process (Z once it has ended).
bench_state() {
    local stat
    { read -r stat <"/proc/$1/stat"; } 2>/dev/null || { echo gone; return 0; }
    stat=${stat##*) }
    echo "${stat%% *}"
}

bench_alive() {
    local state
    state=$(bench_state "$1")
    [ "$state" != gone ] && [ "$state" != Z ]
}

# Remembers a background process for the cleanup.
bench_started() { bench_pids+=("$1"); }

bench_forget() {
    local rest=() other
    for other in "${bench_pids[@]}"; do [ "$other" = "$1" ] || rest+=("$other"); done
    bench_pids=("${rest[@]}")
}

# Ends a process this script started, and forgets it.
bench_stop() {
    local pid=$1
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 30); do bench_alive "$pid" || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    bench_forget "$pid"
}

# A sleep that a signal cuts short: bash runs a trap only once the command
# in the foreground has ended, but at once while it waits.
bench_sleep() {
    local pid
    sleep "$1" &
    pid=$!
    bench_started "$pid"
    wait "$pid" || true
    bench_forget "$pid"
}

# A folder of the script's own, removed at the end; prints its path.
bench_folder() {
    local folder
    folder=$(mktemp -d "${TMPDIR:-/tmp}/korval-bench.XXXXXX")
    echo "$folder"
}

bench_require() {
    command -v "$1" >/dev/null || bench_fail "$1 is missing (${2:-bash scripts/install-deps.sh})"
}

# Sets `korval` to the binary's absolute path, or fails.
bench_korval() {
    [ -x "$1" ] || bench_fail "no korval binary at $1 (build first: cmake --build build --target korval)"
    korval=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
}

# user + system clock ticks of the processes, summed (0 for none)
cpu_ticks() {
    local total=0 pid stat fields
    for pid in "$@"; do
        { read -r stat <"/proc/$pid/stat"; } 2>/dev/null || continue
        # After the name, which may hold spaces: utime and stime are the
        # 12th and 13th fields.
        read -r -a fields <<<"${stat##*) }"
        total=$((total + fields[11] + fields[12]))
    done
    echo "$total"
}

# A display number that no X server holds, from the given one up (by
# default from 200 + this script's pid modulo 500).
free_display() {
    local n=${1:-$((200 + $$ % 500))}
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    echo "$n"
}

# Whether the server just started holds display N: its socket is there and
# the lock names it.
xvfb_holds() {
    local holder
    [ -e "/tmp/.X11-unix/X$1" ] || return 1
    holder=$(tr -d ' \n' <"/tmp/.X$1-lock" 2>/dev/null) || return 1
    [ "$holder" = "$xvfb_pid" ]
}

# Starts Xvfb with one screen of SIZE (such as 1920x1080) at depth 24 on a
# free display; sets xvfb_pid and xvfb_display (":N"). Another server that
# takes the same number first makes this one end: the next number is tried.
# Without -noreset the server would start over when the program's check of
# the display hangs up, and refuse the connection that follows.
start_xvfb() {
    local size=$1 n
    n=$(free_display)
    for _ in 1 2 3 4 5; do
        Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
        xvfb_pid=$!
        bench_started "$xvfb_pid"
        for _ in $(seq 100); do
            bench_alive "$xvfb_pid" || break
            xvfb_holds "$n" && break
            sleep 0.05
        done
        if bench_alive "$xvfb_pid" && xvfb_holds "$n"; then
            xvfb_display=":$n"
            return 0
        fi
        bench_stop "$xvfb_pid"
        n=$(free_display $((n + 1)))
    done
    bench_fail "Xvfb does not start at ${size} (tried five display numbers)"
}

# Starts the program with nothing stored: a fresh HOME, XDG_CONFIG_HOME and
# XDG_RUNTIME_DIR, no scaling of Qt's own unless given, then the given
# variables: start_korval NAME=VALUE... -- ARGUMENTS... Sets korval_pid and
# korval_log.
start_korval() {
    local variables=() home
    while [ $# -gt 0 ] && [ "$1" != -- ]; do variables+=("$1"); shift; done
    [ $# -eq 0 ] || shift
    home=$(bench_folder)
    bench_dirs+=("$home")
    mkdir -m 700 "$home/run"
    korval_log=$home/korval.log
    env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_ENABLE_HIGHDPI_SCALING -u QT_FONT_DPI \
        -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY \
        HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run" "${variables[@]}" \
        "$korval" "$@" </dev/null >"$korval_log" 2>&1 &
    korval_pid=$!
    bench_started "$korval_pid"
}

# Waits out the warm-up; fails, with what the program wrote, if it ended.
warm_up() {
    local label=$1
    bench_sleep "$warmup"
    bench_alive "$korval_pid" && return 0
    echo "$label: korval ended during the ${warmup} s warm-up; it wrote:" >&2
    tail -20 "$korval_log" >&2
    exit 1
}

# measure_shares LABEL PID...: the share of one core (percent) each process
# used over `seconds` of wall clock, in bench_shares, followed by their sum.
# Fails if the program (korval_pid) ended meanwhile.
measure_shares() {
    local label=$1 pid before=() after=() t0 t1
    shift
    t0=$(date +%s.%N)
    for pid in "$@"; do before+=("$(cpu_ticks "$pid")"); done
    bench_sleep "$seconds"
    t1=$(date +%s.%N)
    for pid in "$@"; do after+=("$(cpu_ticks "$pid")"); done
    bench_alive "$korval_pid" || { echo "$label: korval ended while measured; it wrote:" >&2; tail -20 "$korval_log" >&2; exit 1; }
    read -r -a bench_shares < <(awk -v t0="$t0" -v t1="$t1" -v hz="$ticks_per_second" \
        -v before="${before[*]}" -v after="${after[*]}" \
        'BEGIN { n = split(before, b, " "); split(after, a, " "); wall = t1 - t0; sum = 0;
                 for (i = 1; i <= n; i++) { share = 100 * (a[i] - b[i]) / hz / wall; sum += share;
                                            printf "%.1f ", share }
                 printf "%.1f\n", sum }')
}

# One line naming the machine and its load, for the figures' record.
machine_line() {
    local model
    model=$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -1)
    echo "machine: $(nproc) cores, ${model:-unknown processor}, load average $(cut -d' ' -f1-3 /proc/loadavg)"
}
