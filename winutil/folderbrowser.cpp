// The folder browser: a directory dialog for real folders, with its choice in a status line.
#include "winutil/folderbrowser.h"

#include "platform/paths.h"
#include "winutil/filedialog.h"
#include "winutil/pathbytes.h"
#include "winutil/pathfit.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kStatusMargin = 20;

} // namespace

FolderBrowser::FolderBrowser(QWidget* owner, const QString& initialFolder, const QString& title)
    : QFileDialog(owner, title), status_(new QLabel(this))
{
    // Qt's own widgets, not the desktop's dialog, so that the status line can be added everywhere.
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    setFileMode(QFileDialog::Directory);
    status_->setObjectName(QStringLiteral("lblStatus"));
    auto* grid = qobject_cast<QGridLayout*>(layout());
    grid->addWidget(status_, grid->rowCount(), 0, 1, grid->columnCount());
    connect(this, &QFileDialog::currentChanged, this, &FolderBrowser::showChoice);
    connect(this, &QFileDialog::directoryEntered, this, &FolderBrowser::showChoice);
    setDirectory(browserStartFolder(initialFolder));
    showChoice({});
}

void FolderBrowser::accept()
{
    if (QFileInfo(selectedFiles().value(0)).isDir()) {
        QFileDialog::accept();
        return;
    }
    const auto* nameEdit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    status_->setText(QStringLiteral("\"%1\" is not a valid folder name").arg(nameEdit->text()));
    QApplication::beep();
}

// The choice is the highlighted folder, or with none highlighted the folder being shown; a view that is no folder
// (the list of drives) has no path.
void FolderBrowser::showChoice(const QString& path)
{
    const QString choice = path.isEmpty() ? directoryUrl().toLocalFile() : path;
    okButton()->setEnabled(!choice.isEmpty() && QFileInfo(choice).isDir());
    status_->setText(FitPathToWidth(choice, status_->fontMetrics(), width() - kStatusMargin));
}

QPushButton* FolderBrowser::okButton() const
{
    return findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Open);
}

bool BrowseForFolder(QWidget* owner, const std::string& initialFolder, const QString& title, std::string& chosen)
{
    FolderBrowser browser(owner, QFile::decodeName(QByteArray::fromStdString(initialFolder)), title);
    const QStringList answer = runFileDialog(browser);
    if (answer.isEmpty())
        return false;
    chosen = withTrailingSlash(fileSystemPaths({answer.first()}).front());
    return true;
}

QString browserStartFolder(const QString& initialFolder)
{
    if (initialFolder.size() > 1 && initialFolder.endsWith(u'/'))
        return initialFolder.chopped(1);
    return dialogStartFolder(initialFolder);
}
