#pragma once
// Message maps as static tables: each entry binds a window message, or a control
// id with its notification code, to a member handler through a typed thunk, so
// no member-pointer casts are needed and a wrong signature fails to compile.
#include <windows.h>

#include <span>
#include <type_traits>

class CDialog;

// Where a handler's result goes. A dialog procedure returns whether it handled
// the message; a message's own result goes through DWLP_MSGRESULT, except for
// the few messages whose result the dialog procedure returns itself.
enum class MessageResult {
    None,           // handled; the message has no result of its own
    MsgResult,      // set as DWLP_MSGRESULT (WM_NOTIFY, WM_QUERYENDSESSION, ...)
    ReturnedByProc  // returned by the dialog procedure (WM_QUERYDRAGICON, WM_CTLCOLOR*, ...)
};

struct MessageMapEntry {
    UINT message;  // WM_COMMAND, WM_NOTIFY or another window message
    UINT code;     // notification code for WM_COMMAND / WM_NOTIFY
    UINT id;       // control id for WM_COMMAND / WM_NOTIFY
    UINT idLast;   // the last id of a range of controls; id itself otherwise
    MessageResult result;
    // Returns the handler's result, passed on as `result` says.
    INT_PTR (*invoke)(CDialog& dialog, WPARAM wParam, LPARAM lParam);
};

struct MessageMap {
    const MessageMap* base;
    std::span<const MessageMapEntry> entries;
};

namespace message_map_detail {

template <typename> struct MemberOf;
template <typename T, typename R, typename... A> struct MemberOf<R (T::*)(A...)> { using type = T; };
template <auto Handler> using Owner = typename MemberOf<decltype(Handler)>::type;

template <auto Handler> INT_PTR Command(CDialog& d, WPARAM, LPARAM) {
    (static_cast<Owner<Handler>&>(d).*Handler)();
    return TRUE;
}

template <auto Handler> INT_PTR CommandFrom(CDialog& d, WPARAM wParam, LPARAM) {
    (static_cast<Owner<Handler>&>(d).*Handler)(static_cast<int>(LOWORD(wParam)));
    return TRUE;
}

template <auto Handler> INT_PTR Notify(CDialog& d, WPARAM, LPARAM lParam) {
    LRESULT result = 0;
    (static_cast<Owner<Handler>&>(d).*Handler)(reinterpret_cast<NMHDR*>(lParam), &result);
    return result;
}

template <auto Handler> INT_PTR NoArgs(CDialog& d, WPARAM, LPARAM) {
    (static_cast<Owner<Handler>&>(d).*Handler)();
    return 0;
}

template <auto Handler> INT_PTR SysCommand(CDialog& d, WPARAM wParam, LPARAM lParam) {
    (static_cast<Owner<Handler>&>(d).*Handler)(static_cast<UINT>(wParam), lParam);
    return 0;
}

template <typename T> INT_PTR AsResult(T value) {
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<INT_PTR>(value);
    else
        return static_cast<INT_PTR>(value);
}

// A handler without arguments whose value (a BOOL, a handle) is the message's result.
template <auto Handler> INT_PTR Answer(CDialog& d, WPARAM, LPARAM) {
    return AsResult((static_cast<Owner<Handler>&>(d).*Handler)());
}

}  // namespace message_map_detail

#define DECLARE_MESSAGE_MAP()                     \
public:                                           \
    static const MessageMap* GetThisMessageMap(); \
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

#define BEGIN_MESSAGE_MAP(theClass, baseClass)        \
    const MessageMap* theClass::GetThisMessageMap() { \
        using ThisBase = baseClass;                   \
        static const MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                                                                                            \
    { 0, 0, 0, 0, MessageResult::None, nullptr }                                                                      \
    }                                                                                                                \
    ;                                                                                                                \
    static const MessageMap map = {ThisBase::GetThisMessageMap(), std::span(entries).first(std::size(entries) - 1)}; \
    return &map;                                                                                                     \
    }

#define ON_COMMAND_CODE(code, id, fn)                                                                       \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), MessageResult::None, \
     &message_map_detail::Command<fn>},
// A control's notification to a handler told which control sent it: one handler
// for controls that behave alike, each a row of a table of its own.
#define ON_CONTROL_EX(code, id, fn) ON_CONTROL_RANGE(code, id, id, fn)
// The notification of any control from idFirst to idLast, told which sent it;
// an entry for one of them further up the map takes its notification first.
#define ON_CONTROL_RANGE(code, idFirst, idLast, fn)                                                    \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(idFirst), static_cast<UINT>(idLast), \
     MessageResult::None, &message_map_detail::CommandFrom<fn>},
#define ON_BN_CLICKED(id, fn) ON_COMMAND_CODE(BN_CLICKED, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_COMMAND_CODE(CBN_SELCHANGE, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_COMMAND_CODE(CBN_CLOSEUP, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_COMMAND_CODE(EN_KILLFOCUS, id, fn)
#define ON_NOTIFY(code, id, fn)                                                                         \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), MessageResult::MsgResult, \
     &message_map_detail::Notify<fn>},
// A window message whose handler takes no arguments and returns nothing.
#define ON_MESSAGE_VOID(message, fn) {message, 0, 0, 0, MessageResult::None, &message_map_detail::NoArgs<fn>},
// A window message whose handler takes no arguments and returns the message's result.
#define ON_MESSAGE_ANSWER(message, result, fn) {message, 0, 0, 0, result, &message_map_detail::Answer<fn>},
#define ON_WM_PAINT(fn) ON_MESSAGE_VOID(WM_PAINT, fn)
#define ON_WM_DESTROY(fn) ON_MESSAGE_VOID(WM_DESTROY, fn)
#define ON_WM_SYSCOLORCHANGE(fn) ON_MESSAGE_VOID(WM_SYSCOLORCHANGE, fn)
#define ON_WM_SYSCOMMAND(fn) {WM_SYSCOMMAND, 0, 0, 0, MessageResult::None, &message_map_detail::SysCommand<fn>},
#define ON_WM_QUERYDRAGICON(fn) ON_MESSAGE_ANSWER(WM_QUERYDRAGICON, MessageResult::ReturnedByProc, fn)
#define ON_WM_QUERYENDSESSION(fn) ON_MESSAGE_ANSWER(WM_QUERYENDSESSION, MessageResult::MsgResult, fn)
