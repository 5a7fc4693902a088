#pragma once
// Both record data windows over a data module on fresh table files, with
// the window globals they name (Form2, Form3, Form6, Form7) set for the test
// and cleared after it. Form2 is bound the way start-up binds it: created
// first, bound when the module is published. The module's global stays
// unset: the windows are given the module.
#include "CatchingApplication.h"
#include "DataModuleFixture.h"
#include "ReferenceBinder.h"
#include "TDBEdit.h"
#include "TDBLookupComboBox.h"
#include "TEdit.h"
#include "TForm2.h"
#include "TForm3.h"
#include "TForm6.h"
#include "TForm7.h"
#include "TRadioGroup.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

inline void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Chooses an item of a radio group by a click on its circle.
inline void choose(TRadioGroup* group, int item)
{
    QRadioButton* button = group->button(item);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

// Puts the focus into an entry and replaces its whole content with keys.
inline void typeInto(TCustomMaskEdit* edit, const QString& keys)
{
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClicks(edit, keys);
}

class RecordWindowFixture : public DataModuleFixture {
protected:
    void SetUp() override
    {
        app.takeErrors();
        DataModuleFixture::SetUp();
        // Every entry filled but Citra Dewi's place of birth.
        addEmployee("1957010101", "Ahmad Yani",
                    {{"Karpeg", "33333333"},
                     {"Tempat_Lahir", "Bandung"},
                     {"Tanggal_Lahir", "01/01/1957"},
                     {"Alamat", "Jl. Merdeka 1"},
                     {"Pendidikan_Diklat", "Diklatpim IV"}});
        addEmployee("1960020202", "Budi Santoso",
                    {{"Karpeg", "11111111"},
                     {"Tempat_Lahir", "Garut"},
                     {"Tanggal_Lahir", "02/02/1960"},
                     {"Alamat", "Jl. Asia 2"},
                     {"Pendidikan_Diklat", "Prajab"}});
        addEmployee("1965030303", "Citra Dewi",
                    {{"Karpeg", "22222222"},
                     {"Tempat_Lahir", ""},
                     {"Tanggal_Lahir", "03/03/1965"},
                     {"Alamat", "Jl. Braga 3"},
                     {"Pendidikan_Diklat", "Prajab"}});
        addTransfer("A-1234-BC.01.02-2001", "19570101011", "Ahmad Yani");
        addTransfer("B-2000-CD.01.02-2002", "19600202022", "Budi Santoso");
        peg().First();
        mut().First();

        form6 = std::make_unique<TForm6>(dm());
        form7 = std::make_unique<TForm7>(dm());
        Form6 = form6.get();
        Form7 = form7.get();
        form2 = std::make_unique<TForm2>(references, [this]() -> TDMarsipstaf& { return dm(); });
        Form2 = form2.get();
        references.publish("DMarsipstaf");
        form3 = std::make_unique<TForm3>(dm());
        Form3 = form3.get();
    }

    void TearDown() override
    {
        Form2 = nullptr;
        Form3 = nullptr;
        Form6 = nullptr;
        Form7 = nullptr;
        form3.reset();
        form2.reset();
        form7.reset();
        form6.reset();
        DataModuleFixture::TearDown();
    }

    // A transfer from Sindara to Jakarta, effective 1 July 2005.
    void addTransfer(const std::string& skm, const std::string& nip, const std::string& name)
    {
        DataModuleFixture::addTransfer(skm, nip, name,
                                       {{"Asal", "Sindara"}, {"Pindah_Ke", "Jakarta"}, {"TMT", "01/07/2005"}});
    }

    // Shows a window and makes it the active one, as the menu does.
    void showAndActivate(RecordWindow& form)
    {
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    int employeeCount() { return peg().RecordCount(); }
    int transferCount() { return mut().RecordCount(); }

    std::vector<std::string> errors() { return app.takeErrors(); }

    CatchingApplication& app = CatchingApplication::instance();  // before any widget
    ReferenceBinder references;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm6> form6;
    std::unique_ptr<TForm7> form7;
};
