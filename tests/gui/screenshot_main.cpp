// Draws the real main window and preset dialog offscreen, with a few files listed, into mainwindow.png and
// presetdialog.png, so that the pictures of the documentation follow the window as it changes.
//
//     screenshots [--style NAME] [--dark] [--font-points N] [--window-size WxH] FOLDER
#include "core/datetimeformats.h"
#include "fake/entrysetup.h"
#include "gui/windowfixture.h"
#include "window/mainwindow.h"
#include "window/startup.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>
#include <QTimeEdit>
#include <QTimer>

#include <iostream>

namespace {

FileTime fileTime(const QDateTime& when)
{
    return kUnixEpoch + FileTime(when.toMSecsSinceEpoch()) * 10'000;
}

struct ExampleFile
{
    const char* name;
    QDateTime created;
    QDateTime modified;
    std::uint32_t attrs;
};

// The same names and stamps on every run, so that a new picture differs only where the window did.
std::vector<std::string> makeExampleFiles(const QString& folder)
{
    const auto at = [](int year, int month, int day, int hour, int minute) {
        return QDateTime(QDate(year, month, day), QTime(hour, minute));
    };
    const ExampleFile examples[] = {
        {"IMG_2041.jpg", at(2024, 7, 14, 9, 12), at(2024, 7, 14, 9, 12), kAttrArchive},
        {"IMG_2042.jpg", at(2024, 7, 14, 9, 13), at(2024, 7, 14, 9, 13), kAttrArchive},
        {"IMG_2043.jpg", at(2024, 7, 14, 9, 20), at(2024, 7, 14, 9, 20), kAttrArchive},
        {"IMG_2047.jpg", at(2024, 7, 15, 17, 45), at(2024, 7, 15, 17, 45), kAttrArchive},
        {"itinerary.pdf", at(2024, 6, 2, 21, 8), at(2024, 6, 30, 11, 41), 0},
        {"notes.txt", at(2024, 7, 16, 8, 0), at(2024, 7, 18, 22, 37), kAttrArchive | kAttrHidden},
        {"receipts.ods", at(2024, 7, 19, 10, 5), at(2024, 7, 19, 10, 6), kAttrReadOnly},
        {"route.gpx", at(2024, 7, 14, 7, 58), at(2024, 7, 15, 19, 2), kAttrArchive},
    };
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    std::vector<std::string> paths;
    for (const ExampleFile& example : examples) {
        const std::string path = QDir(folder).filePath(example.name).toStdString();
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::WriteOnly))
            continue;
        file.close();
        // Where the file system keeps no stored stamps, Created stays the file's own; the picture is still drawn.
        setStamps(path, fileTime(example.created), fileTime(example.modified));
        setAttributes(path, example.attrs);
        paths.push_back(path);
    }
    return paths;
}

QPalette darkPalette()
{
    QPalette palette;
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(230, 230, 230);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::red);
    palette.setColor(QPalette::Light, QColor(70, 70, 74));
    palette.setColor(QPalette::Midlight, QColor(60, 60, 64));
    palette.setColor(QPalette::Mid, QColor(40, 40, 42));
    palette.setColor(QPalette::Dark, QColor(20, 20, 22));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(61, 142, 201));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, QColor(140, 140, 140));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(120, 120, 120));
    return palette;
}

bool save(QWidget& widget, const QString& path)
{
    if (widget.grab().save(path))
        return true;
    std::cerr << "screenshots: cannot write " << path.toStdString() << "\n";
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"style", "Draws with this widget style.", "name"});
    parser.addOption({"dark", "Draws with a dark palette."});
    parser.addOption({"font-points", "Draws in the application font at this size.", "points"});
    parser.addOption({"window-size", "Draws the main window at this size instead of its first start's.", "WxH"});
    parser.addPositionalArgument("folder", "Where mainwindow.png and presetdialog.png go.");
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const QDir output(parser.positionalArguments().front());
    output.mkpath(".");
    if (parser.isSet("style"))
        QApplication::setStyle(parser.value("style"));
    if (parser.isSet("dark"))
        QApplication::setPalette(darkPalette());
    if (parser.isSet("font-points")) {
        bool valid = false;
        const int points = parser.value("font-points").toInt(&valid);
        if (!valid || points <= 0) {
            std::cerr << "screenshots: --font-points needs a positive whole number\n";
            return 2;
        }
        // As a user's larger system font reaches the windows: through the application font they follow.
        QApplication::setFont(QFont(QApplication::font().family(), points));
    }
    QSize windowSize;
    if (parser.isSet("window-size")) {
        const QStringList sides = parser.value("window-size").split('x');
        windowSize = sides.size() == 2 ? QSize(sides[0].toInt(), sides[1].toInt()) : QSize();
        if (windowSize.isEmpty()) {
            std::cerr << "screenshots: --window-size needs a width and a height, as in 1200x600\n";
            return 2;
        }
    }
    QApplication::setApplicationDisplayName("Stampkeep");
    const DateTimeFormats formats = BuildDateTimeFormats();

    // A fixed folder rather than a random one: its name shows in the Path column.
    const QString work = QDir::temp().filePath("stampkeep-screenshots");
    const std::vector<std::string> files = makeExampleFiles(work + "/Holiday 2024");
    const std::string ini = QDir(work).filePath("stampkeep.ini").toStdString();

    int status = 0;
    {
        MainWindow form(ini, formats);
        form.setOwnCommandLine(StartUp::parseArguments(files, ini, formats));
        form.show();
        idle();
        form.findChild<QDateEdit*>("DTDateMod")->setDate(QDate(2024, 7, 20));
        form.findChild<QTimeEdit*>("DTTimeMod")->setTime(QTime(12, 0));
        for (const char* pressed : {"acModFmClk", "acCreFmMod", "acAminus", "acRPlus"})
            form.findChild<QAction*>(pressed)->setChecked(true);
        if (windowSize.isValid())
            form.resize(windowSize);
        // The update handlers enable Touch and its neighbours when the event loop would wait.
        idle();
        if (!save(form, output.filePath("mainwindow.png")))
            status = 1;

        // A preset not configured yet starts from the panel, whose date does not change from run to run. The dialog
        // runs its own event loop: it is filled in, drawn and closed from inside it, once it is active, as a user sees
        // it: its first activation lines its controls up in the current font.
        auto* dialog = form.findChild<QDialog*>("PresetForm");
        QTimer waitForDialog;
        QObject::connect(&waitForDialog, &QTimer::timeout, dialog, [dialog, &waitForDialog, &status, &output] {
            if (!dialog->isActiveWindow())
                return;
            waitForDialog.stop();
            dialog->findChild<QLineEdit*>("ebName")->setText("Holiday photos");
            dialog->findChild<QLineEdit*>("ebDesc")->setText("Modified from the date shown, Created from Modified");
            if (!save(*dialog, output.filePath("presetdialog.png")))
                status = 1;
            dialog->reject();
        });
        waitForDialog.start(0);
        form.findChild<QAction*>("preC3")->trigger();
        form.close();
    }
    QDir(work).removeRecursively();
    std::cout << "screenshots: " << QApplication::style()->name().toStdString() << " style, "
              << output.absolutePath().toStdString() << "\n";
    return status;
}
