// The keys of disabled actions, kept from reaching the focused control as typed text.
#pragma once

#include <QList>

class QAction;
class QWidget;

// While an action is disabled its keys do nothing in `window`: a line edit would otherwise take Alt+letter for the
// letter. The keys are the actions' shortcuts as they stand now.
void swallowKeysOfDisabledActions(QWidget* window, const QList<QAction*>& actions);
