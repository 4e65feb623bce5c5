#!/usr/bin/env bash
# Hangul typed through an input method (nabi, the two-set layout, standing in
# for the Korean IME), the last syllable still being composed inside the edit
# when the reader leaves it. One table of (edit x way out), all in one run: each
# row types one syllable of its own at the end of a finding's detail, 4X 기타 of
# the first nodule or 추가 내용, and leaves by Tab, Enter, Ctrl+Enter, Ctrl+Down,
# a click on 판독문 or Esc answered 아니요. Each report asked for on the way, and
# the last one, holds every syllable typed so far exactly once, where it was
# typed; the second nodule's 기타 stays empty.
#
# Wine puts the syllable being composed into the edit only in its default input
# style, and there mixes up the order of syllables typed in one go: one
# syllable per row keeps them in order.
source "$(dirname "$0")/e2e_lib.sh"

SENTINEL="e2e: nothing copied yet"

# Positions of the template in dialog units.
DETAIL=(77 238 282 12)     # 1019, the detail of 기관지내 병변
OTHER=(482 173 123 12)     # 1007, 4X 기타 of the selected nodule
COMMENTS=(409 241 196 64)  # 1017, 추가 내용
REPORT_BUTTON=(453 439 50 14)

# Syllables found nowhere else in the report, with the keys that compose them.
SYLLABLES=(갸:ri 냐:si 댜:ei 랴:fi 먀:ai 뱌:qi 샤:ti 야:di 쟈:wi 챠:ci 캬:zi 탸:xi 퍄:vi 햐:gi 겨:ru 녀:su 뎌:eu 려:fu)
TYPED=()

declare -A NOTE=([DETAIL]="" [OTHER]="" [COMMENTS]="")

# Asks for the report with Ctrl+Enter or a click on 판독문, copies it with "확인" and
# checks that it holds every note as typed so far, each syllable once.
report_and_check() {  # "key" or "click"
  if [ "$1" = click ]; then click_form "${REPORT_BUTTON[@]}"; else keys_holding ctrl Return; fi
  REPORT=$(wait_window "$REPORT_TITLE") || fail "the report dialog did not open"
  click_report 251 211 50 14        # 확인
  wait_gone "$REPORT_TITLE" || fail "the report dialog did not close"
  local out="${E2E_OUT_DIR:-$PWD}/$SCENARIO-clipboard.txt"
  read_clipboard "$LAST_COPY" "$out"
  LAST_COPY=$(cat "$out")
  grep -qF "기관지내 병변 있음${NOTE[DETAIL]:+ (${NOTE[DETAIL]})}" "$out" \
    || fail "the detail of 기관지내 병변 is not '${NOTE[DETAIL]}': $(cat "$out")"
  if [ -n "${NOTE[OTHER]}" ]; then
    [ "$(grep -cF "기타(${NOTE[OTHER]})" "$out")" = 1 ] || fail "4X 기타 of nodule 1 is not '${NOTE[OTHER]}': $(cat "$out")"
  fi
  # A 기타 without a text is the word alone.
  [ "$(grep -cF "(기타), 범주" "$out")" = $((${#NOTE[OTHER]} ? 1 : 2)) ] || fail "a 기타 that should be empty is not: $(cat "$out")"
  local comments
  comments=$(sed -n '/^추가 내용: $/,/^$/p' "$out" | sed '1d;$d')
  [ "$comments" = "$(printf '%b' "${NOTE[COMMENTS]}" | sed '/^$/d')" ] || fail "추가 내용 is not '${NOTE[COMMENTS]}': $comments"
  local syllable
  for syllable in "${TYPED[@]}"; do
    [ "$(grep -o "$syllable" "$out" | wc -l)" = 1 ] || fail "'$syllable' is not in the report exactly once: $(cat "$out")"
  done
}

# Clicks into the edit and puts the caret at the end of its text.
go_to_end_of() {  # edit name
  local -n place="$1"
  click_form "${place[@]}"
  if [ "$1" = COMMENTS ]; then keys ctrl+End; else keys End; fi
}

leave_by() {  # edit name, way out
  case "$2" in
    Tab | Return) keys "$2" ;;
    ctrl+Return) report_and_check key ;;
    ctrl+Down) keys_holding ctrl Down Up ;;  # and back to the first nodule
    click)
      report_and_check click
      # The click completed the syllable in the edit, but an X input method
      # keeps a copy that Wine cannot make it drop, and hands it to the next
      # key: a key on the button 판독문, which takes no text, lets it go.
      keys Tab ;;
    Escape)
      keys Escape
      wait_window "$BOX_TITLE" >/dev/null || fail "Esc did not ask whether to exit"
      keys Return                   # 아니요, the default while the form holds entries
      wait_gone "$BOX_TITLE" || fail "the question did not close" ;;
  esac
  [ "$2" = Return ] && [ "$1" = COMMENTS ] && NOTE[COMMENTS]+='\n'
  return 0
}

put_sentinel "$SENTINEL"
LAST_COPY="$SENTINEL"
start_input_method
start_program

step "two nodules of 7 mm with 4X 기타 ticked, in the right upper and left lower lobes"
for lobe in 0 4; do
  click_form 280 194 50 14          # 결절 추가
  click_form 449 67 21 12           # long axis
  type_text 7
  keys Return
  choose_in_combo 449 82 71 "$lobe" 5
  tick_form 449 174                 # 기타
done
keys_holding ctrl Up                # back to the first nodule
step "tick 기관지내 병변"
tick_form 14 238
n=0
for edit in DETAIL OTHER COMMENTS; do
  for way in Tab Return ctrl+Return ctrl+Down click Escape; do
    syllable=${SYLLABLES[n]%%:*} strokes=${SYLLABLES[n]#*:}
    n=$((n + 1))
    step "$syllable into $edit, left by $way"
    go_to_end_of "$edit"
    hangul_mode
    type_text "$strokes"
    TYPED+=("$syllable")
    NOTE[$edit]+="$syllable"
    leave_by "$edit" "$way"
  done
done

step "the last report"
report_and_check click
exit_program
echo "$SCENARIO: ${#TYPED[@]} syllables, each once in the report where it was typed"
