// The replaceable message box and its fallback on standard error.
#include "platform/messagebox.h"

#include <cstdio>
#include <utility>

namespace {

MessageBoxHandler& InstalledHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

MessageResult FirstButton(MessageButtons buttons)
{
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageResult::Yes
                                                                                      : MessageResult::Ok;
}

} // namespace

MessageResult ShowMessageBox(const MessageBoxRequest& request)
{
    if (const MessageBoxHandler& handler = InstalledHandler())
        return handler(request);
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    return FirstButton(request.buttons);
}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    InstalledHandler() = std::move(handler);
}
