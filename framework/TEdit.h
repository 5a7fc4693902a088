#pragma once
#include "TCustomMaskEdit.h"

#include <functional>
#include <utility>

// A plain single-line edit of a window, bound to nothing. OnChange runs
// after every change of its text, typed or set by the program.
class TEdit : public TCustomMaskEdit {
    Q_OBJECT

public:
    explicit TEdit(QWidget* parent = nullptr) : TCustomMaskEdit(parent) {}

    // Empties the box. This always counts as a change, even when the box
    // was empty already: OnChange runs once either way.
    void Clear()
    {
        if (editText().isEmpty())
            change();
        else
            setText(QString());
    }

    // Puts a text back without running OnChange: no change of the user's.
    void restoreText(const QString& text)
    {
        auto handler = std::exchange(OnChange, nullptr);
        setText(text);
        OnChange = std::move(handler);
    }

    std::function<void(TEdit&)> OnChange;

protected:
    void change() override
    {
        TCustomMaskEdit::change();
        if (OnChange)
            OnChange(*this);
    }
};
