#include "winutil/helppage.h"

#include "platform/messagebox.h"
#include "platform/programfiles.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

#include <utility>

namespace {

HelpUrlOpener& urlOpener()
{
    static HelpUrlOpener opener = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    return opener;
}

} // namespace

void openHelpPage(int context)
{
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    openHelpFile(QString::fromStdString(helpPagePath(program)), context);
}

void openHelpFile(const QString& pagePath, int context)
{
    if (!QFileInfo(pagePath).isFile()) {
        MessageBoxRequest request;
        request.caption = QGuiApplication::applicationDisplayName().toStdString();
        request.text = "Help file not found: " + pagePath.toStdString();
        request.icon = MessageIcon::Error;
        showMessageBox(request);
        return;
    }
    QUrl url = QUrl::fromLocalFile(pagePath);
    if (context != 0)
        url.setFragment(QStringLiteral("context-%1").arg(context));
    urlOpener()(url);
}

void setHelpUrlOpener(HelpUrlOpener opener)
{
    urlOpener() = std::move(opener);
}
