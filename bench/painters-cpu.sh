#!/usr/bin/env bash
# Whole-program cost of the saver's painters on X11 and on Wayland, in one
# run: `korval /s` with nothing stored (the default settings), in turn
#   x11       on Xvfb at 1920 x 1080 (QT_QPA_PLATFORM=xcb),
#   wayland   on sway's headless backend drawing with pixman, one output of
#             1920 x 1080 (QT_QPA_PLATFORM=wayland),
#   4k        on Xvfb at 3840 x 2160,
#   4k-scale2 the same with QT_SCALE_FACTOR=2.
# After a warm-up it reads from /proc the share of one core (user + system)
# that the program and the display server (Xvfb or sway) used over the
# measured seconds, prints them in a table, and the two ratios the painters
# are held to: Wayland / X11 at 1920 x 1080 and scale 2 / scale 1 at
# 3840 x 2160, each at most 1.5.
#
# Usage: bench/painters-cpu.sh [korval binary] [seconds]
#   KORVAL_BENCH_CASES="x11 wayland"  the cases to run (default all four)
#   KORVAL_BENCH_WARMUP=3             the warm-up in seconds (default 2)
#   KORVAL_BENCH_ROUNDS=3             runs the cases that many times in turn,
#                                     then prints the means; the ratios are
#                                     those of the means, followed by each
#                                     round's own
#   KORVAL_BENCH_PERF=wayland         after that case's measurement, records
#                                     the program and its server with
#                                     `perf record -g` for as long again and
#                                     prints the top symbols (self time),
#                                     in the first round;
#                                     KORVAL_BENCH_PERF_DATA=file keeps the
#                                     record for `perf report -i file -G`,
#                                     KORVAL_BENCH_PERF_GRAPH=dwarf records
#                                     whole call chains through Qt (which
#                                     has no frame pointers)
#   KORVAL_BENCH_PERF_TOP=40          how many symbols it prints (default 25)
# sway refuses to run as root: as root it runs as the user korval-test
# (scripts/install-deps.sh makes it), otherwise as the user running this.
set -euo pipefail

seconds=${2:-10}
source "$(dirname "$0")/cpu-share-lib.sh"

read -r -a cases <<<"${KORVAL_BENCH_CASES:-x11 wayland 4k 4k-scale2}"
perf_case=${KORVAL_BENCH_PERF:-}
rounds=${KORVAL_BENCH_ROUNDS:-1}
sway_user=korval-test
ratio_goal=1.5

for case_name in "${cases[@]}"; do
    case $case_name in
        x11 | 4k | 4k-scale2) bench_require Xvfb "apt-get install xvfb" ;;
        wayland)
            bench_require sway "apt-get install sway"
            bench_require swaymsg "apt-get install sway"
            bench_require setpriv "apt-get install util-linux"
            [ "$(id -u)" -ne 0 ] || id -u "$sway_user" >/dev/null 2>&1 \
                || bench_fail "no user $sway_user to run sway as (bash scripts/install-deps.sh makes it)"
            ;;
        *) bench_fail "unknown case '$case_name' (x11, wayland, 4k, 4k-scale2)" ;;
    esac
done
if [ -n "$perf_case" ]; then
    [[ " ${cases[*]} " == *" $perf_case "* ]] || bench_fail "KORVAL_BENCH_PERF=$perf_case is not among the cases run (${cases[*]})"
    bench_require perf "apt-get install linux-perf"
fi
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    bench_fail "seconds must be a whole number above 0, not '$seconds'"
fi
if ! [[ "$rounds" =~ ^[0-9]+$ ]] || [ "$rounds" -eq 0 ]; then
    bench_fail "KORVAL_BENCH_ROUNDS must be a whole number above 0, not '$rounds'"
fi
bench_korval "${1:-build/korval}"

