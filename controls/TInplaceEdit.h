#pragma once
#include "TCustomMaskEdit.h"

class TDBGrid;

// The record grid's in-place editor: a masked edit over the current cell.
// The grid decides whether a change may be made, writes the text to the
// field and handles the keys that move between cells and records; the
// editor passes those keys on.
class TInplaceEdit : public TCustomMaskEdit {
    Q_OBJECT

public:
    explicit TInplaceEdit(TDBGrid& grid, QWidget* parent);

    // A drop-down button at the right (lookup columns).
    bool HasButton() const { return hasButton_; }
    void SetHasButton(bool hasButton);
    QRect ButtonRect() const;
    // Collapses the selection to the cursor.
    void Deselect();

protected:
    bool canModify() override;
    bool claimsEscape() const override { return true; }
    void change() override;
    void doExit() override {}
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool passesToGrid(QKeyEvent* event) const;
    bool atEdge(int key) const;

    TDBGrid& grid_;
    bool hasButton_ = false;
};
