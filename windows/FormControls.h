#pragma once
#include <QRect>
#include <QString>

class QPushButton;
class QWidget;
class TDBNavigator;
class TDataSource;

// The controls the list, search and information windows build the same way.
class FormControls {
public:
    // A push button at rect (client coordinates of its parent).
    static QPushButton* button(QWidget* parent, const char* name, const char* caption, const QRect& rect);
    // A navigator showing only first, prior, next and last over source
    // (null: unbound).
    static TDBNavigator* movementNavigator(QWidget* parent, const char* name, TDataSource* source,
                                           const QRect& rect);
};
