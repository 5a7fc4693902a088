#include "TPasswordDialog.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

namespace {

// Typed characters show as "*" whatever the platform's style would draw.
class StarStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, const QRect& place)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TPasswordDialog::TPasswordDialog(PasswordList& passwords, QWidget* parent) : QDialog(parent), passwords_(passwords)
{
    setObjectName(QStringLiteral("PasswordDialog"));
    setWindowTitle(QStringLiteral("Enter password"));
    setModal(true);
    setFixedSize(264, 128);

    group_ = new QGroupBox(QStringLiteral("Password"), this);
    group_->setObjectName(QStringLiteral("GroupBox1"));
    group_->setGeometry(8, 6, 160, 76);
    edit_ = new QLineEdit(group_);
    edit_->setObjectName(QStringLiteral("Edit"));
    edit_->setEchoMode(QLineEdit::Password);
    auto* style = new StarStyle();
    style->setParent(edit_);
    edit_->setStyle(style);
    edit_->setGeometry(10, 30, 140, 24);

    addButton_ = makeButton(this, "AddButton", "&Add", QRect(176, 10, 80, 26));
    removeButton_ = makeButton(this, "RemoveButton", "&Remove", QRect(176, 40, 80, 26));
    removeAllButton_ = makeButton(this, "RemoveAllButton", "Re&move all", QRect(176, 70, 80, 26));
    okButton_ = makeButton(this, "OKButton", "&OK", QRect(96, 96, 76, 26));
    cancelButton_ = makeButton(this, "CancelButton", "Cancel", QRect(180, 96, 76, 26));
    okButton_->setDefault(true);

    connect(addButton_, &QPushButton::clicked, this, &TPasswordDialog::add);
    connect(removeButton_, &QPushButton::clicked, this, &TPasswordDialog::remove);
    connect(removeAllButton_, &QPushButton::clicked, this, &TPasswordDialog::removeAll);
    connect(okButton_, &QPushButton::clicked, this, [this] {
        add();
        accept();
    });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(edit_, &QLineEdit::textChanged, this, &TPasswordDialog::updateButtons);
    setTabOrder(edit_, addButton_);
    setTabOrder(addButton_, removeButton_);
    setTabOrder(removeButton_, removeAllButton_);
    setTabOrder(removeAllButton_, okButton_);
    setTabOrder(okButton_, cancelButton_);
    edit_->setFocus();
    updateButtons();
}

bool TPasswordDialog::execute(PasswordList& passwords, QWidget* parent)
{
    TPasswordDialog dialog(passwords, parent);
    return dialog.exec() == QDialog::Accepted;
}

void TPasswordDialog::add()
{
    std::string typed = edit_->text().toStdString();
    if (!typed.empty()) {
        passwords_.add(typed);
        added_ = true;
    }
    edit_->clear();
    edit_->setFocus();
    updateButtons();
}

void TPasswordDialog::remove()
{
    passwords_.remove(edit_->text().toStdString());
    edit_->clear();
    edit_->setFocus();
}

void TPasswordDialog::removeAll()
{
    passwords_.clear();
    edit_->clear();
    edit_->setFocus();
}

void TPasswordDialog::updateButtons()
{
    okButton_->setEnabled(added_ || !edit_->text().isEmpty());
}
