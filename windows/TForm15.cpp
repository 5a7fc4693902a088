#include "TForm15.h"

#include "InformationTexts.h"

TForm15* Form15 = nullptr;

namespace {
const InformationWindowLayout historyLayout{
    .text = InformationTexts::officeHistory,
    .alignment = TRepAlignment::taCenter,
    .memo = QRect(16, 16, 497, 241),
    .closeButton = QRect(16, 272, 497, 25),
};
}  // namespace

TForm15::TForm15()
    : InformationWindow(QStringLiteral("Form15"), QStringLiteral("Form Sekilas RADAR Kelas I Sindara"),
                        QRect(191, 100, 537, 331), historyLayout)
{
}
