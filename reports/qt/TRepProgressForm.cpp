#include "TRepProgressForm.h"
#include "HandlerGuard.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

TRepProgressForm::TRepProgressForm(TRepPrinter& destination, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      destination_(destination)
{
    setObjectName(QStringLiteral("RepProgressForm"));
    setWindowTitle(QStringLiteral("Printing progress"));
    setFixedSize(149, 97);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Gauge = new QProgressBar(this);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setGeometry(16, 18, 114, 16);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->setTextVisible(false);
    Info = new QLabel(this);
    Info->setObjectName(QStringLiteral("Info"));
    Info->setGeometry(0, 44, 145, 13);
    Info->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(36, 60, 75, 25);
    connect(CancelButton, &QPushButton::clicked, this, guard([this] { CancelButtonClick(); }));
}

void TRepProgressForm::Progress(int)
{
    QMetaObject::invokeMethod(this, guard([this] { UpdateProgress(); }), Qt::QueuedConnection);
}

// Reads the progress when the message is handled, not when it was posted.
void TRepProgressForm::UpdateProgress()
{
    const int p = destination_.Progress();
    if (p % 5 != 0)
        return;
    Gauge->setValue(p);
    Info->setText(QString::number(p) + QStringLiteral("% ") + QStringLiteral(" Completed"));
    QCoreApplication::processEvents();
}

void TRepProgressForm::CancelButtonClick()
{
    destination_.Cancel();
}

void TRepProgressForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    // A run or an export on finished pages: either stops.
    guardedEvent(event, [&] { destination_.Cancel(); });
}

void TRepProgressForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    guardedEvent(event, [&] { CancelButtonClick(); });
}
