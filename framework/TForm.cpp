#include "TForm.h"

#include "TApplication.h"

#include <QCloseEvent>

TForm::TForm(const QString& name, const QString& caption, const QRect& outer, const QFont& font)
    : QWidget(nullptr), outer_(outer)
{
    setObjectName(name);
    setWindowTitle(caption);
    setFont(font);
    move(outer.topLeft());
    resize(outer.width() - frameWidth, outer.height() - frameHeight);
}

bool TForm::isMainForm() const
{
    const TApplication* app = TApplication::instance();
    return app && app->MainForm() == this;
}

void TForm::Show()
{
    show();
    raise();
    activateWindow();
}

void TForm::Hide()
{
    hide();
}

void TForm::Close()
{
    if (isMainForm())
        TApplication::instance()->Terminate();
    else
        Hide();
}

void TForm::closeEvent(QCloseEvent* event)
{
    // The frame's close box and Alt+F4 are the same Close; nothing is
    // destroyed here.
    event->ignore();
    Close();
}
