#pragma once
// Message maps as static tables: each entry binds a window message, or a control
// id with its notification code, to a member handler through a typed thunk, so
// no member-pointer casts are needed and a wrong signature fails to compile.
#include <windows.h>

#include <span>

class CDialog;

struct MessageMapEntry {
    UINT message;    // WM_COMMAND, WM_NOTIFY or another window message
    UINT code;       // notification code for WM_COMMAND / WM_NOTIFY
    UINT id;         // control id for WM_COMMAND / WM_NOTIFY
    // Returns the dialog procedure's result for the message.
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

// Returns the notification's own result; the dispatcher passes it on through DWLP_MSGRESULT.
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

template <auto Handler> INT_PTR QueryDragIcon(CDialog& d, WPARAM, LPARAM) {
    return reinterpret_cast<INT_PTR>((static_cast<Owner<Handler>&>(d).*Handler)());
}

}  // namespace message_map_detail

#define DECLARE_MESSAGE_MAP()                          \
public:                                                \
    static const MessageMap* GetThisMessageMap();      \
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

#define BEGIN_MESSAGE_MAP(theClass, baseClass)         \
    const MessageMap* theClass::GetThisMessageMap() {  \
        using ThisBase = baseClass;                    \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                       \
        {0, 0, 0, nullptr}};                                                 \
        static const MessageMap map = {ThisBase::GetThisMessageMap(),           \
                                       std::span(entries).first(std::size(entries) - 1)}; \
        return &map;                                                            \
    }

#define ON_COMMAND_CODE(code, id, fn) \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), &message_map_detail::Command<fn>},
#define ON_BN_CLICKED(id, fn) ON_COMMAND_CODE(BN_CLICKED, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_COMMAND_CODE(CBN_SELCHANGE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_COMMAND_CODE(EN_KILLFOCUS, id, fn)
#define ON_NOTIFY(code, id, fn) \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), &message_map_detail::Notify<fn>},
#define ON_WM_PAINT(fn) {WM_PAINT, 0, 0, &message_map_detail::NoArgs<fn>},
#define ON_WM_DESTROY(fn) {WM_DESTROY, 0, 0, &message_map_detail::NoArgs<fn>},
#define ON_WM_SYSCOMMAND(fn) {WM_SYSCOMMAND, 0, 0, &message_map_detail::SysCommand<fn>},
#define ON_WM_HELPINFO(fn) {WM_HELP, 0, 0, &message_map_detail::NoArgs<fn>},
#define ON_WM_QUERYDRAGICON(fn) {WM_QUERYDRAGICON, 0, 0, &message_map_detail::QueryDragIcon<fn>},
