// What the window tests share: a fresh temporary folder for each case, where the settings file goes; message boxes
// recorded and answered instead of shown; components found and actions run by name; files with given stamps.
#include "gui/windowfixture.h"

#include "core/datetimeformats.h"
#include "fake/entrysetup.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcutEvent>
#include <QTimer>
#include <QtTest>

namespace {

// Dialogs that a window owns are windows of their own.
bool belongsTo(const QObject& object, const QWidget& window)
{
    const QObject* holder = &object;
    while (holder && !holder->isWidgetType())
        holder = holder->parent();
    return holder && static_cast<const QWidget*>(holder)->window() == &window;
}

// Components are what the form or our code names; Qt's inner parts (named qt_..., or not at all) are the business of
// the widget that holds them.
bool isComponent(const QWidget& widget, const QWidget& window)
{
    const QString name = widget.objectName();
    return widget.window() == &window && widget.isVisibleTo(&window) && !name.isEmpty() && !name.startsWith("qt_");
}

QString described(const QWidget& widget)
{
    const QRect place = widget.geometry();
    return QString("%1 (%2,%3 %4x%5)")
        .arg(widget.objectName())
        .arg(place.x())
        .arg(place.y())
        .arg(place.width())
        .arg(place.height());
}

// What keeps a component from showing its whole text in its own font: a label smaller than it asks to be, a date or
// time whose editor is narrower than what it shows, a caption wider than its button, a text lower than a line.
QString cutText(const QWidget& widget)
{
    const QFontMetrics metrics = widget.fontMetrics();
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        const QSize wanted = label->sizeHint();
        return label->width() < wanted.width() || label->height() < wanted.height() ? "is smaller than its text" : "";
    }
    const QWidget* textArea = &widget;
    int textWidth = 0;
    if (const auto* picker = qobject_cast<const QDateTimeEdit*>(&widget)) {
        textArea = picker->findChild<QLineEdit*>();
        textWidth = metrics.horizontalAdvance(picker->text());
    } else if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        textWidth = metrics.size(Qt::TextShowMnemonic, button->text()).width();
    } else if (!qobject_cast<const QComboBox*>(&widget) && !qobject_cast<const QLineEdit*>(&widget)) {
        return {};
    }
    if (textArea->width() < textWidth)
        return "is narrower than its text";
    return textArea->height() < metrics.height() ? "is lower than a line of its text" : "";
}

// Stands between the shortcut map and what a key reaches: records it, and keeps it from acting.
class ShortcutRecorder : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        reached.append(watched);
        ambiguous = ambiguous || static_cast<QShortcutEvent*>(event)->isAmbiguous();
        return true;
    }

    QList<QObject*> reached;
    bool ambiguous = false;
};

// A label that underlines its letter by hand answers Alt and that letter, through an action of the window.
QKeySequence underlinedKey(const QLabel& label)
{
    const QRegularExpressionMatch letter = QRegularExpression("<u>(.)</u>").match(label.text());
    return letter.hasMatch() ? QKeySequence::mnemonic("&" + letter.captured(1)) : QKeySequence();
}

} // namespace

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

