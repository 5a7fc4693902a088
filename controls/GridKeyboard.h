#pragma once

// What a key pressed in a record grid asks the grid to do. The grid widget
// turns a Qt key into one of these and carries it out; the table lives
// here so it can be checked without a window.
enum class GridCommand {
    None,
    RecordUp,    // previous record (leaving an empty new record cancels it)
    RecordDown,  // next record; at the end of an editable grid append
    PageUp,
    PageDown,
    TopRow,     // the top visible row
    BottomRow,  // the bottom visible row
    FirstRecord,
    LastRecord,
    ColumnLeft,
    ColumnRight,
    FirstColumn,
    LastColumn,
    DeleteRecord,  // Ctrl+Delete, after the checks and the confirmation
    InsertRecord,
    TabNext,
    TabPrior,
    FocusNext,   // Ctrl+Tab: on to the next control, whatever the grid takes
    FocusPrior,  // Ctrl+Shift+Tab: back to the previous control
    Reset,       // Escape
    ShowEditor,  // F2
    Enter,
};

class GridKeyboard {
public:
    enum class Key {
        Up,
        Down,
        Left,
        Right,
        Home,
        End,
        PageUp,
        PageDown,
        Insert,
        Delete,
        Tab,
        Escape,
        F2,
        Enter,
        Other
    };

    struct Context {
        bool rowSelect = false;
        bool singleColumn = false;  // the grid shows one data column
        bool rightToLeft = false;
        bool takesTab = false;  // dgTabs without row select
    };

    static GridCommand decide(Key key, bool shift, bool ctrl, bool alt, const Context& context)
    {
        if (context.rightToLeft && (key == Key::Left || key == Key::Right))
            key = key == Key::Left ? Key::Right : Key::Left;
        return ctrl ? withCtrl(key, shift, alt) : plain(key, shift, alt, context);
    }

private:
    static GridCommand withCtrl(Key key, bool shift, bool alt)
    {
        switch (key) {
        case Key::Tab:
            if (alt)
                return GridCommand::None;
            return shift ? GridCommand::FocusPrior : GridCommand::FocusNext;
        case Key::Up:
        case Key::PageUp:
            return GridCommand::TopRow;
        case Key::Down:
        case Key::PageDown:
            return GridCommand::BottomRow;
        case Key::Home:
            return GridCommand::FirstRecord;
        case Key::End:
            return GridCommand::LastRecord;
        case Key::Left:
            return GridCommand::FirstColumn;
        case Key::Right:
            return GridCommand::LastColumn;
        case Key::Delete:
            return GridCommand::DeleteRecord;
        default:
            return GridCommand::None;
        }
    }

    static GridCommand plain(Key key, bool shift, bool alt, const Context& context)
    {
        const bool byRecord = context.rowSelect || context.singleColumn;
        switch (key) {
        case Key::Up:
            return GridCommand::RecordUp;
        case Key::Down:
            return GridCommand::RecordDown;
        case Key::Left:
            return context.rowSelect ? GridCommand::RecordUp : GridCommand::ColumnLeft;
        case Key::Right:
            return context.rowSelect ? GridCommand::RecordDown : GridCommand::ColumnRight;
        case Key::Home:
            return byRecord ? GridCommand::FirstRecord : GridCommand::FirstColumn;
        case Key::End:
            return byRecord ? GridCommand::LastRecord : GridCommand::LastColumn;
        case Key::PageUp:
            return GridCommand::PageUp;
        case Key::PageDown:
            return GridCommand::PageDown;
        case Key::Insert:
            return GridCommand::InsertRecord;
        case Key::Tab:
            if (alt || !context.takesTab)
                return GridCommand::None;
            return shift ? GridCommand::TabPrior : GridCommand::TabNext;
        case Key::Escape:
            return GridCommand::Reset;
        case Key::F2:
            return GridCommand::ShowEditor;
        case Key::Enter:
            return GridCommand::Enter;
        default:
            return GridCommand::None;
        }
    }
};