# sway on its headless backend with one output of SIZE, as an unprivileged
# user. Its home, readable by all, holds the configuration and its runtime
# folder, which only that user may enter; the program, whoever it runs as,
# reaches the display by the socket's full path. Sets sway_pid,
# sway_socket and sway_ipc.
start_sway() {
    local size=$1 home launcher=() uid gid
    home=$(mktemp -d /tmp/korval-bench-sway.XXXXXX)
    bench_dirs+=("$home")
    mkdir -m 700 "$home/run"
    printf '%s\n' "xwayland disable" "default_border none" "focus_follows_mouse no" \
        "output HEADLESS-1 resolution $size position 0 0" >"$home/config"
    chmod 755 "$home"
    chmod 644 "$home/config"
    if [ "$(id -u)" -eq 0 ]; then
        uid=$(id -u "$sway_user")
        gid=$(id -g "$sway_user")
        chown "$uid:$gid" "$home" "$home/run" "$home/config"
        launcher=(setpriv --reuid="$uid" --regid="$gid" --clear-groups --pdeathsig=KILL)
    fi
    "${launcher[@]}" env -i HOME="$home" XDG_RUNTIME_DIR="$home/run" PATH=/usr/bin:/bin LC_ALL=C.UTF-8 \
        WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=1 \
        sway --config "$home/config" </dev/null >"$home/sway.log" 2>&1 &
    sway_pid=$!
    bench_started "$sway_pid"
    sway_socket="" sway_ipc=""
    for _ in $(seq 200); do
        bench_alive "$sway_pid" || break
        sway_socket=$(find "$home/run" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' | head -1)
        sway_ipc=$(find "$home/run" -maxdepth 1 -name 'sway-ipc.*.sock' | head -1)
        if [ -n "$sway_socket" ] && [ -n "$sway_ipc" ] \
            && swaymsg -r -s "$sway_ipc" -t get_outputs 2>/dev/null | tr -d ' \n' \
                | grep -q "\"current_mode\":{\"width\":${size%x*},\"height\":${size#*x},"; then
            return 0
        fi
        sleep 0.05
    done
    echo "sway is not ready with one $size output within 10 s; it wrote:" >&2
    tail -20 "$home/sway.log" >&2
    exit 1
}

# perf record -g on the program and its server for `seconds`, then the top
# symbols by where the time was spent (self time), each with its process.
profile() {
    local label=$1 data pid status
    data=${KORVAL_BENCH_PERF_DATA:-$(bench_folder)/perf.data}
    [ -n "${KORVAL_BENCH_PERF_DATA:-}" ] || bench_dirs+=("$(dirname "$data")")
    perf record -q --call-graph "${KORVAL_BENCH_PERF_GRAPH:-fp}" -o "$data" -p "$2,$3" -- sleep "$seconds" >"$data.log" 2>&1 &
    pid=$!
    bench_started "$pid"
    status=0
    wait "$pid" || status=$?
    bench_forget "$pid"
    if [ "$status" -ne 0 ]; then
        echo "$label: perf record failed (status $status):" >&2
        tail -5 "$data.log" >&2
        return 0
    fi
    echo "perf, $label, $seconds s, program and server, self time, top symbols:"
    perf report -i "$data" --stdio --no-children -g none --sort comm,dso,symbol --percent-limit 0.5 2>/dev/null \
        | grep -v -e '^#' -e '^$' | sed -E 's/[[:space:]]+$//; s/[[:space:]]+-[[:space:]]+-$//; s/[[:space:]]+$//' \
        | head -"${KORVAL_BENCH_PERF_TOP:-25}" || true
    [ -z "${KORVAL_BENCH_PERF_DATA:-}" ] || echo "(kept in $data: perf report -i $data)"
}

# Each case's shares, one word per round.
declare -A program_shares=() server_shares=() together_shares=() labels=() server_names=()

run_case() {
    local name=$1 round=$2 label server variables=() server_name
    case $name in
        x11) label="X11 1920x1080"; start_xvfb 1920x1080 ;;
        4k) label="X11 3840x2160"; start_xvfb 3840x2160 ;;
        4k-scale2) label="X11 3840x2160 scale 2"; start_xvfb 3840x2160; variables=(QT_SCALE_FACTOR=2) ;;
        wayland) label="Wayland 1920x1080"; start_sway 1920x1080 ;;
    esac
    if [ "$name" = wayland ]; then
        server=$sway_pid server_name=sway
        start_korval QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$sway_socket" -- /s
    else
        server=$xvfb_pid server_name=Xvfb
        start_korval QT_QPA_PLATFORM=xcb DISPLAY="$xvfb_display" "${variables[@]}" -- /s
    fi
    warm_up "$label"
    measure_shares "$label" "$korval_pid" "$server"
    labels[$name]=$label server_names[$name]=$server_name
    program_shares[$name]+="${bench_shares[0]} "
    server_shares[$name]+="${bench_shares[1]} "
    together_shares[$name]+="${bench_shares[2]} "
    row "$label" "${bench_shares[0]}" "${bench_shares[1]}" "$server_name" "${bench_shares[2]}"
    [ "$perf_case" != "$name" ] || [ "$round" -ne 1 ] || profile "$label" "$korval_pid" "$server"
    bench_stop "$korval_pid"
    bench_stop "$server"
}

