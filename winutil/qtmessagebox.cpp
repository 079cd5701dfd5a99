#include "winutil/qtmessagebox.h"

#include "platform/messagebox.h"
#include "winutil/helppage.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Every button of a QMessageBox closes it: this one answers only to its own handler, which opens the help page.
void addHelpButton(QMessageBox& box, int context)
{
    QPushButton* help = box.addButton(QMessageBox::Help);
    QObject::disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
    QObject::connect(help, &QAbstractButton::clicked, &box, [context] { openHelpPage(context); });
}

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// A box closed without a button (Escape, the window's close box) answers as its way out.
MessageResult boxResult(QMessageBox::StandardButton clicked, MessageButtons buttons)
{
    switch (clicked) {
    case QMessageBox::Ok:
        return MessageResult::Ok;
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    default:
        break;
    }
    if (buttons == MessageButtons::Ok)
        return MessageResult::Ok;
    return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Cancel;
}

MessageResult showQtMessageBox(const MessageBoxRequest& request)
{
    QWidget* owner = request.hasOwner ? QApplication::activeWindow() : nullptr;
    QMessageBox box(boxIcon(request.icon), QString::fromStdString(request.caption),
                    QString::fromStdString(request.text), boxButtons(request.buttons), owner);
    box.setTextFormat(Qt::PlainText);
    if (request.helpContext != 0)
        addHelpButton(box, request.helpContext);
    box.exec();
    return boxResult(box.standardButton(box.clickedButton()), request.buttons);
}

} // namespace

void installQtMessageBox()
{
    setMessageBoxHandler(showQtMessageBox);
}
