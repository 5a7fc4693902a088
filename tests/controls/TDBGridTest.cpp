#include "GridFixture.h"
#include "IndicatorImages.h"
#include "TDateField.h"

#include <QListWidget>
#include <QScrollBar>

namespace {

// The indicator picture drawn in a row's indicator cell, by comparing the
// grid's pixels with each of the five pictures; -1 for none.
int indicatorShown(TDBGrid* grid, int row)
{
    const QImage shot = grid->viewport()->grab().toImage();
    const QRect cell = grid->CellRect(-1, row);
    const int x = cell.right() - IndicatorImages::width;
    const int y = cell.top() + (cell.height() - IndicatorImages::height) / 2;
    for (int index = 0; index < 5; ++index) {
        const QImage& picture = IndicatorImages::image(static_cast<IndicatorImages::Index>(index));
        bool same = true;
        for (int py = 0; py < picture.height() && same; ++py)
            for (int px = 0; px < picture.width() && same; ++px) {
                const bool black = qAlpha(picture.pixel(px, py)) > 0;
                const bool dark = qGray(shot.pixel(x + px, y + py)) < 60;
                same = black == dark;
            }
        if (same)
            return index;
    }
    return -1;
}

using GridEdges = GridFixture;

TEST_F(GridEdges, CtrlDeleteAsksAndDeletesOnlyOnOk)
{
    addEmployees(3);
    TDBGrid* grid = makeGrid(GridKind::Employee);
    press(Qt::Key_Down);
    {
        ModalBoxResponder boxes;
        boxes.click(QStringLiteral("Cancel")).closeBox().key(Qt::Key_Escape);
        press(Qt::Key_Delete, Qt::ControlModifier);
        press(Qt::Key_Delete, Qt::ControlModifier);
        press(Qt::Key_Delete, Qt::ControlModifier);
        ASSERT_EQ(boxes.boxes().size(), 3);
        EXPECT_EQ(boxes.last().caption, QStringLiteral("Confirm"));
        EXPECT_EQ(boxes.last().text, QStringLiteral("Delete record?"));
        EXPECT_EQ(boxes.last().buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
        EXPECT_TRUE(boxes.last().hasIcon);
    }
    EXPECT_EQ(peg().RecordCount(), 3);
    EXPECT_EQ(current(), "0000000002");
    {
        ModalBoxResponder boxes;
        boxes.click(QStringLiteral("OK"));
        press(Qt::Key_Delete, Qt::ControlModifier);
        ASSERT_EQ(boxes.boxes().size(), 1);
    }
    EXPECT_EQ(peg().RecordCount(), 2);
    EXPECT_EQ(current(), "0000000003");
    EXPECT_EQ(grid->ShownRowCount(), 2);
    EXPECT_TRUE(errors().empty());
}

TEST_F(GridEdges, CtrlDeleteDoesNothingInReadOnlyGrids)
{
    for (GridKind kind : {GridKind::ReadOnlyEmployee, GridKind::SearchKeys}) {
        addEmployees(2);
        addTransfers(2);
        makeGrid(kind);
        ModalBoxResponder boxes;  // any box fails the test
        press(Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_TRUE(boxes.boxes().empty());
        EXPECT_EQ(peg().RecordCount(), 2);
        EXPECT_EQ(mut().RecordCount(), 2);
        TearDown();
        SetUp();
    }
}

TEST_F(GridEdges, DownOnLastRowAppendsAndUpCancelsIt)
{
    addTransfers(2);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    press(Qt::Key_Down);
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    press(Qt::Key_Down);
    EXPECT_EQ(mut().State(), TDataSetState::dsInsert);
    EXPECT_EQ(grid->ShownRowCount(), 3);
    EXPECT_EQ(indicatorShown(grid, 2), IndicatorImages::Insert);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 4);
    press(Qt::Key_Down);  // the untouched new record: nothing more
    EXPECT_EQ(mut().State(), TDataSetState::dsInsert);
    EXPECT_EQ(grid->ShownRowCount(), 3);
    press(Qt::Key_Up);
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(grid->ShownRowCount(), 2);
    EXPECT_EQ(mut().RecordCount(), 2);
    EXPECT_EQ(currentTransfer(), "A-0002-AB.01.01-2000");
    EXPECT_EQ(indicatorShown(grid, 1), IndicatorImages::Arrow);
}

TEST_F(GridEdges, DownInRowSelectGridNeverAppends)
{
    addEmployees(2);
    makeGrid(GridKind::Employee);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(current(), "0000000002");
}

TEST_F(GridEdges, AppendedRecordIsCancelledByEnteringAndLeavingTheGrid)
{
    addEmployees(2);
    TDBGrid* grid = makeGrid(GridKind::Employee);
    other->setFocus();
    peg().Append();  // "Tambah"
    click(grid, grid->CellRect(1, 2));
    EXPECT_TRUE(grid->hasFocus());
    other->setFocus();
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(peg().RecordCount(), 2);

    peg().Append();
    grid->setFocus();
    press(Qt::Key_Escape);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(peg().RecordCount(), 2);
}

TEST_F(GridEdges, LeavingKeepsAnAppendedRecordWithChanges)
{
    addEmployees(1);
    TDBGrid* grid = makeGrid(GridKind::Employee);
    peg().Append();
    peg().FieldByName("NIP")->SetText("0000000009");
    grid->setFocus();
    other->setFocus();
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
}

TEST_F(GridEdges, EscapeInReadOnlyGridCancelsAnEditMadeElsewhere)
{
    addEmployees(2);
    makeGrid(GridKind::ReadOnlyEmployee);
    peg().Edit();
    peg().FieldByName("Nama_Pegawai")->SetText("Diubah");
    press(Qt::Key_Escape);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(current("Nama_Pegawai"), "Pegawai 01");
}

TEST_F(GridEdges, ReadOnlyGridOpensTheEditorButRefusesChanges)
{
    addEmployees(1);
    TDBGrid* grid = makeGrid(GridKind::ReadOnlyEmployee);
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    press(Qt::Key_F2);
    ASSERT_TRUE(grid->EditorVisible());
    type(QStringLiteral("xyz"));
    EXPECT_EQ(grid->InplaceEditor()->text(), QStringLiteral("Pegawai 01"));
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
}

TEST_F(GridEdges, TabLeavesRowSelectGridAndWalksCellsOfAnEditableOne)
{
    addEmployees(2);
    makeGrid(GridKind::Employee);
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), other);
    TearDown();
    SetUp();

