#include "ConfirmDelete.h"

#include <QMessageBox>

bool ConfirmDelete(QWidget* parent, bool several)
{
    const QString text = several ? QStringLiteral("Delete all selected records?") : QStringLiteral("Delete record?");
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() != QMessageBox::Cancel;
}
