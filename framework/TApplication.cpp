#include "TApplication.h"

#include "ApplicationTitle.h"
#include "BoxFlags.h"
#include "ButtonRules.h"
#include "EAbort.h"
#include "MessageBoxes.h"

#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace {
QString currentExceptionClass()
{
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (!type)
        return QStringLiteral("unknown");
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type->name(), nullptr, nullptr, &status),
                                                std::free);
    return QString::fromUtf8(status == 0 && name ? name.get() : type->name());
}
}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Hidden windows are not closed ones: only the main window ends the run.
    setQuitOnLastWindowClosed(false);
    installEventFilter(new ButtonRules(this));
}

TApplication* TApplication::instance()
{
    return qobject_cast<TApplication*>(QCoreApplication::instance());
}

void TApplication::SetMainForm(QWidget* form)
{
    if (!mainForm_)
        mainForm_ = form;
}

int TApplication::Run()
{
    terminated_ = false;
    if (mainForm_)
        mainForm_->show();
    return exec();
}

void TApplication::Terminate()
{
    terminated_ = true;
    // exit(), not quit(): quit() asks every window to close first, and the
    // hidden windows refuse.
    QCoreApplication::exit(0);
}

QString TApplication::errorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString TApplication::applicationErrorText(const QString& className, const QString& module, const void* address)
{
    return QStringLiteral("Exception %1 in module %2 at %3.\n")
        .arg(className, module, QStringLiteral("%1").arg(quintptr(address), 8, 16, QLatin1Char('0')).toUpper());
}

void TApplication::ShowException(const std::exception& error)
{
    ShowMessageBox(errorBoxText(QString::fromUtf8(error.what())), ApplicationTitle::current(),
                   BoxFlags::Ok | BoxFlags::IconStop);
}

void TApplication::HandleException(std::exception_ptr error)
{
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        if (OnException)
            OnException(e);
        else
            ShowException(e);
    } catch (...) {
        const QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        ShowMessageBox(applicationErrorText(currentExceptionClass(), module, nullptr),
                       QStringLiteral("Application Error"), BoxFlags::Ok | BoxFlags::IconStop | BoxFlags::TaskModal);
    }
}

void TApplication::HandleCurrentException() noexcept
{
    const std::exception_ptr error = std::current_exception();
    try {
        if (TApplication* app = instance()) {
            app->HandleException(error);
            return;
        }
        std::rethrow_exception(error);
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "%s\n", "Unknown error");
    }
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}