    addTransfers(2);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    press(Qt::Key_Tab);
    EXPECT_EQ(grid->SelectedIndex(), 1);
    EXPECT_TRUE(grid->hasFocus());
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(grid->SelectedIndex(), 0);
    press(Qt::Key_Tab, Qt::ShiftModifier);  // before the first cell of the first row: out
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_EQ(currentTransfer(), "A-0001-AB.01.01-2000");
    grid->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Down);
    press(Qt::Key_End);
    press(Qt::Key_Tab);  // past the last cell of the last row, nothing typed: out, no new row
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(grid->ShownRowCount(), 2);
}

TEST_F(GridEdges, TypingEditsInPlaceAndEnterWrites)
{
    addTransfers(2);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    press(Qt::Key_Right);
    press(Qt::Key_Right);  // Nama_Pegawai
    type(QStringLiteral("Budi"));
    ASSERT_TRUE(grid->EditorVisible());
    EXPECT_EQ(mut().State(), TDataSetState::dsEdit);
    EXPECT_EQ(indicatorShown(grid, 0), IndicatorImages::Edit);
    EXPECT_TRUE(grid->DataLink().Modified());
    EXPECT_EQ(mut().FieldByName("Nama_Pegawai")->AsString(), "Mutasi 1");
    press(Qt::Key_Return);
    EXPECT_FALSE(grid->EditorVisible());
    EXPECT_EQ(mut().FieldByName("Nama_Pegawai")->AsString(), "Budi");
    press(Qt::Key_Down);  // posts
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    mut().First();
    EXPECT_EQ(mut().FieldByName("Nama_Pegawai")->AsString(), "Budi");
}

