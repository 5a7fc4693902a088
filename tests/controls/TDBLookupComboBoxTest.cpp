#include "TDBLookupComboBox.h"

#include "BoundWindow.h"
#include "TPopupDataList.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>

namespace {

// The employee window's religion, sex and grade boxes over one employee.
class LookupBoxWindow : public BoundWindow {
protected:
    void SetUp() override
    {
        BoundWindow::SetUp();
        LookupSearch::setClock([this] { return clock; });
        addEmployee("1957010101", "Ahmad Yani", {{"Kd_Agama", "03"}, {"Kd_JK", "ZZ"}, {"Kd_Gol", "3A"}});
        peg().First();
        agama = addBox("DBLookupComboBox2", "Kd_Agama", dm().DSagama, "Kd_Agama", "Agama");
        jk = addBox("DBLookupComboBox1", "Kd_JK", dm().DSjk, "Kd_JK", "JK");
        gol = addBox("DBLookupComboBox4", "Kd_Gol", dm().DSgol, "Kd_Gol", "Golongan");
        other = new QLineEdit(window.get());
        layout->addWidget(other);
    }
    void TearDown() override
    {
        LookupSearch::setClock(nullptr);
        BoundWindow::TearDown();
    }

    TDBLookupComboBox* addBox(const char* name, const std::string& field, TDataSource& list, const std::string& key,
                              const std::string& shown)
    {
        auto* box = new TDBLookupComboBox(window.get());
        box->setObjectName(QString::fromLatin1(name));
        box->SetDataSource(&dm().DSdatapeg);
        box->SetDataField(field);
        box->SetListSource(&list);
        box->SetKeyField(key);
        box->SetListField(shown);
        layout->addWidget(box);
        return box;
    }
    void focus(QWidget* widget)
    {
        widget->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), widget);
    }
    void type(QWidget* widget, const char* text, std::int64_t pause = 10)
    {
        for (const char* c = text; *c; ++c) {
            clock += pause;
            QTest::keyClick(widget, *c);
        }
    }
    std::string code(const char* field) { return current(field); }

    std::int64_t clock = 1'000'000;
    TDBLookupComboBox* agama = nullptr;
    TDBLookupComboBox* jk = nullptr;
    TDBLookupComboBox* gol = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(LookupBoxWindow, ShowsTheTextOfTheCodeAndNothingForAnUnknownCode)
{
    EXPECT_EQ(agama->Text(), "Katolik");
    EXPECT_EQ(agama->KeyValue(), FieldValue("03"));
    EXPECT_EQ(jk->Text(), "");  // "ZZ" is not in the code table
    EXPECT_EQ(gol->Text(), "III/a");
    addEmployee("1960020202", "Budi");
    EXPECT_EQ(agama->Text(), "");
    peg().First();
    EXPECT_EQ(agama->Text(), "Katolik");
}

TEST_F(LookupBoxWindow, ChoosingWhileBrowsingStoresTheCodeAtOnce)
{
    showWindow();
    focus(agama);
    QTest::keyClick(agama, Qt::Key_Down);
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    EXPECT_EQ(code("Kd_Agama"), "04");
    EXPECT_EQ(peg().FieldByName("Agama")->DisplayText(), "Hindu");  // the grid's column
    EXPECT_EQ(agama->Text(), "Hindu");
    QTest::keyClick(agama, Qt::Key_Up);
    QTest::keyClick(agama, Qt::Key_Up);
    EXPECT_EQ(code("Kd_Agama"), "02");
    EXPECT_TRUE(errors().empty());
}

TEST_F(LookupBoxWindow, DownInAnEmptyBoxChoosesTheFirstCodeAndUpKeepsIt)
{
    showWindow();
    focus(jk);
    QTest::keyClick(jk, Qt::Key_Down);
    EXPECT_EQ(code("Kd_JK"), "LK");
    QTest::keyClick(jk, Qt::Key_Up);
    EXPECT_EQ(code("Kd_JK"), "LK");
    EXPECT_EQ(jk->Text(), "Laki-laki");
}

TEST_F(LookupBoxWindow, QuickLettersSearchTogetherAPauseStartsAgain)
{
    showWindow();
    focus(agama);
    type(agama, "K");
    EXPECT_EQ(code("Kd_Agama"), "02");  // Kristen Protestan comes first
    type(agama, "a", 1999);
    EXPECT_EQ(code("Kd_Agama"), "03");
    EXPECT_EQ(agama->searchText(), "Ka");
    type(agama, "x", 100);  // no text begins "Kax": nothing changes
    EXPECT_EQ(agama->searchText(), "Ka");
    EXPECT_EQ(code("Kd_Agama"), "03");
    type(agama, "h", 2001);
    EXPECT_EQ(code("Kd_Agama"), "04");
    EXPECT_EQ(agama->searchText(), "h");
    QTest::keyClick(agama, Qt::Key_Backspace);
    EXPECT_EQ(agama->searchText(), "");
}

