#pragma once
#include "OrderingPlan.h"
#include "TDBGridOptions.h"

#include <QRect>
#include <QString>

#include <vector>

class QPushButton;
class QWidget;
class TDBGrid;
class TDBNavigator;
class TDataSource;
class TRadioGroup;
class TRepMemo;
class TTable;

// The controls the list, search and information windows build the same way.
class FormControls {
public:
    // A push button at rect (client coordinates of its parent).
    static QPushButton* button(QWidget* parent, const char* name, const char* caption, const QRect& rect);
    // The ordering group "RadioGroup1" of a record or search window.
    static TRadioGroup* orderingGroup(QWidget* parent, const OrderingPlan& plan);
    // Orders table by the group's chosen item. When the table refuses (a
    // pending record it cannot store), the group goes back to the item of
    // the order the table is in, and the error goes on.
    static void applyOrdering(TRadioGroup* group, const OrderingPlan& plan, TTable& table);
    // A navigator showing only first, prior, next and last over source
    // (null: unbound).
    static TDBNavigator* movementNavigator(QWidget* parent, const char* name, TDataSource* source, const QRect& rect);
    // A grid over source (null: unbound) with these options and columns.
    static TDBGrid* grid(QWidget* parent, const char* name, TDataSource* source, const QRect& rect,
                         TDBGridOptions options, const std::vector<CatalogueField>& columns);
    // Gives the named columns of grid a fixed width.
    static void fixWidths(TDBGrid* grid, const std::vector<CatalogueField>& columns, int width);
    // Titles in the bold serif face, in the title colour value "none", which
    // the grid draws in the window colour.
    static void serifTitles(TDBGrid* grid);
    // The options the search and data windows give their key grids: whole
    // rows, no editing in the grid.
    static TDBGridOptions rowSelectOptions();
    // Widens window by memo's scroll bar when the memo scrolls: the text
    // already reaches the window's right edge, and the bar must not cover
    // the ends of the longest lines.
    static void roomForScrollBar(QWidget* window, const TRepMemo* memo);
};
