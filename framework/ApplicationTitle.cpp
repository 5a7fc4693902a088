#include "ApplicationTitle.h"

#include <QCoreApplication>

QString ApplicationTitle::fromProgramPath(const QString& path)
{
    QString name = path;
    const int slash = int(qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))));
    if (slash >= 0)
        name = name.mid(slash + 1);
    const int dot = int(name.indexOf(QLatin1Char('.')));
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString ApplicationTitle::current()
{
    const QStringList args = QCoreApplication::arguments();
    const QString path = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    return fromProgramPath(path.isEmpty() && !args.isEmpty() ? args.first() : path);
}
