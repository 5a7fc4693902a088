#include "FormControls.h"

#include "TDBNavigator.h"

#include <QPushButton>

QPushButton* FormControls::button(QWidget* parent, const char* name, const char* caption, const QRect& rect)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(rect);
    return b;
}

TDBNavigator* FormControls::movementNavigator(QWidget* parent, const char* name, TDataSource* source,
                                              const QRect& rect)
{
    auto* nav = new TDBNavigator(parent);
    nav->setObjectName(QString::fromLatin1(name));
    nav->SetVisibleButtons(TNavButtonSet().set(nbFirst).set(nbPrior).set(nbNext).set(nbLast));
    nav->SetDataSource(source);
    nav->SetBounds(rect.x(), rect.y(), rect.width(), rect.height());
    return nav;
}
