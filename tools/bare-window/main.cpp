// The floor of start-up: a bare Qt window with a menu bar and nothing else,
// timed beside the program by tools/startup-compare.sh.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Window"));
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Quit"), &application, &QApplication::quit);
    window.resize(400, 300);
    window.show();
    return application.exec();
}
