#include "winutil/filedialog.h"

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
    QFileDialog dialog(owner, title, startFolder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mode);
    return runFileDialog(dialog);
}

} // namespace

QStringList openFileNames(QWidget* owner, const QString& title, const QString& filter, const QString& startFolder)
{
    return openFiles(owner, title, filter, startFolder, QFileDialog::ExistingFiles);
}

QString openFileName(QWidget* owner, const QString& title, const QString& filter, const QString& startFolder)
{
    return openFiles(owner, title, filter, startFolder, QFileDialog::ExistingFile).value(0);
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
