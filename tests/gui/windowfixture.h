// What the window tests share: a fresh temporary folder for each case, where the settings file goes; message boxes
// recorded and answered instead of shown; components found and actions run by name; files with given stamps.
#pragma once

#include "core/datetimeformats.h"
#include "fake/tempdir.h"
#include "platform/messagebox.h"
#include "platform/platform.h"

#include <QAction>
#include <QDateTime>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

// 1970-01-01 as a file time.
constexpr FileTime kUnixEpoch = 116'444'736'000'000'000;

// Lets the event loop reach the point where it would wait, as it does when the user pauses: the update handlers run.
void idle();
QDateTime local(int year, int month, int day, int hour, int minute, int second);
// Folders too, which QFile cannot open.
void setModified(const std::string& path, FileTime stamp);
void setModified(const std::string& path, const QDateTime& when);
QDateTime diskModified(const std::string& path);
// The entry as a row lists it, for adding it to a list directly.
EntrySnapshot listedState(const std::string& path);

// Small, usual, large and very large fonts, in points: a window must hold together in each.
constexpr int kFontPoints[] = {7, 9, 14, 20};
// What a user would see wrong in a laid-out window: a visible component overlapping a visible sibling, reaching
// outside its parent or the window, or too small for its text. One line each; none when the layout holds.
QStringList layoutFaults(const QWidget& window);
// Where each visible component under `parent` stands, by name.
QMap<QString, QRect> componentPlaces(const QWidget& parent);
// One line for each component of `before` that stands elsewhere, or is sized otherwise, in `after`.
QStringList movedComponents(const QMap<QString, QRect>& before, const QMap<QString, QRect>& after);

// Every key that the window declares (the shortcuts of its actions, the Alt+letters of its visible buttons and of
// its labels that have a buddy, the letters its labels underline), pressed in the active window: `reached` names
// what each key reached; `faults` lists the keys declared twice, reaching nothing, more than one thing or something
// other than their owner. Nothing reached acts.
struct ShortcutCheck
{
    QMap<QString, QString> reached;
    QStringList faults;
};
ShortcutCheck checkShortcuts(QWidget& window);

class WindowFixture : public QObject
{
    Q_OBJECT

protected slots:
    void initTestCase();
    void init();
    void cleanup();

protected:
    std::string iniPath() const { return *folder / "stampkeep.ini"; }
    // A file of the test folder, with that Modified stamp.
    std::string makeFile(const std::string& name, const QDateTime& modified) const;
    // What the installed handler does with each box: records it and gives this case's answer.
    MessageResult recordBox(const MessageBoxRequest& box);

    template <typename T> static T* find(const QObject& window, const char* name)
    {
        T* found = window.findChild<T*>(name);
        if (!found)
            qWarning("missing component %s", name);
        return found;
    }
    // Runs an action as the user would, once the update handlers have run: it must exist and be enabled.
    static void trigger(const QObject& window, const char* name);
    static void showActive(QWidget& window);

    DateTimeFormats formats; // the locale's, built once for the whole run
    std::unique_ptr<TempDir> folder;
    std::vector<MessageBoxRequest> boxes;
    MessageResult answer = MessageResult::Ok;
};
