// The window program's message boxes: the message-box hook answered with QMessageBox.
#pragma once

// Installs the handler: caption, icon and buttons as requested, owned by the active window when the request has an
// owner, and a Help button when it has a help context, which opens the help page there and keeps the box open.
void installQtMessageBox();
