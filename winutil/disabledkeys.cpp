// The keys of disabled actions, kept from reaching the focused control as typed text.
#include "winutil/disabledkeys.h"

#include <QAction>
#include <QShortcut>
#include <QWidget>

void swallowKeysOfDisabledActions(QWidget* window, const QList<QAction*>& actions)
{
    for (QAction* action : actions) {
        for (const QKeySequence& key : action->shortcuts()) {
            // A shortcut that nothing listens to takes the key and does nothing with it.
            auto* swallow = new QShortcut(key, window);
            swallow->setEnabled(!action->isEnabled());
            QObject::connect(action, &QAction::enabledChanged, swallow,
                             [swallow](bool enabled) { swallow->setEnabled(!enabled); });
        }
    }
}
