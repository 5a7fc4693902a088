#include "DeleteConfirmation.h"

#include <QApplication>
#include <QMessageBox>

bool confirmRecordDeletion()
{
    const auto answer = QMessageBox::question(QApplication::activeWindow(), QApplication::applicationName(),
                                              QStringLiteral("Delete record?"),
                                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    return answer != QMessageBox::Cancel;
}
