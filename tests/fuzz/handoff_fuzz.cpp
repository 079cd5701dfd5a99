// The running Stampkeep taking a later start's message, over arbitrary bytes: the bytes are decoded as a message body
// as they come off the connection, and are also taken as a record (the first 336 bytes, padded with zeros) with the
// rest as specifications, one a line, found in /home/user. The files named are looked up on an in-memory file system,
// so that no real file is listed or touched, and the switches go onto the panel.
#include "core/datetimeformats.h"
#include "core/handoffmessage.h"
#include "fake/fakeplatform.h"
#include "fuzzsupport.h"
#include "platform/messagebox.h"
#include "window/filelistmodel.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QApplication>

#include <algorithm>
#include <cstring>

namespace {

// One window for every input, as one running instance reads block after block.
struct RunningInstance
{
    RunningInstance()
    {
        files.workingDirectory = "/home/user";
        files.addEntry("/home/user/a.txt", kAttrArchive, 1, 1);
        files.addEntry("/home/user/b c.txt", kAttrReadOnly, 1, 1);
        files.addEntry("/home/user/sub", kAttrDirectory, 1, 1);
        files.addEntry("/home/user/sub/x.dat", 0, 1, 1);
        files.addEntry("/x", 0, 1, 1);
        setMessageBoxHandler([](const MessageBoxRequest&) { return MessageResult::Ok; });
    }

    bool checked(const char* action) const { return form.findChild<QAction*>(action)->isChecked(); }
    bool enabled(const char* action) const { return form.findChild<QAction*>(action)->isEnabled(); }

    FakePlatform files;
    int argc = 1;
    char name[13] = "handoff_fuzz";
    char* argv[1] = {name};
    QApplication application{argc, argv};
    MainWindow form{fuzzFolder() + "/stampkeep.ini", BuildDateTimeFormats()};
};

RunningInstance& runningInstance()
{
    static RunningInstance* instance = new RunningInstance;
    return *instance;
}

// Only entries that exist, each once.
void checkRows(RunningInstance& instance)
{
    FileListModel& rows = instance.form.fileList();
    require(static_cast<std::size_t>(rows.rowCount()) <= instance.files.entries.size(), "one row per entry at most");
    for (int row = 0; row < rows.rowCount(); ++row)
        require(instance.files.entries.count(rows.object(row).FileName) == 1, "a row lists an entry that exists");
}

// The net effect of the switches: a date or time portion is included exactly when the block does not keep it, and
// successive times are on exactly when the block's step is not 0 and both portions are included.
void checkPanel(const RunningInstance& instance, const TTouchSettings& block)
{
    if (!block.SwitchesGiven || block.PresetNo >= 1)
        return;
    require(instance.checked("acDate") == !block.KeepDate, "the date is included unless kept");
    require(instance.checked("acTime") == !block.KeepTime, "the time is included unless kept");
    const bool sequential = instance.enabled("acSeq") && instance.checked("acSeq");
    require(sequential == (block.Increment != 0 && !block.KeepDate && !block.KeepTime),
            "successive times follow the step");
}

} // namespace

// Fontconfig, loaded by Qt for the window's fonts, keeps its configuration until the process ends.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Qt and fontconfig keep their runtime files and caches in the target's own folder.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* variable : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        qputenv(variable, QByteArray::fromStdString(fuzzFolder()));
    runningInstance();
    return 0;
}

namespace {

// The record from the input's first bytes, the next byte's lowest bit as the subfolders field, the lines after them as
// specifications.
HandOffMessage messageFrom(std::string_view input)
{
    HandOffMessage message;
    std::memcpy(&message.record, input.data(), std::min(input.size(), sizeof message.record));
    message.workingFolder = "/home/user";
    input.remove_prefix(std::min(input.size(), sizeof message.record));
    message.subfolders = !input.empty() && (input.front() & 1);
    input.remove_prefix(std::min<std::size_t>(input.size(), 1));
    for (std::size_t start = 0; start < input.size();) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        message.specs.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    return message;
}

void take(RunningInstance& instance, const HandOffMessage& message)
{
    instance.form.fileList().clear();
    instance.form.handOffMessage(message);
    checkRows(instance);
    checkPanel(instance, message.record);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RunningInstance& instance = runningInstance();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (const std::optional<HandOffMessage> decoded = decodeHandOffBody(input))
        take(instance, *decoded);
    take(instance, messageFrom(input));
    return 0;
}
