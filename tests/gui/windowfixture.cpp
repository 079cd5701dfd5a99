// What the window tests share: a fresh temporary folder for each case, where the settings file goes; message boxes
// recorded and answered instead of shown; components found and actions run by name; files with given stamps.
#include "gui/windowfixture.h"

#include "core/datetimeformats.h"
#include "fake/entrysetup.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>
#include <QtTest>

void idle()
{
    QEventLoop loop;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                     &QEventLoop::quit);
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
}

QDateTime local(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

void setModified(const std::string& path, FileTime stamp)
{
    QCOMPARE(setStamps(path, std::nullopt, stamp), std::string());
}

void setModified(const std::string& path, const QDateTime& when)
{
    setModified(path, kUnixEpoch + FileTime(when.toMSecsSinceEpoch()) * 10'000);
}

QDateTime diskModified(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).lastModified();
}

void WindowFixture::initTestCase()
{
    formats = BuildDateTimeFormats();
    // As the program names itself: boxes are captioned with the name, and window titles get nothing appended.
    QGuiApplication::setApplicationName("Stampkeep");
}

void WindowFixture::init()
{
    folder = std::make_unique<TempDir>();
    boxes.clear();
    answer = MessageResult::Ok;
    setMessageBoxHandler([this](const MessageBoxRequest& box) { return recordBox(box); });
}

void WindowFixture::cleanup()
{
    setMessageBoxHandler(nullptr);
    folder.reset();
}

std::string WindowFixture::makeFile(const std::string& name, const QDateTime& modified) const
{
    const std::string path = folder->makeFile(name, "content");
    setModified(path, modified);
    return path;
}

MessageResult WindowFixture::recordBox(const MessageBoxRequest& box)
{
    boxes.push_back(box);
    return answer;
}

void WindowFixture::trigger(const QObject& window, const char* name)
{
    auto* action = find<QAction>(window, name);
    QVERIFY2(action, name);
    idle();
    QVERIFY2(action->isEnabled(), name);
    action->trigger();
}

void WindowFixture::showActive(QWidget& window)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}
