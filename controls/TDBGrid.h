#pragma once
#include "GridKeyboard.h"
#include "TColumn.h"
#include "TDBGridOptions.h"
#include "TDataSource.h"
#include "TGridDataLink.h"

#include <QAbstractScrollArea>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

class TDataSet;
class TField;
class TInplaceEdit;
class TPopupDataList;
class QListWidget;
class QListWidgetItem;
class QPainter;

// The record grid: the records of one data source as rows, chosen fields
// as columns. One row is always the dataset's current record; the grid
// follows it and moves it (keys, mouse, scroll bar), and edits cells in
// place where its options allow. Painted by itself; the only child windows
// are the scroll bars, the in-place editor and the drop-down lists.
//
// Errors of the dataset or a field are not caught here: they leave the
// event handler for the application's error box, and the step that failed
// changes nothing.
class TDBGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource* source);  // does not take ownership
    TDataSet* DataSet() const { return link_.DataSet(); }
    TGridDataLink& DataLink() { return link_; }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    TDBGridOptions Options() const { return options_; }
    // Stores the set after the option rules (row select drops editing).
    void SetOptions(TDBGridOptions options);
    bool Has(TDBGridOption option) const { return options_.has(option); }

    // Columns, shown in this order. Takes no fields: each column finds its
    // field by name when the dataset is open. A grid given none shows one
    // column per visible field while its dataset is open.
    TColumn* AddColumn(const std::string& fieldName);
    void ClearColumns();
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    TColumn* Column(int index) const;
    // Drag a column to another place (title dragging does this).
    void MoveColumn(int from, int to);

    QFont TitleFont() const { return titleFont_; }
    void SetTitleFont(const QFont& font);
    int DefaultColWidth = 64;

    // The current column and its field.
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);
    TField* SelectedField() const;

    // In-place editor.
    bool EditorVisible() const;
    TInplaceEdit* InplaceEditor() const { return editor_; }
    void ShowEditor();
    void HideEditor();

    // The drop-down of a lookup column: the code table's texts; choosing
    // one writes its code into the key field at once.
    bool CanDropDown() const;
    bool DropDownVisible() const;
    void DropDown();
    // Closes the drop-down; accepting writes the chosen code.
    void CloseUp(bool accept);
    TPopupDataList* PopupList() const { return popup_; }
    // A column's pick list: its texts in a drop-down; the chosen one is
    // written to the field as edit text.
    bool HasPickList() const;
    bool PickListVisible() const;
    QListWidget* PickList() const { return pickList_; }

    // Multi-row selection (dgMultiSelect): record bookmarks.
    int SelectedRowCount() const { return static_cast<int>(selectedRows_.size()); }
    bool IsRowSelected(std::int64_t bookmark) const { return selectedRows_.count(bookmark) > 0; }
    void ClearSelection();

    // Data rows that fit in the window, and the rows shown now.
    int VisibleRowCount() const { return visibleRows_; }
    int ShownRowCount() const;
    // Viewport rectangle of a data cell (column index, data row), empty
    // when it is not on screen; column -1 is the indicator.
    QRect CellRect(int column, int row) const;
    // Viewport rectangle of a column's title.
    QRect TitleRect(int column) const;
    int DefaultWidthOf(const TColumn& column) const;

    // Sees every key first; setting key to 0 swallows it.
    std::function<void(int& key, Qt::KeyboardModifiers modifiers)> OnKeyDown;
    std::function<void(TColumn&)> OnTitleClick;
    std::function<void(TColumn&)> OnCellClick;
    std::function<void()> OnDblClick;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int, int) override {}

