# ./bench.sh --profile: how many requests each window action makes of the Wine
# server, and how many of the form's windows it draws against those whose state
# it changes. Under Wine nearly every call that changes a window (a text, a
# focus, a caret, an invalidation, a paint) is a round trip to the server, and a
# loaded machine makes each dearer; over a remote desktop every draw is traffic.
# Neither count depends on the load, so what a change adds or saves shows on a
# busy machine too. Sourced by bench.sh after common.sh.

PROFILE_REPETITIONS=3  # after the benchmark's two warm-up runs, which are not counted

# Runs the window benchmark once under a server that traces every request, in
# the prefix of this tree; the benchmark names each action's begin and end with
# an event (window_bench --mark), which the trace shows.
trace_window_bench() {  # build dir, trace file
  # The prefix set up as for every other run (faces, theme), whichever ran first.
  start_wine_server
  stop_wine
  # A client that finds no server starts one, tracing if the client traces the
  # server channel, and the server keeps the client's standard error.
  WINEDEBUG=+server in_wine_locale wineboot -i </dev/null >/dev/null 2>"$2"
  setsid env "${WINE_LOCALE_ENV[@]}" wine "$WIN32_BUILD/keep_desktop.exe" </dev/null >/dev/null 2>&1 &
  (cd "$1" && in_wine_locale wine window_bench.exe "$PROFILE_REPETITIONS" --mark </dev/null >/dev/null 2>>"$BENCH_LOG")
  local status=$?
  stop_wine
  return $status
}

# Rows "action <TAB> n <TAB> median per run <TAB> the commonest kinds",
# from the requests of the benchmark's thread between each begin and end.
count_requests() {  # trace file
  awk '
    function flush() { if (run != "") { n = ++runs[run]; counts[run, n] = total } run = ""; total = 0 }
    /name=L"window_bench [a-z]+ [0-9]+ (begin|shown|end)"/ {
      match($0, /name=L"window_bench [a-z]+ [0-9]+ [a-z]+"/)
      split(substr($0, RSTART + 20, RLENGTH - 21), mark, " ")
      thread = substr($0, 1, 4)
      flush()
      seen[mark[1], mark[2], mark[3]]++
      # Two warm-up runs first; the report is counted up to its dialog and from there to OK.
      if (seen[mark[1], mark[2], mark[3]] > 2 && mark[3] != "end")
        run = (mark[3] == "shown" ? mark[1] " OK" : mark[1]) SUBSEP mark[2]
      next
    }
    run != "" && substr($0, 1, 4) == thread && $2 ~ /^[a-z_0-9]+\(/ && $0 !~ /\) = / {
      total++
      kind = $2; sub(/\(.*/, "", kind); kinds[run, kind]++; kindlist[run] = kindlist[run] " " kind
    }
    END {
      flush()
      for (r in runs) {
        m = runs[r]
        for (i = 1; i <= m; ++i) v[i] = counts[r, i]
        for (i = 2; i <= m; ++i) for (j = i; j > 1 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
        split(r, key, SUBSEP)
        top = ""
        split(kindlist[r], list, " ")
        delete done
        for (pick = 1; pick <= 3; ++pick) {
          best = ""
          for (i in list) { k = list[i]; if (!(k in done) && (best == "" || kinds[r, k] > kinds[r, best])) best = k }
          if (best == "") break
          done[best] = 1
          top = top (top == "" ? "" : ", ") best " " sprintf("%.0f", kinds[r, best] / m)
        }
        printf "%s\t%s\t%d\t%s\n", key[1], key[2], v[int((m + 1) / 2)], top
      }
    }
  ' "$1" | sort -t$'\t' -k1,1 -k2n
}

# The table: this tree's requests per action, and the earlier commit's beside them.
print_requests() {  # rows of this tree, [rows of the commit, its label]
  awk -F'\t' -v label="${3:-}" '
    FILENAME == ARGV[1] { now[$1 SUBSEP $2] = $3; top[$1 SUBSEP $2] = $4; order[++n] = $1 SUBSEP $2; next }
    { then[$1 SUBSEP $2] = $3 }
    END {
      if (label == "") printf "%-26s  %5s  %8s  %s\n", "server requests", "n", "now", "commonest per run"
      else printf "%-26s  %5s  %8s  %8s  %s\n", "server requests", "n", label, "now", "commonest per run"
      for (i = 1; i <= n; ++i) {
        split(order[i], k, SUBSEP)
        if (label == "") printf "%-26s  %5s  %8s  %s\n", k[1], k[2], now[order[i]], top[order[i]]
        else printf "%-26s  %5s  %8s  %8s  %s\n", k[1], k[2], (order[i] in then ? then[order[i]] : "-"), now[order[i]], top[order[i]]
      }
    }
  ' "$1" "${2:-/dev/null}"
}

# Runs the window benchmark once more, counting its draws (window_bench --draws)
# in an ordinary Wine of this tree's prefix: the hooks that count them would add
# requests to a traced run. Rows "action <TAB> n <TAB> drawn <TAB> changed <TAB>
# excess <TAB> the excess windows".
count_draws() {  # build dir, rows file
  start_wine
  (cd "$1" && in_wine_locale wine window_bench.exe "$PROFILE_REPETITIONS" --draws </dev/null 2>>"$BENCH_LOG") \
    | tr -d '\r' | sort -t$'\t' -k1,1 -k2n >"$2"
  local status=${PIPESTATUS[0]}
  stop_wine
  return "$status"
}

# The table: this tree's draws per action against the budget, no window drawn
# that did not change, and the earlier commit's excess beside them.
print_draws() {  # rows of this tree, [rows of the commit, its label]
  awk -F'\t' -v label="${3:-}" '
    FILENAME == ARGV[1] { row[++n] = $0; next }
    { then[$1 SUBSEP $2] = $5 }
    END {
      printf "%-26s  %5s  %5s  %7s", "windows drawn", "n", "drawn", "changed"
      if (label != "") printf "  %15s", "excess " label
      printf "  %6s  %-16s  %s\n", "excess", "budget", "drawn unchanged"
      for (i = 1; i <= n; ++i) {
        split(row[i], f, "\t")
        printf "%-26s  %5s  %5s  %7s", f[1], f[2], f[3], f[4]
        if (label != "") printf "  %15s", ((f[1] SUBSEP f[2]) in then ? then[f[1], f[2]] : "-")
        printf "  %6s  %-16s  %s\n", f[5], "excess 0: " (f[5] == 0 ? "met" : "MISSED"), f[6]
      }
    }
  ' "$1" "${2:-/dev/null}"
}
