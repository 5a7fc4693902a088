#include "QtFileDialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace {

void setUp(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setWindowTitle(request.title);
    dialog.setNameFilters(QtFileDialogs::nameFilters(request.filter));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // Qt's own dialog on every desktop: the one the tests drive is the one
    // users get.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!request.defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.defaultExt);
}

}  // namespace

QStringList QtFileDialogs::nameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '))
                + QLatin1Char(')');
    return out;
}

bool QtFileDialogs::Save(const FileDialogRequest& request, QString& fileName, int& filterIndex)
{
    QFileDialog dialog(QApplication::activeWindow());
    setUp(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // An existing file is replaced without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().first();
    filterIndex = static_cast<int>(nameFilters(request.filter).indexOf(dialog.selectedNameFilter()));
    return true;
}

bool QtFileDialogs::Open(const FileDialogRequest& request, QString& fileName)
{
    QFileDialog dialog(QApplication::activeWindow());
    setUp(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().first();
    return true;
}
