// The program's name as every message box's caption spells it, and the plain error box.
#include "core/errorbox.h"

#include "platform/messagebox.h"

void showErrorBox(const std::string& text)
{
    showMessageBox({kProgramName, text, MessageIcon::Error, MessageButtons::Ok});
}
