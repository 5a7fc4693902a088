#pragma once
#include <QFont>
#include <QRect>
#include <QWidget>

// A top-level window of the program. Geometry is given as the outer rectangle
// (frame included); the client area is that less a fixed frame allowance of a
// sizeable frame: 4 pixels of border on every side and a 19-pixel caption.
// Windows are created hidden and live until the program ends: closing one
// hides it, except the main window, whose closing ends the program.
class TForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int frameWidth = 8;    // left + right border
    static constexpr int frameHeight = 27;  // caption + top + bottom border

    TForm(const QString& name, const QString& caption, const QRect& outer, const QFont& font);

    // Makes the window visible and brings it to the front.
    void Show();
    // Makes the window invisible; its controls keep their contents.
    void Hide();
    // Main window: ends the program. Any other window: Hide().
    void Close();

    bool isMainForm() const;
    // The rectangle the window was designed with, frame included.
    QRect outerRect() const { return outer_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QRect outer_;
};
