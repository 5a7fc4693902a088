#pragma once
#include "ControlTimer.h"
#include "FieldValue.h"
#include "LookupSearch.h"
#include "TListSourceLink.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QScrollBar;
class TDataSource;
class TField;

// The drop-down list of a lookup control: rows of a code table shown in a
// thin-bordered tool window that never takes the activation. Its owner (a
// lookup box, a grid's lookup column) gives it the list source and fields,
// the row count and the key value, shows it, forwards its keys and its held
// mouse, and closes it on accepted() or discarded().
//
// The list moves the list dataset's current record and the highlighted key;
// it never writes a field. Detach it (setListSource(nullptr)) when hidden.
class TPopupDataList : public QWidget {
    Q_OBJECT

public:
    explicit TPopupDataList(QWidget* parent = nullptr);
    ~TPopupDataList() override;

    void setListSource(TDataSource* source);  // does not take ownership
    TDataSource* listSource() const { return link_.DataSource(); }
    // The key field's name; ";"-separated list field names; which of the
    // list fields is shown (the first when out of range).
    void setKeyFieldName(const std::string& name);
    void setListFieldNames(const std::string& names);
    void setListFieldIndex(int index);
    const std::string& keyFieldName() const { return keyFieldName_; }
    // Whether the fields resolved on an active list source.
    bool listActive() const { return listField_ != nullptr; }

    // Rows shown, held to 1..100; the height follows.
    void setRowCount(int rows);
    int rowCount() const { return rows_; }
    // Height of the window for a row count, border included.
    int heightForRows(int rows) const;
    int rowHeight() const;

    // A read-only list shows and scrolls but does not move the highlight.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }

    // The highlighted key. Setting it brings its record into view (the
    // first record when the table does not hold it).
    FieldValue keyValue() const { return keyValue_; }
    void setKeyValue(const FieldValue& key);

    // Keys given by the owner: arrows, pages, Home, End, printable
    // characters (search), Backspace, Enter (accepted), Escape (discarded).
    // Returns whether the key was used.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);

    // The owner's held mouse, in global coordinates: a press handed over,
    // moves while held (scrolling beyond the top or bottom edge), release
    // (accepted over the list, discarded elsewhere).
    void pressAt(const QPoint& global);
    void dragTo(const QPoint& global);
    void releaseAt(const QPoint& global);
    bool isTracking() const { return tracking_; }

    // The scrolling timer while the mouse is held beyond the list.
    void setScrollTimer(std::unique_ptr<ControlTimer> timer);
    ControlTimer& scrollTimer() { return *timer_; }

    // What the rows show now, top to bottom, and the highlighted row (-1
    // when the key is not among them).
    std::vector<std::string> rowTexts();
    int highlightedRow();
    const std::string& searchText() const { return search_.text(); }

signals:
    void accepted();
    void discarded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateFields();
    void listChanged();
    void locateKey();
    void fillRows();
    void selectCurrent();
    void selectRowAt(int y);
    void moveBy(int delta);
    void search(const QString& text);
    void scrollTick();
    void scrollBarAction(int action);
    void updateScrollBar();
    QRect listRect() const;
    int keyRow();
    std::string rowText(int row);

    TListSourceLink link_;
    std::string keyFieldName_;
    std::string listFieldNames_;
    int listFieldIndex_ = 0;
    TField* keyField_ = nullptr;
    TField* listField_ = nullptr;
    int rows_ = 7;
    bool readOnly_ = false;
    FieldValue keyValue_;
    LookupSearch search_;
    bool tracking_ = false;
    int scrollDelta_ = 0;
    std::unique_ptr<ControlTimer> timer_;
    QScrollBar* scrollBar_ = nullptr;
};
