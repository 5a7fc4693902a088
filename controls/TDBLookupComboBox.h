#pragma once
#include "TDBLookupControl.h"

#include <QKeySequence>

class TPopupDataList;

enum class TDropDownAlign { daLeft, daRight, daCenter };

// A lookup box: shows the current record's code by its text from the code
// table and drops down a list of the texts to choose another. Keys of the
// closed box: Alt+Up/Down drop down, Up/Down choose the neighbouring code,
// letters search the texts. While the list is open, keys go to it; Enter
// accepts and Escape discards (even in a window with default or cancel
// buttons).
class TDBLookupComboBox : public TDBLookupControl {
    Q_OBJECT

public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);
    ~TDBLookupComboBox() override;

    int DropDownRows = 7;
    int DropDownWidth = 0;  // 0: the box's width
    TDropDownAlign DropDownAlign = TDropDownAlign::daLeft;
    // Clears the field; empty: none.
    QKeySequence NullValueKey;

    std::function<void(TDBLookupComboBox&)> OnDropDown;
    std::function<void(TDBLookupComboBox&)> OnCloseUp;

    void DropDown();
    void CloseUp(bool accept);
    bool ListVisible() const { return listVisible_; }
    TPopupDataList& popup() const { return *list_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int buttonWidth() const;
    int frameWidth() const;
    QRect buttonRect() const;
    void updateHeight();
    void trackButton(const QPoint& pos);
    void stopTracking();
    void moveInList(int key);

    TPopupDataList* list_ = nullptr;  // owned as a child window
    bool listVisible_ = false;
    bool tracking_ = false;       // the left button went down on the box
    bool handedToList_ = false;   // ...and the press was passed to the list
    bool buttonPressed_ = false;  // drawn pressed
};