TEST_F(LookupBoxWindow, DropsDownAsManyRowsAsTheTableHoldsUpToSeven)
{
    showWindow();
    // Three statuses.
    dm().Tstatus.Last();
    dm().Tstatus.Delete();
    auto* status = addBox("DBLookupComboBox7", "Kd_Status", dm().DSstatus, "Kd_Status", "Status");
    agama->DropDown();  // six religions
    EXPECT_EQ(agama->popup().rowCount(), 6);
    agama->CloseUp(false);
    status->DropDown();
    EXPECT_EQ(status->popup().rowCount(), 3);
    EXPECT_EQ(status->popup().rowTexts(), (std::vector<std::string>{"CPNS", "PNS", "PPPK"}));
    status->CloseUp(false);
    gol->DropDown();  // seventeen grades
    EXPECT_EQ(gol->popup().rowCount(), 7);
    EXPECT_EQ(gol->popup().height(), gol->popup().heightForRows(7));
    EXPECT_EQ(gol->popup().width(), gol->width());
    const auto rows = gol->popup().rowTexts();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[gol->popup().highlightedRow()], "III/a");
    EXPECT_EQ(gol->popup().pos(), gol->mapToGlobal(QPoint(0, gol->height())));
}

TEST_F(LookupBoxWindow, NearTheScreenBottomTheListOpensAbove)
{
    showWindow();
    const QRect screen = window->screen()->geometry();
    window->move(window->x(), screen.bottom() - window->frameGeometry().height() + 1);
    QTest::qWait(0);
    const QPoint box = gol->mapToGlobal(QPoint(0, 0));
    ASSERT_GT(box.y() + gol->height() + gol->popup().heightForRows(7), screen.bottom());
    gol->DropDown();
    EXPECT_EQ(gol->popup().geometry().bottom() + 1, box.y());
}

TEST_F(LookupBoxWindow, EnterStoresTheHighlightedCodeEscapeLeavesTheField)
{
    showWindow();
    focus(gol);
    QTest::keyClick(gol, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(gol->ListVisible());
    QTest::keyClick(gol, Qt::Key_Down);
    QTest::keyClick(gol, Qt::Key_Down);
    EXPECT_EQ(code("Kd_Gol"), "3A");  // moving in the list writes nothing
    QTest::keyClick(gol, Qt::Key_Escape);
    EXPECT_FALSE(gol->ListVisible());
    EXPECT_EQ(code("Kd_Gol"), "3A");
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);

    QTest::keyClick(gol, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(gol, Qt::Key_Down);
    QTest::keyClick(gol, Qt::Key_Return);
    EXPECT_FALSE(gol->ListVisible());
    EXPECT_EQ(code("Kd_Gol"), "3B");
    EXPECT_EQ(gol->Text(), "III/b");
}

TEST_F(LookupBoxWindow, LeavingTheBoxClosesTheListWithoutStoring)
{
    showWindow();
    focus(gol);
    gol->DropDown();
    QTest::keyClick(gol, Qt::Key_End);
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_FALSE(gol->ListVisible());
    EXPECT_EQ(code("Kd_Gol"), "3A");
}

TEST_F(LookupBoxWindow, PressElsewhereClosesTheListWithoutStoring)
{
    showWindow();
    focus(gol);
    gol->DropDown();
    QTest::keyClick(gol, Qt::Key_Down);
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(2, 2));  // no focus taken there
    EXPECT_FALSE(gol->ListVisible());
    EXPECT_EQ(code("Kd_Gol"), "3A");
    EXPECT_EQ(QApplication::focusWidget(), gol);
}

