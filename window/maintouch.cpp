// Touch, undo and reset of the selected rows.
#include "window/mainu.h"

#include "ui_mainform.h"

void TMainForm::acApplyUpdate() {}
