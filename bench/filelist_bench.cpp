// The file list with many rows, timed offscreen: adding real files through Add files, sorting by each column, select
// all and the status text. Usage: filelist_bench [number of files, default 100000]
#include "core/datetimeformats.h"
#include "window/filelistmodel.h"
#include "window/mainwindow.h"
#include "winutil/filedialog.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeView>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace {

// Wall time, and the processor time of this process: the machine may be busy with other work.
class Stopwatch
{
public:
    Stopwatch() { restart(); }
    void restart()
    {
        wall.start();
        cpu = processorSeconds();
    }
    void report(const char* what) const
    {
        std::printf("%-34s %8.3f s wall %8.3f s cpu\n", what, static_cast<double>(wall.nsecsElapsed()) / 1e9,
                    processorSeconds() - cpu);
    }

private:
    static double processorSeconds()
    {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    }

    QElapsedTimer wall;
    double cpu = 0;
};

// Files in a few folders, with names and Modified stamps in no particular order, so that every sort has work to do.
std::vector<std::string> makeFiles(const QString& root, int count)
{
    std::mt19937 random(42);
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(count));
    const int folders = 10;
    for (int folder = 0; folder < folders; ++folder)
        mkdir((root.toStdString() + "/folder" + std::to_string(folder)).c_str(), 0755);
    for (int i = 0; i < count; ++i) {
        const std::string path = root.toStdString() + "/folder" + std::to_string(i % folders) + "/File " +
                                 std::to_string(random() % 1000000) + "-" + std::to_string(i) + ".txt";
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0644);
        const timespec times[2] = {{static_cast<time_t>(1'000'000'000 + random() % 300'000'000), 0},
                                   {static_cast<time_t>(1'000'000'000 + random() % 300'000'000), 0}};
        futimens(fd, times);
        close(fd);
        paths.push_back(path);
    }
    return paths;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const DateTimeFormats formats = BuildDateTimeFormats();
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;

    QTemporaryDir folder;
    Stopwatch timer;
    const std::vector<std::string> paths = makeFiles(folder.path(), count);
    std::printf("%d files\n", count);
    timer.report("creating the files (setup)");

    MainWindow form((folder.path() + "/stampkeep.ini").toStdString(), formats);
    form.show();
    QApplication::processEvents();

    timer.restart();
    // What a row keeps of each file, alone, for comparison: the add below looks every file up the same way.
    for (const std::string& path : paths)
        currentPlatform().snapshotEntry(path);
    timer.report("looking the files up (alone)");

    // As Add files does it: each file looked up and listed, the rows selected and laid out by the view.
    QStringList chosen;
    chosen.reserve(static_cast<qsizetype>(paths.size()));
    for (const std::string& path : paths)
        chosen.push_back(QFile::decodeName(QByteArray::fromStdString(path)));
    setNextFileDialogAnswer(chosen);
    timer.restart();
    form.findChild<QAction*>("acSelect")->trigger();
    QApplication::processEvents();
    timer.report("adding them through Add files");

    auto* list = form.findChild<QTreeView*>("lvMain");
    const char* const columns[] = {"Filename", "Modified", "Created", "Attr", "Path"};
    for (int column = 0; column < FileListModel::ColumnCount; ++column) {
        timer.restart();
        emit list->header()->sectionClicked(column);
        QApplication::processEvents();
        timer.report(qPrintable(QString("sorting by %1").arg(columns[column])));
    }
    timer.restart();
    emit list->header()->sectionClicked(FileListModel::ColumnCount - 1);
    QApplication::processEvents();
    timer.report("sorting by Path again (reversed)");

    list->clearSelection();
    QApplication::processEvents();
    timer.restart();
    form.findChild<QAction*>("acSelAll")->trigger();
    QApplication::processEvents();
    timer.report("select all");

    timer.restart();
    form.aeMainHint();
    timer.report("status text");
    std::printf("status: \"%s\"\n", qPrintable(form.statusBar()->currentMessage()));
    return 0;
}
