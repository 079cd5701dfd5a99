// The touch settings panel: date/time controls, sequence, source and attribute groups, label cycling, hints.
#include "window/mainu.h"

#include "ui_mainform.h"

void TMainForm::ConnectPanelActions() {}
