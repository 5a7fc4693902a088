#pragma once
// Answers the modal boxes a test provokes, without sleeping: when a modal
// dialog is shown, the next queued answer is played on it from inside its own
// message loop (pressing a button, typing keys, or using the close box), and
// what the box showed is recorded. A box with no answer queued fails the test
// and is closed so the test cannot hang; so is a box still open after its
// answer was played (recorded as leftOpen). While a responder exists, errors
// escaping an event handler go to the error box even when a test has set the
// application's error event (CatchingApplication).
#include "TApplication.h"
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTest>
#include <algorithm>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

struct ModalBoxRecord {
    QString caption;
    QString text;           // the "Message" label
    bool hasIcon = false;   // an "Image" label is present
    QStringList buttons;    // control names, left to right
    QString defaultButton;  // name of the button Enter presses
    QString focusButton;    // name of the button with the focus once shown
    QSize clientSize;
    int result = -1;        // the code the box closed with
    bool leftOpen = false;  // still open after every step of its answer
};

class ModalBoxResponder : public QObject {
public:
    struct Step {
        enum Kind { Click, Key, CloseBox } kind;
        QString button;
        int key = 0;
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    };

    ModalBoxResponder();
    ~ModalBoxResponder() override;

    // The next box is answered by clicking the button of this control name
    // ("Yes", "No", "OK", "Cancel", ...).
    ModalBoxResponder& click(const QString& button);
    // The next box is answered by typing this key into its focused control.
    ModalBoxResponder& key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The next box is answered with its close box.
    ModalBoxResponder& closeBox();
    // The next box is answered by these steps, in order.
    ModalBoxResponder& steps(std::vector<Step> steps);

    const QList<ModalBoxRecord>& boxes() const { return boxes_; }
    const ModalBoxRecord& last() const { return boxes_.back(); }
    int pending() const { return int(answers_.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void answer(QPointer<QDialog> dialog, std::vector<Step> steps);
    static ModalBoxRecord record(QDialog* dialog);

    std::function<void(const std::exception&)> savedOnException_;
    std::deque<std::vector<Step>> answers_;
    QList<ModalBoxRecord> boxes_;
};

inline ModalBoxResponder::ModalBoxResponder()
    : savedOnException_(std::exchange(TApplication::instance()->OnException, nullptr))
{
    qApp->installEventFilter(this);
}

inline ModalBoxResponder::~ModalBoxResponder()
{
    qApp->removeEventFilter(this);
    TApplication::instance()->OnException = savedOnException_;
}

inline ModalBoxResponder& ModalBoxResponder::click(const QString& button)
{
    return steps({{Step::Click, button}});
}

inline ModalBoxResponder& ModalBoxResponder::key(int key, Qt::KeyboardModifiers modifiers)
{
    return steps({{Step::Key, QString(), key, modifiers}});
}

inline ModalBoxResponder& ModalBoxResponder::closeBox()
{
    return steps({{Step::CloseBox, QString()}});
}

inline ModalBoxResponder& ModalBoxResponder::steps(std::vector<Step> steps)
{
    answers_.push_back(std::move(steps));
    return *this;
}

inline bool ModalBoxResponder::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isModal() && dialog->isWindow()) {
            boxes_.append(record(dialog));
            std::vector<Step> steps;
            if (answers_.empty()) {
                ADD_FAILURE() << "unexpected box: " << boxes_.back().text.toStdString();
            } else {
                steps = std::move(answers_.front());
                answers_.pop_front();
            }
            QPointer<QDialog> target(dialog);
            QMetaObject::invokeMethod(
                this, [this, target, steps] { answer(target, steps); }, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

inline void ModalBoxResponder::answer(QPointer<QDialog> dialog, std::vector<Step> steps)
{
    const qsizetype index = boxes_.size() - 1;
    if (dialog)
        if (auto* focus = qobject_cast<QPushButton*>(dialog->focusWidget()))
            boxes_[index].focusButton = focus->objectName();
    for (const Step& step : steps) {
        if (!dialog || !dialog->isVisible())
            break;
        switch (step.kind) {
        case Step::Click: {
            auto* button = dialog->findChild<QPushButton*>(step.button);
            if (!button) {
                ADD_FAILURE() << "box has no button " << step.button.toStdString();
                break;
            }
            QTest::mouseClick(button, Qt::LeftButton);
            break;
        }
        case Step::Key: {
            QWidget* focus = dialog->focusWidget();
            QTest::keyClick(focus ? focus : dialog.data(), Qt::Key(step.key), step.modifiers);
            break;
        }
        case Step::CloseBox:
            dialog->close();
            break;
        }
    }
    if (dialog && dialog->isVisible()) {
        boxes_[index].leftOpen = true;
        dialog->done(-1);
    }
    if (dialog)
        boxes_[index].result = dialog->result();
}

inline ModalBoxRecord ModalBoxResponder::record(QDialog* dialog)
{
    ModalBoxRecord r;
    r.caption = dialog->windowTitle();
    if (auto* message = dialog->findChild<QLabel*>(QStringLiteral("Message")))
        r.text = message->text();
    r.hasIcon = dialog->findChild<QLabel*>(QStringLiteral("Image")) != nullptr;
    QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
    std::sort(buttons.begin(), buttons.end(), [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    for (QPushButton* b : buttons) {
        r.buttons << b->objectName();
        if (b->isDefault())
            r.defaultButton = b->objectName();
    }
    r.clientSize = dialog->size();
    return r;
}
