// Cycling a group of tool buttons: each press of its key moves the pressed button one on.
#pragma once

#include <QList>

class QAction;
class QWidget;

// Presses the button after the first pressed one (the first when none is), skipping one disabled button; after the
// last, all are raised. The buttons are the checkable actions of one tool bar, in order.
void CycleToolButtons(const QList<QAction*>& buttons);
// The same for the tool buttons that are direct children of `bar`.
void cycleToolBar(const QWidget* bar);