TEST_F(GridEdges, EditorUsesTheFieldMaskAndSizeAndEscapeDiscards)
{
    addTransfers(1);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    press(Qt::Key_Right);  // NIP, "!99999999999;1;_"
    press(Qt::Key_F2);
    TInplaceEdit* editor = grid->InplaceEditor();
    ASSERT_TRUE(grid->EditorVisible());
    EXPECT_EQ(editor->editMask(), QStringLiteral("!99999999999;1;_"));
    EXPECT_EQ(editor->maxLength(), 11);
    press(Qt::Key_Home);
    type(QStringLiteral("9x"));
    EXPECT_EQ(editor->editText().left(2), QStringLiteral("90"));
    press(Qt::Key_Escape);
    EXPECT_FALSE(grid->EditorVisible());
    EXPECT_FALSE(grid->DataLink().Modified());
    EXPECT_EQ(mut().State(), TDataSetState::dsEdit) << "first Escape only drops the editor's text";
    press(Qt::Key_Escape);
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(mut().FieldByName("NIP")->AsString(), "00000000001");

    press(Qt::Key_Right);  // Nama_Pegawai, size 30
    press(Qt::Key_F2);
    EXPECT_EQ(editor->maxLength(), 30);
    EXPECT_EQ(editor->editMask(), QString());
}

TEST_F(GridEdges, BadDateOnLeavingKeepsTheFocus)
{
    addTransfers(1);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    press(Qt::Key_Right, Qt::ControlModifier);  // TMT
    press(Qt::Key_F2);
    type(QStringLiteral("999999"));
    other->setFocus();
    EXPECT_FALSE(errors().empty());
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == grid || focus == grid->InplaceEditor());
    EXPECT_TRUE(grid->DataLink().Modified());
}

TEST_F(GridEdges, LookupColumnRefusesTyping)
{
    addTransfers(1);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Right);  // Golongan
    ASSERT_EQ(grid->SelectedField(), dm().TmutasiGolongan);
    type(QStringLiteral("I/a"));
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_FALSE(grid->DataLink().Modified());
    EXPECT_TRUE(grid->InplaceEditor() == nullptr || grid->InplaceEditor()->HasButton());
}

TEST_F(GridEdges, TwoGridsOnOneTableMoveTogether)
{
    addEmployees(6);
    TDBGrid* first = makeGrid(GridKind::Employee);
    auto* second = new TDBGrid(window.get());
    second->SetOptions(rowSelectOptions());
    addColumns(second, {"Tempat_Lahir", "Alamat"});
    second->SetDataSource(&dm().DSdatapeg);
    layout->addWidget(second);
    QApplication::processEvents();
    first->setFocus();
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(current(), "0000000003");
    EXPECT_EQ(first->DataLink().ActiveRecord(), 2);
    EXPECT_EQ(second->DataLink().ActiveRecord(), 2);
    peg().Last();
    EXPECT_EQ(first->DataLink().ActiveRecord(), first->DataLink().RecordCount() - 1);
    EXPECT_EQ(second->DataLink().ActiveRecord(), second->DataLink().RecordCount() - 1);
    click(second, second->CellRect(0, 0));
    EXPECT_EQ(first->DataLink().ActiveRecord(), 0);
    EXPECT_TRUE(second->hasFocus());
}

TEST_F(GridEdges, EmptyTableShowsOneRowWithArrowAndClosedTableOneRowWithout)
{
    TDBGrid* grid = makeGrid(GridKind::Employee);
    EXPECT_EQ(grid->ShownRowCount(), 1);
    EXPECT_EQ(indicatorShown(grid, 0), IndicatorImages::Arrow);
    peg().Close();
    EXPECT_EQ(grid->ShownRowCount(), 1);
    EXPECT_EQ(indicatorShown(grid, 0), -1);
    press(Qt::Key_Down);  // ignored while closed
    peg().Open();
    addEmployees(2);
    EXPECT_EQ(grid->ShownRowCount(), 2);
}

TEST_F(GridEdges, SelectionStaysHighlightedWithoutFocusOnlyWithAlwaysShowSelection)
{
    addTransfers(2);
    TDBGrid* keys = makeGrid(GridKind::SearchKeys);
    auto* details = new TDBGrid(window.get());
    details->SetOptions({O::dgTitles, O::dgIndicator, O::dgColumnResize, O::dgTabs, O::dgAlwaysShowSelection,
                         O::dgConfirmDelete, O::dgCancelOnExit});
    details->SetReadOnly(true);
    addColumns(details, {"Golongan", "Pangkat", "Asal"});
    details->SetDataSource(&dm().DSmutasi);
    layout->addWidget(details);
    QApplication::processEvents();
    other->setFocus();
    const QColor highlight = keys->palette().color(QPalette::Highlight);
    auto colourAt = [](TDBGrid* grid, const QRect& cell) {
        return grid->viewport()->grab().toImage().pixelColor(cell.right() - 3, cell.bottom() - 2);
    };
    EXPECT_NE(colourAt(keys, keys->CellRect(0, 0)), highlight);
    EXPECT_EQ(colourAt(details, details->CellRect(0, 0)), highlight);
    keys->setFocus();
    EXPECT_EQ(colourAt(keys, keys->CellRect(2, 0)), highlight) << "row select highlights the whole row";
}

