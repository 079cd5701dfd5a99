// Stampkeep: parses its command line, then shows the main window.
#include "core/sharedu.h"
#include "core/tfuncs2.h"
#include "platform/paths.h"
#include "window/mainu.h"
#include "winutil/qtmessagebox.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv); // also adopts the user's locale for the C library
    QApplication::setApplicationName("Stampkeep");
    QApplication::setApplicationDisplayName("Stampkeep");
    BuildDateTimeFormats();
    InstallQtMessageBox();

    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments().mid(1))
        arguments.push_back(argument.toStdString());

    TTouchSettings settings{};
    InitTouchSettings(settings);
    if (!arguments.empty() && IsHelpSwitch(arguments.front())) {
        ShowSwitchHelp(false);
        return 0;
    }
    const std::string iniFileName = ChangeExtension(QApplication::applicationFilePath().toStdString(), ".ini");
    // A start with any bad switch hands over nothing, but still starts.
    if (!ParseCommandLine(settings, arguments, iniFileName, false))
        InitTouchSettings(settings);

    TMainForm mainForm(iniFileName);
    mainForm.show();
    return QApplication::exec();
}