TEST_F(LookupBoxWindow, PressOnTheBoxDragIntoTheListReleaseOnARow)
{
    showWindow();
    QTest::mousePress(gol, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(gol->ListVisible());
    TPopupDataList& list = gol->popup();
    const int row = list.rowHeight();
    auto over = [&](int r) { return gol->mapFromGlobal(list.mapToGlobal(QPoint(10, 1 + r * row + row / 2))); };
    QTest::mouseMove(gol, over(0));
    QMouseEvent move(QEvent::MouseMove, over(5), gol->mapToGlobal(over(5)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(gol, &move);
    QTest::mouseRelease(gol, Qt::LeftButton, {}, over(5));
    EXPECT_FALSE(gol->ListVisible());
    EXPECT_EQ(code("Kd_Gol"), "3C");  // rows 2B to 3D, the key's row in the middle
    EXPECT_TRUE(errors().empty());
}

TEST_F(LookupBoxWindow, RecordLockedElsewhereShowsTheErrorAndWritesNothing)
{
    TDMarsipstaf other;
    other.Loaded();
    other.Tdatapeg.First();
    other.Tdatapeg.Edit();
    showWindow();
    focus(agama);
    QTest::keyClick(agama, Qt::Key_Down);
    EXPECT_EQ(errors().size(), 1u);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(code("Kd_Agama"), "03");
    EXPECT_EQ(agama->Text(), "Katolik");
    other.Tdatapeg.Cancel();
}

TEST_F(LookupBoxWindow, ReadOnlyBoxChoosesNothing)
{
    showWindow();
    agama->SetReadOnly(true);
    focus(agama);
    QTest::keyClick(agama, Qt::Key_Down);
    type(agama, "h");
    EXPECT_EQ(code("Kd_Agama"), "03");
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_FALSE(agama->CanModify());
}

TEST_F(LookupBoxWindow, NullValueKeyClearsTheCode)
{
    showWindow();
    agama->NullValueKey = QKeySequence(Qt::CTRL | Qt::Key_Delete);
    focus(agama);
    QTest::keyClick(agama, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    EXPECT_EQ(agama->Text(), "");
}

TEST_F(LookupBoxWindow, LookupModeUsesTheLookupFieldsOwnTable)
{
    auto* box = new TDBLookupComboBox(window.get());
    box->setObjectName(QStringLiteral("DBLookupComboBox9"));
    box->SetDataSource(&dm().DSdatapeg);
    box->SetDataField("Agama");
    layout->addWidget(box);
    showWindow();
    EXPECT_TRUE(box->LookupMode());
    EXPECT_EQ(box->Text(), "Katolik");
    EXPECT_EQ(box->KeyField(), "");
    EXPECT_EQ(box->ListSource(), nullptr);
    EXPECT_EQ(DATABASE_ERROR_TEXT(box->SetListSource(&dm().DSagama)), "Property already defined by lookup field");
    EXPECT_EQ(DATABASE_ERROR_TEXT(box->SetKeyField("Kd_Agama")), "Property already defined by lookup field");
    focus(box);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(code("Kd_Agama"), "04");
    EXPECT_EQ(box->Text(), "Hindu");
}

struct BindingCase {
    const char* name;
    const char* dataField;
    const char* keyField;
    const char* listField;
    bool circular;
    const char* message;
};

class LookupBoxBinding : public BoundWindow, public testing::WithParamInterface<BindingCase> {};

TEST_P(LookupBoxBinding, Fails)
{
    const BindingCase& c = GetParam();
    TDBLookupComboBox box(window.get());
    box.setObjectName(QStringLiteral("DBLookupComboBox2"));
    const std::string text = DATABASE_ERROR_TEXT({
        box.SetListField(c.listField);
        box.SetKeyField(c.keyField);
        box.SetListSource(c.circular ? &dm().DSdatapeg : &dm().DSagama);
        box.SetDataSource(&dm().DSdatapeg);
        box.SetDataField(c.dataField);
    });
    EXPECT_EQ(text, c.message) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Checks, LookupBoxBinding,
                         testing::Values(BindingCase{"data field", "Kd_Agamaa", "Kd_Agama", "Agama", false,
                                                     "DBLookupComboBox2: Field 'Kd_Agamaa' not found"},
                                         BindingCase{"key field", "Kd_Agama", "Kode", "Agama", false,
                                                     "DBLookupComboBox2: Field 'Kode' not found"},
                                         BindingCase{"list field", "Kd_Agama", "Kd_Agama", "Agama;Nama", false,
                                                     "Field 'Nama' not found"},
                                         BindingCase{"circular", "Kd_Agama", "NIP", "Nama_Pegawai", true,
                                                     "DBLookupComboBox2: Circular datalinks are not allowed"}));

TEST(LookupSearchModel, HoldsAtMost32CharactersAndKeepsACandidateThatFailed)
{
    std::int64_t now = 0;
    LookupSearch::setClock([&] { return now; });
    LookupSearch search;
    auto always = [](const std::string&) { return true; };
    for (int i = 0; i < 40; ++i)
        search.type("a", always);
    EXPECT_EQ(search.text(), std::string(32, 'a'));
    EXPECT_EQ(search.type("a", always), LookupSearch::Outcome::Ignored);
    now += 2001;
    EXPECT_EQ(search.type("b", [](const std::string&) -> bool { throw std::runtime_error("engine"); }),
              LookupSearch::Outcome::NotFound);
    EXPECT_EQ(search.text(), "b");
    now += 10;
    EXPECT_EQ(search.type("c", [](const std::string&) { return false; }), LookupSearch::Outcome::NotFound);
    EXPECT_EQ(search.text(), "b");
    LookupSearch::setClock(nullptr);
}

TEST(LookupSearchModel, ThePauseIsSharedByAllBoxes)
{
    std::int64_t now = 0;
    LookupSearch::setClock([&] { return now; });
    LookupSearch first, second;
    auto always = [](const std::string&) { return true; };
    first.type("a", always);
    now += 1500;
    second.type("x", always);
    now += 1500;  // 3000 ms after first's key, 1500 after anyone's
    first.type("b", always);
    EXPECT_EQ(first.text(), "ab");
    LookupSearch::setClock(nullptr);
}

}  // namespace