TEST_F(GridEdges, MouseMovesByRowDifferenceAndSecondClickOpensEditor)
{
    addTransfers(5);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    other->setFocus();
    click(grid, grid->CellRect(2, 3));
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(currentTransfer(), "A-0004-AB.01.01-2000");
    EXPECT_EQ(grid->SelectedIndex(), 2);
    EXPECT_FALSE(grid->EditorVisible());
    click(grid, grid->CellRect(2, 3));
    EXPECT_TRUE(grid->EditorVisible());
    type(QStringLiteral("Ani"));
    click(grid, grid->CellRect(-1, 1));  // indicator: pending text written, column kept
    EXPECT_EQ(currentTransfer(), "A-0002-AB.01.01-2000");
    EXPECT_EQ(grid->SelectedIndex(), 2);
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    mut().Next();
    mut().Next();
    EXPECT_EQ(mut().FieldByName("Nama_Pegawai")->AsString(), "Ani");
}

TEST_F(GridEdges, FocusRequestSelectsTheColumnAndOpensTheEditor)
{
    addTransfers(1);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    other->setFocus();
    mut().FieldByName("Asal")->FocusControl();
    EXPECT_EQ(grid->SelectedIndex(), 6);
    EXPECT_TRUE(grid->EditorVisible());
    EXPECT_EQ(QApplication::focusWidget(), grid->InplaceEditor());
}

TEST_F(GridEdges, WriteBackRequestTakesTheEditorText)
{
    addTransfers(1);
    makeGrid(GridKind::Transfer);
    press(Qt::Key_End);   // TMT
    press(Qt::Key_Left);  // Pindah_Ke
    type(QStringLiteral("Sindara"));
    mut().Post();  // as "Simpan" would
    EXPECT_EQ(mut().FieldByName("Pindah_Ke")->AsString(), "Sindara");
}

TEST_F(GridEdges, ColumnsByNameWithDefaultWidthsAndAMissingField)
{
    addTransfers(1);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    TColumn* missing = grid->AddColumn("Tidak_Ada");
    EXPECT_EQ(missing->Field(), nullptr);
    EXPECT_EQ(missing->Width(), grid->DefaultColWidth);
    const QFontMetrics metrics = grid->fontMetrics();
    const int zero = metrics.horizontalAdvance(QLatin1Char('0'));
    EXPECT_EQ(grid->Column(0)->Width(), zero * 20 + 4);  // No_SKM, size 20
    const int title = QFontMetrics(grid->TitleFont()).horizontalAdvance(QStringLiteral("TMT"));
    EXPECT_EQ(grid->Column(8)->Width(), std::max(zero * 10 + 4, title + 4));  // date: 10
    EXPECT_EQ(grid->Column(3)->TitleCaption(), "Golongan");
    grid->Column(1)->SetWidth(64);
    EXPECT_EQ(grid->Column(1)->Width(), 64);
    TColumn outside;
    EXPECT_EQ(outside.Width(), 64);
    press(Qt::Key_End);
    EXPECT_EQ(grid->SelectedIndex(), 9);
    EXPECT_TRUE(errors().empty());
}

TEST_F(GridEdges, AGridWithoutColumnsShowsEveryVisibleField)
{
    addTransfers(1);
    dm().TmutasiKd_Pangkat->Visible = false;
    auto* grid = new TDBGrid(window.get());
    grid->SetDataSource(&dm().DSmutasi);
    layout->addWidget(grid);
    show();
    std::vector<std::string> names;
    for (int i = 0; i < grid->ColumnCount(); ++i)
        names.push_back(grid->Column(i)->FieldName);
    EXPECT_EQ(names, (std::vector<std::string>{"No_SKM", "NIP", "Nama_Pegawai", "Kd_Golongan", "Golongan", "Pangkat",
                                               "Kd_Jabatan", "Jabatan", "Asal", "Pindah_Ke", "TMT"}));
    EXPECT_EQ(grid->Column(2)->Field(), dm().TmutasiNama_Pegawai);
    mut().Close();
    EXPECT_EQ(grid->ColumnCount(), 0);
    mut().Open();
    EXPECT_EQ(grid->ColumnCount(), 11);
    grid->AddColumn("Asal");  // given columns replace the made ones
    EXPECT_EQ(grid->ColumnCount(), 1);
    mut().Close();
    mut().Open();
    EXPECT_EQ(grid->ColumnCount(), 1);
}

