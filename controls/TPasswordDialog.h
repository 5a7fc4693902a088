#pragma once
#include "PasswordList.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;

// "Enter password": asked when a database wants a password the session does
// not hold. The typed password (shown as "*") is added to or removed from the
// session's password list; "&OK" adds it and closes for another try,
// "Cancel" gives up. The list lives in memory only.
class TPasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit TPasswordDialog(PasswordList& passwords, QWidget* parent = nullptr);

    // Shows the window modally: true after "&OK", false after "Cancel".
    static bool execute(PasswordList& passwords, QWidget* parent = nullptr);

private:
    void add();
    void remove();
    void removeAll();
    void updateButtons();

    PasswordList& passwords_;
    bool added_ = false;
    QGroupBox* group_;
    QLineEdit* edit_;
    QPushButton* addButton_;
    QPushButton* removeButton_;
    QPushButton* removeAllButton_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};
