#pragma once
// The ways a reader opens a form's drop-down list, moves in it while it is
// open, and closes it: with a choice (Enter, Tab, a click on an item) or without
// one. Each goes through the form's loop as real keys and clicks do.
#include "FormDriver.h"

enum class ListOpen { SHOW_DROPDOWN, F4, ALT_DOWN, CLICK };
enum class ListMove { DOWN, UP, CTRL_DOWN, CTRL_UP, POINTER };
enum class ListClose { ENTER, TAB, CLICK_ITEM, ESCAPE, ALT_UP, F4, CLICK_OUTSIDE, FOCUS_ELSEWHERE };

inline constexpr ListOpen LIST_OPENS[] = {ListOpen::SHOW_DROPDOWN, ListOpen::F4, ListOpen::ALT_DOWN, ListOpen::CLICK};
inline constexpr ListMove LIST_MOVES[] = {ListMove::DOWN, ListMove::UP, ListMove::CTRL_DOWN, ListMove::CTRL_UP,
                                          ListMove::POINTER};
inline constexpr ListClose LIST_CLOSES[] = {
    ListClose::ENTER,  ListClose::TAB, ListClose::CLICK_ITEM,    ListClose::ESCAPE,
    ListClose::ALT_UP, ListClose::F4,  ListClose::CLICK_OUTSIDE, ListClose::FOCUS_ELSEWHERE};

// How an action is written in the walk's list of actions.
const char* NameOf(ListOpen open);
const char* NameOf(ListMove move);
const char* NameOf(ListClose close);

// The box must have the focus, as a click on it gives it.
void OpenList(FormDriver& form, int nIDC, ListOpen open);
// nItem: the item the pointer comes to rest on, for POINTER.
void MoveInList(FormDriver& form, int nIDC, ListMove move, int nItem);
// Returns the item the reader chose, or -1 where they chose none. nItem: the
// item clicked, for CLICK_ITEM.
int CloseList(FormDriver& form, int nIDC, ListClose close, int nItem);
