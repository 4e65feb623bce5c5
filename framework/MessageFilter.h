#pragma once
// A dialog's message chain: the steps every message of its loop passes, in the
// order the dialog declares them, before it is dispatched to its window. Each
// step is a member bound through a typed thunk, as the message map's handlers.
#include <windows.h>

#include "MessageMap.h"

// What a step did with the message.
enum class FilterResult {
    Pass,     // the message goes on: to the next step, and after the last to its window
    Handled,  // the step acted on it, or dropped it: it goes no further
};

struct MessageFilter {
    FilterResult (*run)(CDialog& dialog, MSG& msg);
};

namespace message_filter_detail {

template <auto Step> FilterResult Run(CDialog& d, MSG& msg) {
    return (static_cast<message_map_detail::Owner<Step>&>(d).*Step)(msg);
}

}  // namespace message_filter_detail

#define FILTER_STEP(fn) \
    MessageFilter { &message_filter_detail::Run<fn> }
