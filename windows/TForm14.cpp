#include "TForm14.h"

#include "InformationTexts.h"

TForm14* Form14 = nullptr;

namespace {
const InformationWindowLayout usageLayout{
    .text = InformationTexts::usage,
    .alignment = TRepAlignment::taLeftJustify,
    .memo = QRect(16, 16, 505, 417),
    .closeButton = QRect(16, 440, 505, 25),
};
}  // namespace

TForm14::TForm14()
    : InformationWindow(QStringLiteral("Form14"), QStringLiteral("Form Sekilas Penggunaan Program"),
                        QRect(202, 58, 540, 500), usageLayout)
{
}
