#!/usr/bin/env bash
# A follow-up CT entered by mouse and keyboard: prior-CT date typed into the
# picker, prior lung cancer, dose, a growing part-solid nodule and a stable solid
# one (added with Ctrl+N; its image number clicked into from the long axis, its
# lobe chosen with Enter on the item under the pointer), the first nodule's
# size retyped and another row clicked before Enter; the second nodule deleted
# by a double click on 결절 삭제 (a report then holds the first alone) and
# brought back with Ctrl+Z; the list of 처음 CT 여부 left with Esc while the
# pointer rests on 처음 CT; findings with notes, the
# last two below the screen's edge where the form scrolls (one reached with Tab
# and ticked with Space, one clicked where the view's lower edge cuts it after
# two notches of the wheel, its note once Page Down has taken the view to its end), comments on two lines (the second pasted), the report asked for with
# Ctrl+Enter held down in the comments, which opens it once and leaves it open
# and uncopied; in the report dialog the reader adds a line,
# copies with "클립보드 복사" and leaves with "취소". Runs on
# the shared screen, where the form fits, and on a 1366 x 768 laptop's, where
# it scrolls.
source "$(dirname "$0")/e2e_lib.sh"

SENTINEL="e2e: nothing copied yet"
EXPECTED="추적CT (이전CT: 2023-05-17)
과거 폐암 병력 있음.
선량 (CTDIvol): 3.50 mGy

영상소견
좌하엽(#88), 11.5 mm 부분고형 결절 있음 (고형부분: 7.5 mm), 커짐, 범주: 4B
우상엽(#12), 4.0 mm 고형 결절 있음, 변화 없음, 범주: 2

폐결절 외 폐암시사 소견: 폐경화 (RLL peripheral).
폐결절 외 의미있는 소견: 관상동맥 석회화 (Moderate), 기타 (thyroid nodule 1.2 cm).
다른 소견: 비활동성 폐결핵, 기타 (calcified granuloma).

추가 내용: 
compared with the prior CT
결절 크기 증가

결론: 범주 4XS 폐암 매우 의심
악성 여부 확인을 위하여 필요에 따라 흉부 CT, PET/CT 혹은 조직검사 등의 시행을 권고합니다.
새로운 큰 결절이 발생한 경우 감염/염증 병변을 배제하기 위해 한달 후 저선량흉부 CT 촬영합니다.
Reviewed: Dr. Hong"

start_program

step "follow-up CT"
choose_in_combo 66 7 69 1 2               # 처음 CT 여부: 추적 CT
step "prior-CT date 2023. 5. 17."
click_form_at 143 13                      # the year field of the date picker, first in the Korean format
type_text 2023
keys Right
type_text 5
keys Right
type_text 17
step "prior lung cancer"
tick_form 211 8                           # 과거 폐암 병력
step "CTDIvol 3.5"
retype 319 7 52 3.5

step "first nodule: part-solid, 14 x 10, solid 9 x 6"
click_form 280 194 50 14                  # 결절 추가
choose_in_combo 449 52 71 1 3             # 부분고형
click_form 449 67 21 12
type_text 14
keys Return                               # the focus moves on to the short axis
type_text 10
keys Return
click_form 542 67 21 12
type_text 9
keys Return
type_text 6
keys Return
step "left lower lobe, image 88, growing"
choose_in_combo 449 82 71 4 5             # 좌하엽
retype 553 82 52 88
choose_in_combo 449 114 71 1 3            # 커짐

step "second nodule: solid 4 mm, image 12 clicked into straight from the long axis"
keys ctrl+n                               # the caret waits in the new nodule's long axis
type_text 4
retype 553 82 52 12                       # the click leaves the focus in 영상#
step "right upper lobe, Enter on the item under the pointer; unchanged"
choose_in_combo_with_enter 449 82 71 0 5  # 우상엽
choose_in_combo 449 114 71 2 3            # 변화없음

step "the first nodule's long axis corrected to 13, then the second row clicked"
click_nodule_row 0
retype_without_enter 449 67 21 13
click_nodule_row 1                        # the 13 stays with the first nodule

step "a double click on 결절 삭제 deletes the second nodule alone"
move_form 359 201                         # 결절 삭제
xdotool click --repeat 2 --delay 100 1    # well within Windows' double-click time, 500 ms
sleep "$KEY_PAUSE"
put_sentinel "$SENTINEL"
keys ctrl+Return
REPORT=$(wait_window "$REPORT_TITLE") || fail "the report dialog did not open"
click_report 251 211 50 14                # 확인
wait_gone "$REPORT_TITLE" || fail "the report dialog did not close"
OUT="${E2E_OUT_DIR:-$PWD}/$SCENARIO-after-delete.txt"
read_clipboard "$SENTINEL" "$OUT"
[ "$(grep ', 범주: ' "$OUT")" = "$(grep '^좌하엽' <<<"$EXPECTED")" ] || fail "not the first nodule alone: $(cat "$OUT")"
step "Ctrl+Z brings the second nodule back"
form_view_to_top                          # from 판독문, where the report left the focus and the view
keys ctrl+z

step "Esc on the open list of 처음 CT 여부, the pointer resting on 처음 CT"
point_in_combo 66 7 69 0 2
keys Escape
wait_list_closed

step "findings with notes"
tick_form 14 279                          # 폐경화
click_form 77 279 101 12
type_text "RLL peripheral"
tick_form 14 335                          # 관상동맥 석회화
choose_in_combo 89 334 57 1 3             # Moderate
tick_form 164 366                         # 기타 (significant)
click_form 198 365 159 12
type_text "thyroid nodule 1.2 cm"
step "inactive tuberculosis, the next control, below the edge of a small screen"
keys Tab space                            # 비활동성 폐결핵
step "another finding, its box cut by the view's lower edge, clicked where it shows"
form_view_to_end
form_wheel_up 2
tick_form_cut_by_lower_edge 164 409       # 기타 (다른 소견)
step "its note, clicked where the view at its end shows it"
form_view_to_end
click_form 198 409 159 12
type_text "calcified granuloma"
keys shift+Tab                            # back on the check box, which leaves Page Up to the form
form_view_to_top
step "comments on two lines"
click_form 409 241 196 64
type_text "compared with the prior CT"
keys Return
paste_text "결절 크기 증가"

put_sentinel "$SENTINEL"
step "report with Ctrl+Enter held down, still in the comments"
hold_keys ctrl+Return
REPORT=$(wait_window "$REPORT_TITLE") || fail "the report dialog is not open after the keys were let go"
[ "$(timeout 5 xclip -o -selection clipboard)" = "$SENTINEL" ] || fail "the held keys copied the report"
step "add the reader's line at the end of the report"
click_report 7 7 351 193
keys ctrl+End Return
type_text "Reviewed: Dr. Hong"
step "클립보드 복사"
click_report 7 211 50 14                  # 클립보드 복사
OUT="${E2E_OUT_DIR:-$PWD}/$SCENARIO-clipboard.txt"
read_clipboard "$SENTINEL" "$OUT"
expect_report "$OUT" "$EXPECTED"
step "취소"
xdotool search --onlyvisible --name "$REPORT_TITLE" >/dev/null || fail "the report dialog closed on 클립보드 복사"
click_report 308 211 50 14                # 취소
wait_gone "$REPORT_TITLE" || fail "the report dialog did not close on 취소"

exit_program
echo "$SCENARIO: the edited report reached the clipboard as expected ($OUT)"