TEST_F(GridEdges, RowSelectRemovesEditing)
{
    TDBGrid* grid = makeGrid(GridKind::Employee);
    EXPECT_FALSE(grid->Has(O::dgEditing));
    grid->SetOptions(TDBGridOptions::defaults().with(O::dgRowSelect).with(O::dgAlwaysShowEditor));
    EXPECT_FALSE(grid->Has(O::dgEditing));
    EXPECT_FALSE(grid->Has(O::dgAlwaysShowEditor));
    EXPECT_TRUE(grid->Has(O::dgColLines));
    press(Qt::Key_F2);
    EXPECT_FALSE(grid->EditorVisible());
}

TEST_F(GridEdges, TitleDragResizesAndMovesColumns)
{
    addTransfers(1);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    const QRect title = grid->TitleRect(1);
    QWidget* view = grid->viewport();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(title.right(), title.center().y()));
    QTest::mouseMove(view, QPoint(title.right() + 30, title.center().y()));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, QPoint(title.right() + 30, title.center().y()));
    EXPECT_EQ(grid->Column(1)->Width(), title.width() + 30);

    const QRect from = grid->TitleRect(0);
    const QRect to = grid->TitleRect(2);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from.center());
    QTest::mouseMove(view, to.center());
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to.center());
    EXPECT_EQ(grid->Column(2)->FieldName, "No_SKM");
    EXPECT_EQ(grid->Column(0)->FieldName, "NIP");
}

TEST_F(GridEdges, ScrollBarShowsFivePositionsAndMoves)
{
    addEmployees(30);
    TDBGrid* grid = makeGrid(GridKind::Employee);
    QScrollBar* bar = grid->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 4);
    EXPECT_EQ(bar->value(), 0);
    press(Qt::Key_Down);
    EXPECT_EQ(bar->value(), 2);
    press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), 4);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(current(), "0000000001");
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(current(), nipOf(1 + grid->VisibleRowCount()));
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // just below the bottom row
    const int rows = grid->VisibleRowCount();
    EXPECT_EQ(grid->DataLink().ActiveRecord(), rows - 1);
    EXPECT_EQ(bar->value(), 2);
}

TEST_F(GridEdges, AlwaysShowEditorKeepsTheEditorOpen)
{
    addTransfers(3);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    grid->SetOptions(TDBGridOptions::defaults(true));
    ASSERT_TRUE(grid->Has(O::dgAlwaysShowEditor));
    other->setFocus();
    click(grid, grid->CellRect(2, 1));  // the first click opens it
    ASSERT_TRUE(grid->EditorVisible());
    EXPECT_EQ(currentTransfer(), "A-0002-AB.01.01-2000");
    TInplaceEdit* editor = grid->InplaceEditor();
    EXPECT_EQ(editor->selectionLength(), editor->text().size()) << "opens with all selected";
    press(Qt::Key_Return);  // all was selected: the selection goes, the editor stays
    EXPECT_TRUE(grid->EditorVisible());
    EXPECT_EQ(editor->selectionLength(), 0);
    press(Qt::Key_Return);
    EXPECT_EQ(editor->selectionLength(), editor->text().size());
    press(Qt::Key_End);  // inside the text: the editor's own End
    EXPECT_EQ(grid->SelectedIndex(), 2);
    press(Qt::Key_End);  // at the end of the text: the grid's End
    EXPECT_EQ(grid->SelectedIndex(), 8);
    EXPECT_TRUE(grid->EditorVisible());
    press(Qt::Key_Escape);
    EXPECT_TRUE(grid->EditorVisible());
    press(Qt::Key_Down);
    EXPECT_TRUE(grid->EditorVisible());
    EXPECT_EQ(currentTransfer(), "A-0003-AB.01.01-2000");
}

