// Lends a registered handler to one node for the duration of one call.
//
// Handlers are process-wide objects; the base implementation of every hook
// slot finds the handler registered for its node's key, points the handler
// at that node, calls the same slot on it and points it back at whatever it
// viewed before.
#pragma once

#include "metatree/metaObject.h"

template <class Handler, class Call>
auto dispatchToHandler(const metaObjectC& caller, Handler* handler, Call call) -> decltype(call(*handler)) {
    using resultT = decltype(call(*handler));
    // No handler, or the caller is the handler itself: the slot has no
    // override there and would only find itself again. A handler that owns
    // its node cannot be lent out: re-pointing it would delete that node.
    if (!handler || static_cast<const metaObjectC*>(handler) == &caller || handler->owns())
        return resultT{};

    struct bindingS {
        Handler& h;
        metaTreeC* previous;
        bindingS(Handler& handler, metaTreeC* node) : h(handler), previous(handler.node()) {
            h.release();
            h.attach(node, false);
        }
        ~bindingS() {
            h.release();
            h.attach(previous, false);
        }
    } binding(*handler, caller.node());
    return call(*handler);
}
