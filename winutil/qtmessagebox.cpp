#include "winutil/qtmessagebox.h"

#include "platform/messagebox.h"
#include "winutil/helppage.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

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

// A box whose text we lay out: the body takes the place of the box's own text label, which stays hidden and keeps
// the text for copying the box.
class LaidOutBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

    void setBody(QWidget* body)
    {
        body_ = body;
        body_->setParent(this);
        placeBody();
    }

protected:
    void changeEvent(QEvent* event) override
    {
        QMessageBox::changeEvent(event);
        // A new style rebuilds the box's layout, without the body.
        if (event->type() == QEvent::StyleChange && body_)
            placeBody();
    }

private:
    void placeBody()
    {
        auto* grid = qobject_cast<QGridLayout*>(layout());
        auto* label = findChild<QLabel*>("qt_msgbox_label", Qt::FindDirectChildrenOnly);
        const int index = grid && label ? grid->indexOf(label) : -1;
        if (index < 0) {
            // A box laid out in a way we do not know shows its text itself.
            delete body_;
            body_ = nullptr;
            return;
        }
        int row = 0;
        int column = 0;
        int rowSpan = 0;
        int columnSpan = 0;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        label->hide();
        grid->addWidget(body_, row, column, rowSpan, columnSpan);
    }

    QWidget* body_ = nullptr;
};

// The lines of a text, without the line breaks that end it.
QStringList textLines(const std::string& text)
{
    QStringList lines = QString::fromStdString(text).replace("\r\n", "\n").split(u'\n');
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QLabel* textLabel(const QString& text, const QWidget& box)
{
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(
        Qt::TextInteractionFlags(box.style()->styleHint(QStyle::SH_MessageBox_TextInteractionFlags, nullptr, &box)));
    return label;
}

// Most of the screen, which a body fills at most.
int bodyRoom(const QWidget& box)
{
    return box.screen()->availableGeometry().width() * 3 / 4;
}

QWidget* terminalLines(const QStringList& lines, const QWidget& box)
{
    QLabel* label = textLabel(lines.join(u'\n'), box);
    label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const int room = bodyRoom(box);
    if (label->sizeHint().width() <= room)
        return label;
    // On a narrow screen the lines stay whole and scroll sideways.
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(label);
    scroller->setMinimumSize(room, label->sizeHint().height() + scroller->horizontalScrollBar()->sizeHint().height());
    return scroller;
}

// The cells of each line: a line with tabs is a row of a table, any other line a single cell.
QList<QStringList> tableCells(const QStringList& lines)
{
    static const QRegularExpression tabs("\t+");
    QList<QStringList> cells;
    for (const QString& line : lines)
        cells.append(line.split(tabs));
    return cells;
}

// Wide enough for the table's rows to stay whole and for the other lines up to a comfortable reading width, within
// the room the screen gives.
int bodyWidth(const QList<QStringList>& cells, const QFontMetrics& metrics, int spacing, const QWidget& box)
{
    QList<int> columnWidths;
    int widestLine = 0;
    for (const QStringList& row : cells) {
        if (row.size() == 1) {
            widestLine = std::max(widestLine, metrics.horizontalAdvance(row.first()));
            continue;
        }
        columnWidths.resize(std::max(columnWidths.size(), row.size()));
        for (qsizetype column = 0; column < row.size(); ++column)
            columnWidths[column] = std::max(columnWidths[column], metrics.horizontalAdvance(row[column]));
    }
    int widestRow = 0;
    for (const int width : columnWidths)
        widestRow += width + spacing;
    const int comfortable = std::min(box.screen()->availableGeometry().width() / 2, 500);
    return std::min(std::max(std::min(widestLine, comfortable), widestRow), bodyRoom(box));
}

// The line naming the path: whole when it fits the width, else the words before the path wrapped above it and the
// path, shortened in its middle when it still does not fit, on a line with what follows it. Returns the next row.
int addPathLine(QGridLayout& grid, int row, const QString& line, const QString& path, int width, const QWidget& box)
{
    const QFontMetrics metrics(box.font());
    const qsizetype start = line.indexOf(path);
    const QString before = line.left(start).trimmed();
    const QString after = line.mid(start + path.size());
    QLabel* named = textLabel(line, box);
    if (metrics.horizontalAdvance(line) > width) {
        if (!before.isEmpty()) {
            QLabel* lead = textLabel(before, box);
            lead->setWordWrap(true);
            grid.addWidget(lead, row++, 0, 1, -1);
        }
        named->setText(metrics.elidedText(path, Qt::ElideMiddle, width - metrics.horizontalAdvance(after)) + after);
    }
    named->setToolTip(path);
    grid.addWidget(named, row++, 0, 1, -1);
    return row;
}

// The lines in a grid, so that the columns of the table line up; the path is never broken across lines.
QWidget* laidOutLines(const QStringList& lines, const QString& path, const QWidget& box)
{
    const QFontMetrics metrics(box.font());
    auto* body = new QWidget;
    auto* grid = new QGridLayout(body);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    // Columns stand at least an em apart.
    grid->setHorizontalSpacing(std::max(grid->horizontalSpacing(), metrics.horizontalAdvance(u'M')));
    const QList<QStringList> cells = tableCells(lines);
    const int width = bodyWidth(cells, metrics, grid->horizontalSpacing(), box);
    body->setMinimumWidth(width);

    int row = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty()) {
            grid->setRowMinimumHeight(row++, metrics.lineSpacing());
        } else if (!path.isEmpty() && line.contains(path)) {
            row = addPathLine(*grid, row, line, path, width, box);
        } else {
            // A table row's last cell, like a line of its own, wraps rather than leave the box.
            for (qsizetype column = 0; column < cells[i].size(); ++column) {
                QLabel* cell = textLabel(cells[i][column], box);
                const bool last = column == cells[i].size() - 1;
                cell->setWordWrap(last);
                grid->addWidget(cell, row, int(column), 1, last ? -1 : 1);
            }
            ++row;
        }
    }
    grid->setColumnStretch(grid->columnCount() - 1, 1);
    return body;
}

QWidget* bodyFor(const MessageBoxRequest& request, const QWidget& box)
{
    const QStringList lines = textLines(request.text);
    if (!request.hasOwner)
        return terminalLines(lines, box);
    const bool columns =
        std::any_of(lines.begin(), lines.end(), [](const QString& line) { return line.contains(u'\t'); });
    if (columns || !request.path.empty())
        return laidOutLines(lines, QString::fromStdString(request.path), box);
    return nullptr;
}

MessageResult showQtMessageBox(const MessageBoxRequest& request)
{
    const std::unique_ptr<QMessageBox> box = qtMessageBoxFor(request);
    box->exec();
    return boxResult(box->standardButton(box->clickedButton()), request.buttons);
}

} // namespace

std::unique_ptr<QMessageBox> qtMessageBoxFor(const MessageBoxRequest& request)
{
    QWidget* owner = request.hasOwner ? QApplication::activeWindow() : nullptr;
    auto box = std::make_unique<LaidOutBox>(boxIcon(request.icon), QString::fromStdString(request.caption),
                                            QString::fromStdString(request.text), boxButtons(request.buttons), owner);
    box->setTextFormat(Qt::PlainText);
    if (request.helpContext != 0)
        addHelpButton(*box, request.helpContext);
    if (QWidget* body = bodyFor(request, *box))
        box->setBody(body);
    return box;
}

void installQtMessageBox()
{
    setMessageBoxHandler(showQtMessageBox);
}
