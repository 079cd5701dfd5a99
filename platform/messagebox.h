// The replaceable message box: the core asks, the window program answers with a real box, tests with their own.
#pragma once

#include <functional>
#include <string>

enum class MessageIcon
{
    None,
    Information,
    Warning,
    Error,
    Question,
};

enum class MessageButtons
{
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
};

enum class MessageResult
{
    Ok,
    Cancel,
    Yes,
    No,
};

struct MessageBoxRequest
{
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    int helpContext = 0; // non-zero adds a Help button that opens the help page at this context
    bool hasOwner = true;
    // A file or folder named in the text, which a box shows on one line: whole, or shortened in its middle.
    std::string path = {};
};

using MessageBoxHandler = std::function<MessageResult(const MessageBoxRequest&)>;

// Without a handler installed, a box is written to standard error and answered with its first button.
MessageResult showMessageBox(const MessageBoxRequest& request);
void setMessageBoxHandler(MessageBoxHandler handler);
