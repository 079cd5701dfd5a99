// The help engine: the HTML page beside the program, or in its installed data folder, opened in the desktop's
// browser at an anchor per context.
#include "winutil/helppage.h"

#include "core/errorbox.h"
#include "platform/programfiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <utility>

namespace {

// An opener that has not failed within this time has handed the page to a browser.
constexpr int kOpenerVerdictMs = 5000;

QString& openerProgram()
{
    static QString program = QStringLiteral("xdg-open");
    return program;
}

void reportUnopenedPage(const QUrl& url, const QString& reason)
{
    showErrorBox("The help page could not be opened (" + reason.toStdString() + "). Please open it in a browser:\r\n" +
                 url.toLocalFile().toStdString());
}

// The desktop's opener as a process of its own, whose failure can be seen: QDesktopServices reports success as soon
// as an opener starts, and nothing at all when none does.
void openWithDesktop(const QUrl& url)
{
    auto* opener = new QProcess(QCoreApplication::instance());
    QElapsedTimer clock;
    clock.start();
    QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, url](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            reportUnopenedPage(url, openerProgram() + " cannot be started");
            opener->deleteLater();
        }
    });
    QObject::connect(opener, &QProcess::finished, opener, [opener, url, clock](int code, QProcess::ExitStatus status) {
        if ((status != QProcess::NormalExit || code != 0) && clock.elapsed() < kOpenerVerdictMs)
            reportUnopenedPage(url, openerProgram() + " ended with code " + QString::number(code));
        opener->deleteLater();
    });
    opener->start(openerProgram(), {url.toString()});
}

HelpUrlOpener& urlOpener()
{
    static HelpUrlOpener opener = openWithDesktop;
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
        showErrorBox("Help file not found: " + pagePath.toStdString());
        return;
    }
    QUrl url = QUrl::fromLocalFile(pagePath);
    if (context != 0)
        url.setFragment(QStringLiteral("context-%1").arg(context));
    urlOpener()(url);
}

void setHelpUrlOpener(HelpUrlOpener opener)
{
    urlOpener() = opener ? std::move(opener) : HelpUrlOpener(openWithDesktop);
}

void setHelpOpenerProgram(QString program)
{
    openerProgram() = std::move(program);
}
