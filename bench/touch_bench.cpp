// Times the window's touch run (Modified from the displayed date/time) over every file of one folder, all rows
// selected, and how often the window repainted meanwhile.
#include "core/datetimeformats.h"
#include "platform/messagebox.h"
#include "window/filelistmodel.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTreeView>

#include <algorithm>
#include <iostream>
#include <vector>

namespace {

// Notes when the status bar is painted, in milliseconds of the run's clock.
class PaintClock : public QObject
{
public:
    explicit PaintClock(const QElapsedTimer& clock) : clock(clock) {}
    std::vector<qint64> times;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            times.push_back(clock.elapsed());
        return false;
    }

private:
    const QElapsedTimer& clock;
};

qint64 longestGap(std::vector<qint64> times, qint64 end)
{
    times.insert(times.begin(), 0);
    times.push_back(end);
    qint64 longest = 0;
    for (std::size_t i = 1; i < times.size(); ++i)
        longest = std::max(longest, times[i] - times[i - 1]);
    return longest;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Stampkeep");
    if (argc != 2) {
        std::cerr << "usage: touch_bench FOLDER\n";
        return 2;
    }
    const DateTimeFormats formats = BuildDateTimeFormats();
    int boxes = 0;
    setMessageBoxHandler([&boxes](const MessageBoxRequest& box) {
        ++boxes;
        std::cerr << box.text << "\n";
        return MessageResult::Ok;
    });

    const QTemporaryDir settings;
    MainWindow form(settings.filePath("stampkeep.ini").toStdString(), formats);
    const std::string folder = argv[1];
    for (const FileEntry& entry : currentPlatform().findFiles(folder + "/*").entries) {
        const std::string path = folder + "/" + entry.name;
        if (entry.name != "." && entry.name != "..")
            form.fileList().AddFile(path, currentPlatform().snapshotEntry(path).value());
    }
    form.show();
    QApplication::processEvents();
    form.findChild<QTreeView*>("lvMain")->selectAll();
    const QDateTime clock(QDate(2001, 5, 6), QTime(13, 14, 15));
    form.findChild<QDateEdit*>("DTDateMod")->setDateTime(clock);
    form.findChild<QTimeEdit*>("DTTimeMod")->setDateTime(clock);
    form.findChild<QAction*>("acModFmClk")->setChecked(true);
    auto* apply = form.findChild<QAction*>("acApply");
    while (!apply->isEnabled())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);

    QElapsedTimer run;
    PaintClock paints(run);
    form.statusBar()->installEventFilter(&paints);
    run.start();
    apply->trigger();
    const qint64 elapsed = run.elapsed();
    form.statusBar()->removeEventFilter(&paints);

    int touched = 0;
    for (int row = 0; row < form.fileList().rowCount(); ++row)
        touched += form.fileList().rowImage(row) == FileListModel::ImageTouched ? 1 : 0;
    std::cout << "rows:                " << form.fileList().rowCount() << "\n"
              << "touched:             " << touched << "\n"
              << "touch run:           " << elapsed << " ms\n"
              << "status bar repaints: " << paints.times.size() << ", longest gap " << longestGap(paints.times, elapsed)
              << " ms\n";
    return touched == form.fileList().rowCount() && boxes == 0 ? 0 : 1;
}
