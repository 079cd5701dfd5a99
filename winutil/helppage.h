// The help engine: the HTML page beside the program, or in its installed data folder, opened in the desktop's
// browser at an anchor per context.
#pragma once

#include <QString>

#include <functional>

class QUrl;

// Opens the program's help page (beside it, else in the installed data folder) at "#context-N"; context 0 is the
// contents, the page's top. A missing page is reported in an error box captioned with the application's display name.
void openHelpPage(int context);
// The same for a given page.
void openHelpFile(const QString& pagePath, int context);

// What opens a URL; the desktop's opener unless replaced (tests replace it so that no browser starts; nullptr puts the
// desktop's back). An opener that cannot start, or fails within a few seconds, is reported in a box naming the page.
using HelpUrlOpener = std::function<void(const QUrl&)>;
void setHelpUrlOpener(HelpUrlOpener opener);
// The desktop's opener program, `xdg-open` unless replaced (tests use programs that fail).
void setHelpOpenerProgram(QString program);