private:
    // A press, for the press and the double click alike; raises.
    void PressMouse(QMouseEvent* event);
    // Heard from the data link and the editor.
    friend class TGridDataLink;
    friend class TInplaceEdit;
    void LinkActiveChanged();
    void LinkEditingChanged();
    void LinkRecordChanged(TField* field);
    void LinkDataSetChanged();
    void LinkDataSetScrolled(int rows);
    void LinkLayoutChanged();
    bool LinkFocusControl(TField* field);  // true when the grid took the focus
    // Writes the editor's text to its field when it holds unwritten text
    // (the modified mark); validates a masked text first.
    void WriteEditorText();
    bool EditorCanModify();
    void EditorChanged();
    void EditorKey(QKeyEvent* event);
    void EditorFocusOut(QFocusEvent* event);
    void EditorButtonPress();
    void EditorMouseMove(const QPoint& global);
    void EditorMouseRelease(const QPoint& global);

    bool ProcessKey(GridKeyboard::Key key, Qt::KeyboardModifiers modifiers);

    // Layout.
    int RowHeight() const;
    int TitleHeight() const;
    int IndicatorWidth() const;
    int ColLine() const { return Has(TDBGridOption::dgColLines) ? 1 : 0; }
    int RowLine() const { return Has(TDBGridOption::dgRowLines) ? 1 : 0; }
    int DataTop() const;
    int ColumnLeft(int column) const;  // -1 when scrolled out to the left
    // Left edges of columns leftColumn_.. in one pass (-1 for hidden ones),
    // then the right edge of the last one: painting reads every column.
    std::vector<int> ColumnLefts() const;
    int FirstLeft() const { return IndicatorWidth() > 0 ? IndicatorWidth() + ColLine() : 0; }
    int HitColumn(int x, bool* onBorder = nullptr) const;
    int HitRow(int y) const;  // -1 title, -2 below the rows
    bool HasTitles() const { return Has(TDBGridOption::dgTitles); }
    void UpdateLayout();
    void UpdateScrollBars();
    void MakeColumnVisible(int column);
    void RemapColumns();
    void UpdateDefaultColumns();
    int FirstVisibleColumn() const;
    int LastVisibleColumn() const;
    int NextVisibleColumn(int from, int step) const;

    // Painting.
    void PaintTitles(QPainter& painter);
    void PaintRow(QPainter& painter, int row, bool current);
    void PaintFixedCell(QPainter& painter, const QRect& rect);
    void PaintLines(QPainter& painter, const QRect& cell);
    void PaintIndicator(QPainter& painter, const QRect& rect, bool current);
    bool GridFocused() const;

    // Commands.
    void Execute(GridCommand command, Qt::KeyboardModifiers modifiers);
    bool EmptyNewRecord() const;
    bool RecordTyped() const;
    // Ctrl+Tab, and Tab past either end: the focus moves on out of the grid.
    void LeaveByTab(bool forward);
    bool CanAppend() const;
    void RecordUp();
    void RecordDown();
    void ExtendSelection(void (TDBGrid::*move)());
    void MoveRecords(int distance);
    void GoFirst();
    void GoLast();
    void TabTo(int step);
    void DeleteRecords();
    void InsertRecord();
    void Reset();
    void Enter();
    void GridExit();
    void FocusLeaving(Qt::FocusReason reason);
    bool TakeFocus();
    void PlaceEditor();
    void RefreshEditor();
    bool CanEditShow() const;
    void ToggleRowSelection();
    TField* LookupKeyField() const;
    int DropDownRowCount(const TColumn& column) const;
    void DropDownPickList();
    void ChoosePick(QListWidgetItem* item);
    std::int64_t CurrentBookmark() const;

    // Font measures, kept until a font changes: every action and every
    // paint asks for the width of each column.
    struct Measures {
        bool valid = false;
        int zeroWidth = 0;
        int rowHeight = 0;
        int titleHeight = 0;
        std::unordered_map<std::string, int> captionWidths;  // in the title font
    };
    const Measures& FontMeasures() const;
    int CaptionWidth(const std::string& caption) const;
    void ForgetMeasures() { measures_ = Measures(); }

    // Scroll bar.
    void ScrollAction(int action);
    void ScrollThumbReleased();

    TGridDataLink link_;
    std::vector<std::unique_ptr<TColumn>> columns_;
    bool defaultColumns_ = false;  // made from the fields, not given
    TDBGridOptions options_;
    bool readOnly_ = false;
    QFont titleFont_;
    int selectedIndex_ = 0;
    int leftColumn_ = 0;
    int visibleRows_ = 1;
    mutable Measures measures_;
    bool staleWhileHidden_ = false;   // data changed while hidden: catch up when shown
    TInplaceEdit* editor_ = nullptr;  // owned by the viewport
    bool editorShown_ = false;
    bool beginningEdit_ = false;
    bool updatingScrollBar_ = false;
    std::set<std::int64_t> selectedRows_;
    TPopupDataList* popup_ = nullptr;  // owned by the grid
    TDataSource lookupSource_;         // the code table of the open drop-down
    QListWidget* pickList_ = nullptr;  // owned by the grid

    // Title dragging.
    enum class Drag { None, Resize, Move, Title };
    Drag drag_ = Drag::None;
    int dragColumn_ = -1;
    int dragTarget_ = -1;
    int dragStartX_ = 0;
    int dragStartWidth_ = 0;
    // Cell clicks.
    int pressedRow_ = -2;
    int pressedColumn_ = -1;
};
