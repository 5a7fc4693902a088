#include "TForm13.h"

#include "InformationTexts.h"
#include "WindowFonts.h"

#include <QPlainTextEdit>

TForm13::TForm13()
    : TForm(QStringLiteral("Form13"), QString::fromUtf8("Form Sekilas Penggunaan Program"), QRect(219, 72, 544, 456),
            WindowFonts::sansSerif(11))
{
    memo_ = new QPlainTextEdit(this);
    memo_->setGeometry(24, 16, 497, 313);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo_->setPlainText(InformationTexts::usage().mid(0, 39).join(QLatin1Char('\n')));
}
