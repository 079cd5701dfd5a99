// The window program's message boxes: the message-box hook answered with QMessageBox.
#pragma once

#include <memory>

class QMessageBox;
struct MessageBoxRequest;

// Installs the handler: caption, icon and buttons as requested, owned by the active window when the request has an
// owner, and a Help button when it has a help context, which opens the help page there and keeps the box open.
// The box never rewraps lines laid out by its asker: a box without an owner speaks for the command line, whose lines
// it shows as a terminal does, whole and in a fixed-pitch font; lines with tabs become rows of a table whose columns
// line up; the request's path is never broken, and is shortened in its middle when too long, whole in its tool tip.
void installQtMessageBox();
// The box the handler shows for a request, before it is shown.
std::unique_ptr<QMessageBox> qtMessageBoxFor(const MessageBoxRequest& request);
