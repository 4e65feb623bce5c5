#!/usr/bin/env bash
# The typical entry of one nodule, by mouse and keyboard: Add, 7 and Enter,
# tick 침상결절, Report (the lobe is missing), OK, choose the lobe, open its list
# twice and leave it without a choice (Ctrl+Down then Esc, and Esc with the
# pointer on another item), Report, "확인"; the report must reach the clipboard
# exactly.
source "$(dirname "$0")/e2e_lib.sh"

SENTINEL="e2e: nothing copied yet"
EXPECTED="처음CT
선량 (CTDIvol): 0.00 mGy

영상소견
우상엽(#0), 7.0 mm 고형 결절 있음 (침상), 범주: 4X

결론: 범주 4X 폐암 매우 의심
악성 여부 확인을 위하여 필요에 따라 흉부 CT, PET/CT 혹은 조직검사 등의 시행을 권고합니다.
새로운 큰 결절이 발생한 경우 감염/염증 병변을 배제하기 위해 한달 후 저선량흉부 CT 촬영합니다."

put_sentinel "$SENTINEL"
start_program

step "add a nodule"
click_form 280 194 50 14          # 결절 추가
step "type the long axis 7 and Enter"
click_form 449 67 21 12           # long axis
type_text 7
keys Return
step "tick 침상결절"
tick_form 449 161

step "report without a lobe"
click_form 453 439 50 14          # 판독문
wait_window "$BOX_TITLE" >/dev/null || fail "no message about the missing lobe"
keys Return                       # OK
wait_gone "$BOX_TITLE" || fail "the message box did not close"
# The message leaves the focus on the lobe: the first item is chosen from the keyboard.
step "choose the lobe with the focus where the message left it"
keys Down
# Lists closed without a choice: the lobe stays what the list opened on.
step "Ctrl+Down in the open lobe list, then Esc"
open_combo 449 82 71
keys ctrl+Down Escape
wait_list_closed
step "Esc on the open lobe list, the pointer resting on 좌하엽"
point_in_combo 449 82 71 4 5
keys Escape
wait_list_closed

step "report"
click_form 453 439 50 14          # 판독문
REPORT=$(wait_window "$REPORT_TITLE") || fail "the report dialog did not open"
step "확인"
click_report 251 211 50 14        # 확인
wait_gone "$REPORT_TITLE" || fail "the report dialog did not close"

step "read the clipboard"
OUT="${E2E_OUT_DIR:-$PWD}/$SCENARIO-clipboard.txt"
read_clipboard "$SENTINEL" "$OUT"
expect_report "$OUT" "$EXPECTED"

exit_program
echo "$SCENARIO: the report reached the clipboard as expected ($OUT)"
