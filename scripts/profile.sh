# ./bench.sh --profile: how many requests each window action makes of the Wine
# server. Under Wine nearly every call that changes a window (a text, a focus, a
# caret, an invalidation, a paint) is a round trip to the server, and a loaded
# machine makes each dearer; the counts do not depend on the load, so what a
# change adds or saves shows on a busy machine too. Sourced by bench.sh after
# common.sh.

PROFILE_REPETITIONS=3  # after the benchmark's two warm-up runs, which are not counted

# Runs the window benchmark once under a server that traces every request, in
# the prefix of this tree; the benchmark names each action's begin and end with
# an event (window_bench --mark), which the trace shows.
trace_window_bench() {  # build dir, trace file
  stop_wine
  ensure_wine_locale || return 1
  export TMPDIR="$BUILD/tmp"
  mkdir -p "$WINEPREFIX" "$TMPDIR"
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
