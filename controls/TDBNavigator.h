#pragma once
#include "TNavDataLink.h"
#include "TNavigateBtn.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>

class TDataSource;
class TNavButton;

// A strip of buttons that move through and change a data source's dataset.
// The buttons enable themselves from the dataset's position and state; the
// navigator never takes the focus unless TabStop is set, so a click leaves
// the focus where it was. Errors of the dataset operations propagate out
// of the click for the application's error box.
class TDBNavigator : public QWidget {
    Q_OBJECT

public:
    static constexpr int minButtonWidth = 20;
    static constexpr int minButtonHeight = 18;

    explicit TDBNavigator(QWidget* parent = nullptr);

    TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource* source);  // does not take ownership
    TNavButtonSet VisibleButtons() const { return visible_; }
    void SetVisibleButtons(TNavButtonSet buttons);
    // A non-empty line i replaces button i's default hint.
    QStringList Hints;
    bool ConfirmDelete = true;
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    // Hints are shown only when on; off by default.
    void SetShowHint(bool show);
    // With TabStop the navigator takes the focus: Left and Right move the
    // focus mark, Space clicks the marked button.
    void SetTabStop(bool tabStop);
    // An aligned navigator keeps any width and spreads the remainder;
    // otherwise the width is rounded down to a multiple of the buttons.
    void SetAligned(bool aligned);
    // Places the navigator and lays its buttons out at once (also when
    // hidden, where a resize alone waits for the window to be shown).
    void SetBounds(int left, int top, int width, int height);

    std::function<void(TNavigateBtn)> BeforeAction;
    std::function<void(TNavigateBtn)> OnClick;

    // Runs button b's action (as a click does).
    void BtnClick(TNavigateBtn button);
    TNavButton* button(TNavigateBtn button) const { return buttons_[button]; }
    TNavigateBtn focusedButton() const { return focused_; }
    QString hintOf(TNavigateBtn button) const;
    void Loaded();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int visibleCount() const;
    void layoutButtons();
    void updateEnabling();
    void updateHints();
    void updateFocusMark();

    TNavDataLink link_;
    std::array<TNavButton*, navigateButtonCount> buttons_{};
    TNavButtonSet visible_ = allNavigateButtons();
    TNavigateBtn focused_ = nbFirst;
    bool flat_ = false;
    bool showHint_ = false;
    bool aligned_ = false;
};
