#pragma once
#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <functional>

// The application object: the one place where errors that escape an event
// handler are caught and shown, after which the message loop goes on. It also
// knows the main window, whose closing ends the program.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    static TApplication* instance();

    // The first window created; only closing it ends the program.
    QWidget* MainForm() const { return mainForm_; }
    void SetMainForm(QWidget* form);

    // Shows the main window and processes messages until Terminate().
    int Run();
    // Ends the message loop (every nested loop too).
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The default error box for the error in flight (or the one given).
    void HandleException(std::exception_ptr error);
    // The error in flight, from a handler Qt called: shown by the running
    // application, or written to the standard error stream when there is
    // none. Never raises.
    static void HandleCurrentException() noexcept;
    void ShowException(const std::exception& error);

    // The error box text: a "." is added when the text's last character
    // sorts after ".".
    static QString errorBoxText(const QString& message);
    // The text for an escaping object that is not an error.
    static QString applicationErrorText(const QString& className, const QString& module, const void* address);

    // The application's error event: when set, an escaping error is handed
    // to it instead of the error box. The program sets none.
    std::function<void(const std::exception&)> OnException;

    // The last resort for an error that escaped a handler without a guard
    // (see HandlerGuard.h); by then it has passed through Qt's frames.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    QPointer<QWidget> mainForm_;
    bool terminated_ = false;
};
