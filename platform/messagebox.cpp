// The replaceable message box and its fallback on standard error.
#include "platform/messagebox.h"

#include <cstdio>
#include <utility>

namespace {

MessageBoxHandler& installedHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

MessageResult firstButton(MessageButtons buttons)
{
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageResult::Yes
                                                                                      : MessageResult::Ok;
}

} // namespace

MessageResult showMessageBox(const MessageBoxRequest& request)
{
    if (const MessageBoxHandler& handler = installedHandler())
        return handler(request);
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    return firstButton(request.buttons);
}

void setMessageBoxHandler(MessageBoxHandler handler)
{
    installedHandler() = std::move(handler);
}
