// The help engine: the HTML page beside the program, opened in the desktop's browser at an anchor per context.
#pragma once

#include <QString>

#include <functional>

class QUrl;

// Opens the program's help page (its path with the extension ".html") at "#context-N"; context 0 is the contents,
// the page's top. A missing page is reported in an error box captioned with the application's display name.
void openHelpPage(int context);
// The same for a given page.
void openHelpFile(const QString& pagePath, int context);

// What opens a URL; QDesktopServices::openUrl unless replaced (tests replace it so that no browser starts).
using HelpUrlOpener = std::function<void(const QUrl&)>;
void setHelpUrlOpener(HelpUrlOpener opener);
