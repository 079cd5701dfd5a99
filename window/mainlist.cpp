// The file list: adding through the dialog, removing, clearing, moving, selecting and sorting rows.
#include "window/mainu.h"

#include "ui_mainform.h"

void TMainForm::ConnectListActions() {}

void TMainForm::acRemoveUpdate() {}

void TMainForm::acItemDownUpdate() {}
