// The program's file dialogs, and the seam through which a test answers the next one.
#include "winutil/filedialog.h"

#include "winutil/pathbytes.h"

#include <QDir>
#include <QFileDialog>

#include <optional>
#include <utility>

namespace {

std::optional<QStringList>& nextAnswer()
{
    static std::optional<QStringList> answer;
    return answer;
}

QStringList openFiles(QWidget* owner, const QString& title, const QString& filter, const QString& startFolder,
                      QFileDialog::FileMode mode)
{
    QFileDialog dialog(owner, title, dialogStartFolder(startFolder), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mode);
    return runFileDialog(dialog);
}

} // namespace

QString dialogStartFolder(const QString& remembered)
{
    return remembered.isEmpty() ? QDir::homePath() : remembered;
}

std::vector<std::string> openFileNames(QWidget* owner, const QString& title, const QString& filter,
                                       const QString& startFolder)
{
    return fileSystemPaths(openFiles(owner, title, filter, startFolder, QFileDialog::ExistingFiles));
}

std::string openFileName(QWidget* owner, const QString& title, const QString& filter, const QString& startFolder)
{
    const QStringList chosen = openFiles(owner, title, filter, startFolder, QFileDialog::ExistingFile);
    return chosen.isEmpty() ? std::string() : fileSystemPaths({chosen.front()}).front();
}

QStringList runFileDialog(QFileDialog& dialog)
{
    if (std::optional<QStringList> answer = std::exchange(nextAnswer(), std::nullopt))
        return *answer;
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

void setNextFileDialogAnswer(QStringList answer)
{
    nextAnswer() = std::move(answer);
}