TEST_F(GridEdges, TheCurrentColumnIsScrolledIntoView)
{
    addEmployees(2);
    TDBGrid* grid = makeGrid(GridKind::ReadOnlyEmployee);
    window->resize(400, 300);
    QApplication::processEvents();
    for (int column = 1; column < 14; ++column) {
        press(Qt::Key_Right);
        const QRect cell = grid->CellRect(column, 0);
        ASSERT_FALSE(cell.isEmpty()) << column;
        EXPECT_LE(cell.right(), grid->viewport()->width()) << column;
    }
    EXPECT_TRUE(grid->CellRect(0, 0).isEmpty()) << "the first column scrolled out";
    press(Qt::Key_Home);
    EXPECT_FALSE(grid->CellRect(0, 0).isEmpty());
    EXPECT_EQ(grid->horizontalScrollBar()->value(), 0);
}

TEST_F(GridEdges, ClicksReportTitleCellAndDoubleClick)
{
    addTransfers(2);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    std::vector<std::string> heard;
    grid->OnTitleClick = [&](TColumn& column) { heard.push_back("title " + column.FieldName); };
    grid->OnCellClick = [&](TColumn& column) { heard.push_back("cell " + column.FieldName); };
    grid->OnDblClick = [&] { heard.push_back("double"); };
    click(grid, grid->TitleRect(2));
    click(grid, grid->CellRect(1, 1));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->CellRect(0, 0).center());
    EXPECT_EQ(heard, (std::vector<std::string>{"title Nama_Pegawai", "cell NIP", "double"}));
    EXPECT_EQ(currentTransfer(), "A-0001-AB.01.01-2000");
}

TEST_F(GridEdges, PickListWritesTheChosenText)
{
    addTransfers(1);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    grid->Column(6)->PickList = {"RADAR Kelas II Maruni", "RADAR Kelas I Sindara"};
    grid->SetSelectedIndex(6);  // Asal
    press(Qt::Key_F2);
    ASSERT_TRUE(grid->InplaceEditor()->HasButton());
    press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(grid->PickListVisible());
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_EQ(popup, static_cast<QWidget*>(grid->PickList()));
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_FALSE(grid->PickListVisible());
    EXPECT_EQ(mut().State(), TDataSetState::dsEdit);
    EXPECT_EQ(mut().FieldByName("Asal")->AsString(), "RADAR Kelas I Sindara");
    EXPECT_EQ(grid->InplaceEditor()->text(), QStringLiteral("RADAR Kelas I Sindara"));

    press(Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    EXPECT_FALSE(grid->PickListVisible());
    EXPECT_EQ(mut().FieldByName("Asal")->AsString(), "RADAR Kelas I Sindara");
}

TEST_F(GridEdges, MultiSelectionMarksRowsAndDeletesThemAfterOneQuestion)
{
    addTransfers(5);
    TDBGrid* grid = makeGrid(GridKind::Transfer);
    grid->SetOptions(grid->Options().with(O::dgMultiSelect));
    QWidget* view = grid->viewport();
    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, grid->CellRect(0, 1).center());
    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, grid->CellRect(0, 3).center());
    EXPECT_EQ(grid->SelectedRowCount(), 2);
    EXPECT_EQ(indicatorShown(grid, 1), IndicatorImages::MultiDot);
    EXPECT_EQ(indicatorShown(grid, 3), IndicatorImages::MultiArrow);
    EXPECT_EQ(indicatorShown(grid, 2), -1);
    {
        ModalBoxResponder boxes;
        boxes.key(Qt::Key_Return);  // OK is the default button
        press(Qt::Key_Delete, Qt::ControlModifier);
        ASSERT_EQ(boxes.boxes().size(), 1);
        EXPECT_EQ(boxes.last().text, QStringLiteral("Delete all selected records?"));
    }
    EXPECT_EQ(mut().RecordCount(), 3);
    EXPECT_EQ(grid->SelectedRowCount(), 0);
    std::vector<std::string> left;
    for (mut().First(); !mut().Eof(); mut().Next())
        left.push_back(currentTransfer().substr(2, 4));
    EXPECT_EQ(left, (std::vector<std::string>{"0001", "0003", "0005"}));

    mut().First();
    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, grid->CellRect(0, 0).center());
    EXPECT_EQ(grid->SelectedRowCount(), 1);
    grid->SetOptions(grid->Options().without(O::dgMultiSelect));
    EXPECT_EQ(grid->SelectedRowCount(), 0);
}

}  // namespace
