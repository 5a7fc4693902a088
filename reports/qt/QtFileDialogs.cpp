#include "QtFileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// The folder a report was last saved to or loaded from, in any preview:
// the next dialog opens there.
QString& lastFolder()
{
    static QString folder;
    return folder;
}

void remember(const QString& fileName)
{
    lastFolder() = QFileInfo(fileName).absolutePath();
}

void setUp(QFileDialog& dialog, const FileDialogRequest& request)
{
    if (!lastFolder().isEmpty())
        dialog.setDirectory(lastFolder());
    dialog.setWindowTitle(request.title);
    dialog.setNameFilters(QtFileDialogs::nameFilters(request.filter));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // Qt's own dialog on every desktop: the one the tests drive is the one
    // users get.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!request.defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.defaultExt);
}

// "*.pdf" gives "pdf"; nothing for a pattern without one extension.
QString extensionOf(const QString& pattern)
{
    const QString first = pattern.section(QLatin1Char(';'), 0, 0).trimmed();
    return first.startsWith(QStringLiteral("*.")) && first.count(QLatin1Char('*')) == 1 ? first.mid(2) : QString();
}

}  // namespace

QStringList QtFileDialogs::nameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                   QLatin1Char(')');
    return out;
}

int QtFileDialogs::filterIndex(const QString& filter, const QString& chosen)
{
    const QStringList filters = nameFilters(filter);
    for (qsizetype i = 0; i < filters.size(); ++i)
        if (filters[i] == chosen)
            return static_cast<int>(i);
    // Hiding the filter details makes the dialog answer with the description
    // alone, the pattern in parentheses cut off.
    const QString description = chosen.trimmed();
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        if (!description.isEmpty() && (parts[i].trimmed() == description || filters[i / 2].startsWith(description)))
            return static_cast<int>(i / 2);
    return -1;
}

QString QtFileDialogs::extension(const QString& filter, int index)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    const qsizetype at = qsizetype(index) * 2 + 1;
    return index >= 0 && at < parts.size() ? extensionOf(parts[at]) : QString();
}

bool QtFileDialogs::Save(const FileDialogRequest& request, QString& fileName, int& filterIndex)
{
    QFileDialog dialog(QApplication::activeWindow());
    setUp(dialog, request);
    // A name typed without extension takes the chosen filter's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request](const QString& chosen) {
        const QString ext = extension(request.filter, QtFileDialogs::filterIndex(request.filter, chosen));
        dialog.setDefaultSuffix(ext.isEmpty() ? request.defaultExt : ext);
    });
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // An existing file is replaced without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().first();
    filterIndex = QtFileDialogs::filterIndex(request.filter, dialog.selectedNameFilter());
    remember(fileName);
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
    remember(fileName);
    return true;
}