row() { printf "%-24s  %8s%%  %8s%%  %-5s  %8s%%\n" "$@"; }

# The mean of the words, one decimal.
mean() { awk '{ s = 0; for (i = 1; i <= NF; i++) s += $i; printf "%.1f", NF ? s / NF : 0 }' <<<"$1"; }

# "A / B = R (goal <= G: met)" from the means over the rounds, with each
# round's ratio where there were several; or why it cannot be worked out.
ratio() {
    local what=$1 a=${together_shares[$2]:-} b=${together_shares[$3]:-}
    if [ -z "$a" ] || [ -z "$b" ]; then
        echo "$what: not measured (needs the cases $2 and $3)"
        return 0
    fi
    awk -v what="$what" -v a="$a" -v b="$b" -v goal="$ratio_goal" \
        'BEGIN { n = split(a, x, " "); split(b, y, " "); ma = 0; mb = 0; each = "";
                 for (i = 1; i <= n; i++) { ma += x[i] / n; mb += y[i] / n;
                                            each = each sprintf(" %.2f", y[i] > 0 ? x[i] / y[i] : 0) }
                 if (mb <= 0) { printf "%s: %.1f%% / %.1f%%: cannot divide\n", what, ma, mb; exit }
                 r = ma / mb; printf "%s: %.1f%% / %.1f%% = %.2f (goal <= %.1f: %s)", what, ma, mb, r, goal,
                 (r <= goal ? "met" : "NOT met");
                 if (n > 1) printf "; round by round:%s", each; printf "\n" }'
}

echo "korval /s with nothing stored, $seconds s after a $warmup s warm-up each, share of one core (user + system)"
machine_line
printf "%-24s  %9s  %9s  %-5s  %9s\n" "case" "program" "server" "" "together"
for round in $(seq "$rounds"); do
    [ "$rounds" -eq 1 ] || echo "round $round of $rounds"
    for case_name in "${cases[@]}"; do
        run_case "$case_name" "$round"
    done
done
if [ "$rounds" -gt 1 ]; then
    echo "mean of $rounds rounds"
    for case_name in "${cases[@]}"; do
        row "${labels[$case_name]}" "$(mean "${program_shares[$case_name]}")" "$(mean "${server_shares[$case_name]}")" \
            "${server_names[$case_name]}" "$(mean "${together_shares[$case_name]}")"
    done
fi
ratio "Wayland / X11 at 1920x1080" wayland x11
ratio "X11 scale 2 / scale 1 at 3840x2160" 4k-scale2 4k
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
