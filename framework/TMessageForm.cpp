#include "TMessageForm.h"

#include "WindowFonts.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <array>
#include <cstdlib>

namespace {
constexpr int textFlags = Qt::TextWordWrap | Qt::TextExpandTabs;
constexpr int iconSize = 32;

// Paints its text with the same flags the dialog measured it with, so the
// lines break exactly where the layout expects them to.
class MessageLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), textFlags | (layoutDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft),
                         text());
    }
};

QStyle::StandardPixmap standardIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation:
        return QStyle::SP_MessageBoxWarning;
    case MessageIcon::Stop:
        return QStyle::SP_MessageBoxCritical;
    case MessageIcon::Information:
        return QStyle::SP_MessageBoxInformation;
    default:
        return QStyle::SP_MessageBoxQuestion;
    }
}

QString withoutAmpersands(const char* caption)
{
    return QString::fromLatin1(caption).remove(QLatin1Char('&'));
}

QChar accelerator(const char* caption)
{
    const QString text = QString::fromLatin1(caption);
    const int at = int(text.indexOf(QLatin1Char('&')));
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toUpper() : QChar();
}
}  // namespace

TMessageForm::TMessageForm(const MessageFormPlan& plan, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      plan_(plan)
{
    setObjectName(QStringLiteral("MessageForm"));
    setFont(WindowFonts::messageBox());
    setLayoutDirection(QApplication::layoutDirection());
    setWindowTitle(plan_.caption);
    setModal(true);
    layOut();
}

int TMessageForm::mulDiv(int number, int numerator, int denominator)
{
    const long long product = (long long)number * numerator;
    const long long magnitude = (std::llabs(product) + std::llabs(denominator) / 2) / std::llabs(denominator);
    return int((product < 0) != (denominator < 0) ? -magnitude : magnitude);
}

int TMessageForm::captionWidth(MessageButton kind, const QFontMetrics& metrics)
{
    // Measured once per button kind; later dialogs reuse the width.
    static std::array<int, MessageButtons::kindCount> widths = [] {
        std::array<int, MessageButtons::kindCount> w{};
        w.fill(-1);
        return w;
    }();
    int& width = widths[std::size_t(kind)];
    if (width < 0)
        width = metrics.horizontalAdvance(withoutAmpersands(MessageButtons::info(kind).caption));
    return width;
}

void TMessageForm::layOut()
{
    const QFontMetrics metrics(font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int unitX = metrics.horizontalAdvance(letters) / 52;
    const int unitY = metrics.height();

    const int hMargin = mulDiv(8, unitX, 4);
    const int vMargin = mulDiv(8, unitY, 8);
    const int hSpacing = mulDiv(10, unitX, 4);
    const int vSpacing = mulDiv(10, unitY, 8);
    const int buttonHeight = mulDiv(14, unitY, 8);
    const int buttonSpacing = mulDiv(4, unitX, 4);

    int buttonWidth = mulDiv(50, unitX, 4);
    plan_.buttons.forEach([&](MessageButton b) { buttonWidth = qMax(buttonWidth, captionWidth(b, metrics) + 8); });

    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 640;
    const QRect textRect = metrics.boundingRect(QRect(0, 0, screenWidth / 2, 0), textFlags, plan_.text);
    const int textWidth = textRect.width();
    const int textHeight = textRect.height();

    const bool hasIcon = plan_.icon != MessageIcon::None;
    const int blockWidth = hasIcon ? textWidth + iconSize + hSpacing : textWidth;
    const int blockHeight = hasIcon ? qMax(iconSize, textHeight) : textHeight;

    const int count = plan_.buttons.count();
    const int rowWidth = count * buttonWidth + qMax(0, count - 1) * buttonSpacing;
    const int clientWidth = qMax(blockWidth, rowWidth) + 2 * hMargin;
    const int clientHeight = blockHeight + vSpacing + buttonHeight + 2 * vMargin;
    setFixedSize(clientWidth, clientHeight);
    if (screen) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - clientWidth) / 2, area.y() + (area.height() - clientHeight) / 2);
    }

    if (hasIcon) {
        auto* image = new QLabel(this);
        image->setObjectName(QStringLiteral("Image"));
        image->setPixmap(style()->standardIcon(standardIcon(plan_.icon)).pixmap(iconSize, iconSize));
        image->setGeometry(hMargin, vMargin, iconSize, iconSize);
    }
    auto* message = new MessageLabel(plan_.text, this);
    message->setObjectName(QStringLiteral("Message"));
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    int left = hasIcon ? hMargin + iconSize + hSpacing : hMargin;
    if (layoutDirection() == Qt::RightToLeft)
        left = clientWidth - left - textWidth;
    message->setGeometry(left, vMargin, textWidth, textHeight);

    int x = (clientWidth - rowWidth) / 2;
    const int top = blockHeight + vMargin + vSpacing;
    plan_.buttons.forEach([&](MessageButton kind) {
        const MessageButtonInfo& info = MessageButtons::info(kind);
        auto* button = new QPushButton(QString::fromLatin1(info.caption), this);
        button->setObjectName(QString::fromLatin1(info.name));
        button->setGeometry(x, top, buttonWidth, buttonHeight);
        button->setAutoDefault(true);
        button->setDefault(plan_.defaultButton == kind);
        const int result = info.result;
        if (result != mrNone)  // Help shows help for the context; no window has any
            connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        buttons_.insert(int(kind), button);
        x += buttonWidth + buttonSpacing;
    });
}

int TMessageForm::run()
{
    return exec();
}

QString TMessageForm::clipboardText() const
{
    const QString divider = QString(27, QLatin1Char('-')) + QStringLiteral("\r\n");
    const QString lineBreak = QStringLiteral("\r\n");
    QString buttons;
    plan_.buttons.forEach([&buttons](MessageButton b) {
        buttons += withoutAmpersands(MessageButtons::info(b).caption) + QStringLiteral("   ");
    });
    return divider + plan_.caption + lineBreak + divider + plan_.text + lineBreak + divider + buttons + lineBreak +
           divider;
}

void TMessageForm::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_C && mods == Qt::ControlModifier) {
        QApplication::beep();
        QApplication::clipboard()->setText(clipboardText());
        return;
    }
    if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        if (plan_.cancelButton)
            button(*plan_.cancelButton)->click();
        return;  // no cancel button: Escape does nothing
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    pressAccelerator(event);
}

void TMessageForm::pressAccelerator(QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.size() == 1 && !(event->modifiers() & Qt::ControlModifier)) {
        const QChar letter = typed.at(0).toUpper();
        for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it) {
            if (accelerator(MessageButtons::info(MessageButton(it.key())).caption) == letter) {
                it.value()->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

void TMessageForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (plan_.focusButton)
        button(*plan_.focusButton)->setFocus();
}

void TMessageForm::reject()
{
    // Reached by the close box only: Escape is handled above.
    if (plan_.closeResult)
        done(*plan_.closeResult);
}