EntrySnapshot listedState(const std::string& path)
{
    const std::optional<EntrySnapshot> listed = currentPlatform().snapshotEntry(path);
    if (!listed)
        qWarning("cannot list %s", path.c_str());
    return listed.value_or(EntrySnapshot{});
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

QMap<QString, QRect> componentPlaces(const QWidget& parent)
{
    QMap<QString, QRect> places;
    for (const QWidget* widget : parent.findChildren<QWidget*>()) {
        if (isComponent(*widget, *parent.window()))
            places.insert(widget->objectName(), widget->geometry());
    }
    return places;
}

QStringList movedComponents(const QMap<QString, QRect>& before, const QMap<QString, QRect>& after)
{
    QStringList moved;
    for (auto place = before.cbegin(); place != before.cend(); ++place) {
        const QRect now = after.value(place.key());
        if (now != place.value())
            moved << QString("%1 from %2,%3 %4x%5 to %6,%7 %8x%9")
                         .arg(place.key())
                         .arg(place->x())
                         .arg(place->y())
                         .arg(place->width())
                         .arg(place->height())
                         .arg(now.x())
                         .arg(now.y())
                         .arg(now.width())
                         .arg(now.height());
    }
    return moved;
}

QStringList layoutFaults(const QWidget& window)
{
    QStringList faults;
    QList<const QWidget*> parents = {&window};
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->window() == &window && widget->isVisibleTo(&window))
            parents.append(widget);
    }
    for (const QWidget* parent : parents) {
        QList<const QWidget*> siblings;
        for (const QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (isComponent(*child, window))
                siblings.append(child);
        }
        for (qsizetype i = 0; i < siblings.size(); ++i) {
            const QWidget& widget = *siblings[i];
            if (const QString cut = cutText(widget); !cut.isEmpty())
                faults << described(widget) + " " + cut;
            if (!parent->rect().contains(widget.geometry()))
                faults << described(widget) + " reaches outside " + described(*parent);
            if (!window.rect().contains(QRect(widget.mapTo(&window, QPoint(0, 0)), widget.size())))
                faults << described(widget) + " reaches outside the window";
            for (qsizetype j = i + 1; j < siblings.size(); ++j) {
                if (widget.geometry().intersects(siblings[j]->geometry()))
                    faults << described(widget) + " overlaps " + described(*siblings[j]);
            }
        }
    }
    return faults;
}

ShortcutCheck checkShortcuts(QWidget& window)
{
    QList<QAction*> actions;
    for (QAction* action : window.findChildren<QAction*>()) {
        if (belongsTo(*action, window))
            actions.append(action);
    }
    QList<std::pair<QKeySequence, QObject*>> declared;
    for (QAction* action : actions) {
        for (const QKeySequence& key : action->shortcuts())
            declared.append({key, action});
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (belongsTo(*button, window) && button->isVisibleTo(&window) &&
            !QKeySequence::mnemonic(button->text()).isEmpty())
            declared.append({QKeySequence::mnemonic(button->text()), button});
    }
    QList<QKeySequence> underlined;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!belongsTo(*label, window) || !label->isVisibleTo(&window))
            continue;
        if (label->buddy() && !QKeySequence::mnemonic(label->text()).isEmpty())
            declared.append({QKeySequence::mnemonic(label->text()), label});
        if (!underlinedKey(*label).isEmpty())
            underlined.append(underlinedKey(*label));
    }

    ShortcutCheck check;
    QMap<QString, QStringList> owners;
    for (const auto& [key, owner] : declared)
        owners[key.toString()].append(owner->objectName());
    for (auto owner = owners.cbegin(); owner != owners.cend(); ++owner) {
        if (owner.value().size() > 1)
            check.faults << owner.key() + " declared by " + owner.value().join(", ");
    }

    // Actions answer their keys only while enabled; which ones are is not at stake here.
    QList<std::pair<QAction*, bool>> enabled;
    for (QAction* action : actions) {
        enabled.append({action, action->isEnabled()});
        action->setEnabled(true);
    }
    ShortcutRecorder recorder;
    QList<QObject*> watched = window.findChildren<QObject*>();
    watched.append(&window);
    for (QObject* object : watched)
        object->installEventFilter(&recorder);
    const auto press = [&](const QKeySequence& key, const QObject* owner) {
        recorder.reached.clear();
        recorder.ambiguous = false;
        QWidget* focus = QApplication::focusWidget();
        QTest::keySequence(focus && focus->window() == &window ? focus : &window, key);
        QStringList names;
        for (const QObject* object : recorder.reached)
            names << object->objectName();
        check.reached[key.toString()] = names.join(", ");
        const bool reachedOwner = recorder.reached.size() == 1 && (!owner || recorder.reached[0] == owner);
        if (!reachedOwner || recorder.ambiguous)
            check.faults << key.toString() + " reaches " + (names.isEmpty() ? "nothing" : names.join(", ")) +
                                (recorder.ambiguous ? " (ambiguous)" : "");
    };
    for (const auto& [key, owner] : declared) {
        const auto* widget = qobject_cast<const QWidget*>(owner);
        if (!widget || widget->isEnabled())
            press(key, owner);
    }
    for (const QKeySequence& key : underlined)
        press(key, nullptr);
    for (QObject* object : watched)
        object->removeEventFilter(&recorder);
    for (const auto& [action, wasEnabled] : enabled)
        action->setEnabled(wasEnabled);
    return check;
}
