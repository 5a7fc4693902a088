#pragma once
// Drives Qt's own (non-native) file dialog the way a user does: once the
// dialog is shown, optionally picks a filter entry with the keyboard, goes to
// the folder, types the name into its file name box and presses Return. What the
// dialog showed is recorded.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

class RealFileDialog : public QObject {
public:
    struct Seen {
        QString title;
        QStringList filters;  // as the filter box lists them
        QString typed;
        bool answered = false;
    };

    // Answers the next file dialog: filterDown presses Down in the filter box
    // that many times; beforeAccept runs with the name typed, just before the
    // accept button is pressed.
    explicit RealFileDialog(QString name, int filterDown = 0, std::function<void()> beforeAccept = {})
        : name_(std::move(name)), filterDown_(filterDown), beforeAccept_(std::move(beforeAccept))
    {
        poll_.setInterval(0);
        connect(&poll_, &QTimer::timeout, this, [this] { tryAnswer(); });
        poll_.start();
    }

    const Seen& seen() const { return seen_; }

private:
    void tryAnswer()
    {
        QFileDialog* dialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible())
                dialog = d;
        if (!dialog)
            return;
        poll_.stop();
        QPointer<QFileDialog> guard(dialog);
        seen_.title = dialog->windowTitle();
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!types || !edit) {
            ADD_FAILURE() << "not Qt's own file dialog";
            dialog->reject();
            return;
        }
        for (int i = 0; i < types->count(); ++i)
            seen_.filters << types->itemText(i);
        types->setFocus();
        for (int i = 0; i < filterDown_; ++i)
            QTest::keyClick(types, Qt::Key_Down);
        // the user has gone to the folder and types the name
        const QFileInfo target(name_);
        dialog->setDirectory(target.absolutePath());
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, target.fileName());
        seen_.typed = edit->text();
        if (beforeAccept_)
            beforeAccept_();
        // Return, as a completion list may be open over the buttons
        if (guard)
            QTest::keyClick(edit, Qt::Key_Return);
        seen_.answered = true;
        if (guard && guard->isVisible()) {
            ADD_FAILURE() << "the file dialog stayed open with " << seen_.typed.toStdString();
            guard->reject();
        }
    }

    QString name_;
    int filterDown_;
    std::function<void()> beforeAccept_;
    QTimer poll_;
    Seen seen_;
};
