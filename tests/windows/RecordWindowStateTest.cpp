#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"

#include <functional>

// The enabled state of the entries, the search box and "Simpan" after each
// handler, in both record windows.
namespace {

enum class Window { Employee, Transfer };

struct StateCase {
    const char* name;
    Window window;
    // Clicks and typing before the check; answers its boxes.
    std::function<void(RecordWindow&, ModalBoxResponder&)> act;
    bool entries;
    bool search;
    bool simpan;
};

std::ostream& operator<<(std::ostream& os, const StateCase& c)
{
    return os << c.name;
}

void rubah(RecordWindow& form)
{
    click(form.Button5);
}

// Rubah, a change typed into the third entry (a plain one in both windows),
// then Simpan.
void changeAndStore(RecordWindow& form, const QString& text)
{
    rubah(form);
    typeInto(form.entry(3), text);
    click(form.Button3);
}

const StateCase stateCases[] = {
    {"EmployeeCreation", Window::Employee, nullptr, true, false, false},
    {"TransferCreation", Window::Transfer, nullptr, false, false, false},
    {"EmployeeTambah", Window::Employee, [](RecordWindow& f, ModalBoxResponder&) { click(f.Button1); }, true, false,
     true},
    {"TransferTambah", Window::Transfer, [](RecordWindow& f, ModalBoxResponder&) { click(f.Button1); }, true, false,
     true},
    {"EmployeeRubah", Window::Employee, [](RecordWindow& f, ModalBoxResponder&) { rubah(f); }, true, true, true},
    {"TransferRubah", Window::Transfer, [](RecordWindow& f, ModalBoxResponder&) { rubah(f); }, true, true, true},
    // A passed check: the employee window leaves its search box alone, the
    // transfer window locks it with the entries (and reminds).
    {"EmployeeSimpanPassed", Window::Employee,
     [](RecordWindow& f, ModalBoxResponder&) { changeAndStore(f, QStringLiteral("Ahmad Yani Jr")); }, false, true,
     false},
    {"TransferSimpanPassed", Window::Transfer,
     [](RecordWindow& f, ModalBoxResponder& r) {
         r.click(QStringLiteral("Yes"));
         changeAndStore(f, QStringLiteral("Ahmad Yani Jr"));
     },
     false, false, false},
    // A failed check stores nothing: the record stays pending, so "Simpan"
    // stays enabled for the next try.
    {"EmployeeSimpanFailed", Window::Employee,
     [](RecordWindow& f, ModalBoxResponder& r) {
         r.click(QStringLiteral("OK"));
         changeAndStore(f, QString());
     },
     true, true, true},
    {"TransferSimpanFailed", Window::Transfer,
     [](RecordWindow& f, ModalBoxResponder& r) {
         r.click(QStringLiteral("OK"));
         changeAndStore(f, QString());
     },
     true, true, true},
    {"EmployeeBatal", Window::Employee,
     [](RecordWindow& f, ModalBoxResponder&) {
         rubah(f);
         QTest::keyClicks(f.Edit1, QStringLiteral("19"));
         click(f.Button2);
     },
     false, false, false},
    {"TransferBatal", Window::Transfer,
     [](RecordWindow& f, ModalBoxResponder&) {
         rubah(f);
         QTest::keyClicks(f.Edit1, QStringLiteral("B"));
         click(f.Button2);
     },
     false, false, false},
    // Hapus, Cari and the ordering leave every state as it was (here the
    // one after Rubah).
    {"EmployeeHapusCariOrdering", Window::Employee,
     [](RecordWindow& f, ModalBoxResponder& r) {
         rubah(f);
         r.click(QStringLiteral("No"));
         click(f.Button4);
         choose(f.RadioGroup1, 2);
         click(f.Button6);
     },
     true, true, true},
};

}  // namespace

class RecordWindowStateTest : public RecordWindowFixture, public ::testing::WithParamInterface<StateCase> {};

TEST_P(RecordWindowStateTest, EntriesSearchBoxAndSimpanAfterEachHandler)
{
    const StateCase& c = GetParam();
    RecordWindow& form = c.window == Window::Employee ? static_cast<RecordWindow&>(*form2) : *form3;
    showAndActivate(form);
    {
        ModalBoxResponder responder;
        if (c.act)
            c.act(form, responder);
        EXPECT_EQ(responder.pending(), 0);
    }
    if (c.window == Window::Transfer && QApplication::activeWindow() != &form)
        showAndActivate(form);
    for (int n = 1; n <= form.entryCount(); ++n)
        EXPECT_EQ(form.entry(n)->isEnabled(), c.entries) << "DBEdit" << n;
    for (int n = 1; n <= form.lookupCount(); ++n)
        EXPECT_EQ(form.lookupBox(n)->isEnabled(), c.entries) << "DBLookupComboBox" << n;
    EXPECT_EQ(form.Edit1->isEnabled(), c.search);
    EXPECT_EQ(form.Button3->isEnabled(), c.simpan);
    for (QPushButton* other : {form.Button1, form.Button2, form.Button4, form.Button5, form.Button6, form.Button7})
        EXPECT_TRUE(other->isEnabled()) << other->objectName().toStdString();
    EXPECT_TRUE(errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Handlers, RecordWindowStateTest, ::testing::ValuesIn(stateCases),
                         [](const auto& info) { return std::string(info.param.name); });
