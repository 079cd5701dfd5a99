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
    return RunFileDialog(dialog);
}

} // namespace

QStringList OpenFileNames(QWidget* owner, const QString& title, const QString& filter, const QString& startFolder)
{
    return openFiles(owner, title, filter, startFolder, QFileDialog::ExistingFiles);
}

QString OpenFileName(QWidget* owner, const QString& title, const QString& filter, const QString& startFolder)
{
    return openFiles(owner, title, filter, startFolder, QFileDialog::ExistingFile).value(0);
}

QStringList RunFileDialog(QFileDialog& dialog)
{
    if (std::optional<QStringList> answer = std::exchange(nextAnswer(), std::nullopt))
        return *answer;
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

void SetNextFileDialogAnswer(QStringList answer)
{
    nextAnswer() = std::move(answer);
}
