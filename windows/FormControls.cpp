#include "FormControls.h"

#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TRadioGroup.h"
#include "TRepMemo.h"
#include "TTable.h"
#include "WindowFonts.h"

#include <QPushButton>

QPushButton* FormControls::button(QWidget* parent, const char* name, const char* caption, const QRect& rect)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(rect);
    return b;
}

TRadioGroup* FormControls::orderingGroup(QWidget* parent, const OrderingPlan& plan)
{
    auto* group = new TRadioGroup(parent);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    group->setTitle(QStringLiteral("Pengurutan Berdasarkan :"));
    group->setGeometry(plan.bounds);
    group->SetItems(plan.items);
    return group;
}

void FormControls::applyOrdering(TRadioGroup* group, const OrderingPlan& plan, TTable& table)
{
    try {
        table.SetIndexFieldNames(plan.fieldsOf(group->ItemIndex()));
    } catch (...) {
        group->SetItemIndex(plan.itemOf(table.IndexFieldNames()));
        throw;
    }
}

TDBNavigator* FormControls::movementNavigator(QWidget* parent, const char* name, TDataSource* source, const QRect& rect)
{
    auto* nav = new TDBNavigator(parent);
    nav->setObjectName(QString::fromLatin1(name));
    nav->SetVisibleButtons(TNavButtonSet().set(nbFirst).set(nbPrior).set(nbNext).set(nbLast));
    nav->SetDataSource(source);
    nav->SetBounds(rect.x(), rect.y(), rect.width(), rect.height());
    return nav;
}

TDBGrid* FormControls::grid(QWidget* parent, const char* name, TDataSource* source, const QRect& rect,
                            TDBGridOptions options, const std::vector<CatalogueField>& columns)
{
    auto* g = new TDBGrid(parent);
    g->setObjectName(QString::fromLatin1(name));
    g->setGeometry(rect);
    g->SetOptions(options);
    for (const CatalogueField& column : columns)
        g->AddColumn(column.name);
    g->SetDataSource(source);
    return g;
}

void FormControls::fixWidths(TDBGrid* grid, const std::vector<CatalogueField>& columns, int width)
{
    for (int i = 0; i < grid->ColumnCount(); ++i)
        for (const CatalogueField& column : columns)
            if (grid->Column(i)->FieldName == column.name)
                grid->Column(i)->SetWidth(width);
}

void FormControls::serifTitles(TDBGrid* grid)
{
    grid->SetTitleFont(WindowFonts::timesNewRoman(13, true));
    // The grid draws titles in the button-text colour; the value "none"
    // comes out as the window colour.
    QPalette colours = grid->palette();
    colours.setColor(QPalette::ButtonText, colours.color(QPalette::Base));
    grid->setPalette(colours);
}

TDBGridOptions FormControls::rowSelectOptions()
{
    using O = TDBGridOption;
    return {O::dgTitles,    O::dgIndicator,     O::dgColumnResize, O::dgTabs,
            O::dgRowSelect, O::dgConfirmDelete, O::dgCancelOnExit};
}

void FormControls::roomForScrollBar(QWidget* window, const TRepMemo* memo)
{
    if (memo->Scrolls())
        window->resize(window->width() + memo->ScrollBarWidth(), window->height());
}
