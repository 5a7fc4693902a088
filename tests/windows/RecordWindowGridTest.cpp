#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"
#include "TColumn.h"
#include "TDBGrid.h"

#include <functional>

namespace {

struct GridCase {
    const char* name;
    bool employee;
    QStringList columns;
    bool editing;  // cells edit in place
    bool rowSelect;
    QString cellFace;
    int cellPixels;
    bool bold;
};

std::ostream& operator<<(std::ostream& os, const GridCase& c)
{
    return os << c.name;
}

QStringList columnsOf(const TDBGrid& grid)
{
    QStringList names;
    for (int i = 0; i < grid.ColumnCount(); ++i)
        names << QString::fromStdString(grid.Column(i)->FieldName);
    return names;
}

const GridCase gridCases[] = {
    {"Employee", true,
     QStringLiteral("NIP Karpeg Nama_Pegawai Tempat_Lahir Tanggal_Lahir Jenis_Kelamin Agama Alamat Pangkat Golongan "
                    "Jabatan Pendidikan_Formal Pendidikan_Diklat Status")
         .split(QLatin1Char(' ')),
     false, true, QStringLiteral("Liberation Serif"), 13, true},
    {"Transfer", false,
     QStringLiteral("No_SKM NIP Nama_Pegawai Golongan Pangkat Jabatan Asal Pindah_Ke TMT").split(QLatin1Char(' ')),
     true, false, QStringLiteral("Liberation Sans"), 11, false},
};

}  // namespace

class RecordWindowGrid : public RecordWindowFixture, public ::testing::WithParamInterface<GridCase> {
protected:
    RecordWindow& form() { return GetParam().employee ? static_cast<RecordWindow&>(*form2) : *form3; }
    TTable& table() { return GetParam().employee ? peg() : mut(); }
};

TEST_P(RecordWindowGrid, ColumnsOptionsAndFaceAsDesigned)
{
    TDBGrid* grid = form().DBGrid1;
    QStringList expected = GetParam().columns;
    expected.replaceInStrings(QStringLiteral("Jenis_Kelamin"), QStringLiteral("Jenis Kelamin"))
        .replaceInStrings(QStringLiteral("Pendidikan_Formal"), QStringLiteral("Pendidikan Formal"));
    EXPECT_EQ(columnsOf(*grid), expected);
    for (int i = 0; i < grid->ColumnCount(); ++i)
        EXPECT_NE(grid->Column(i)->Field(), nullptr) << grid->Column(i)->FieldName;
    EXPECT_EQ(grid->Has(TDBGridOption::dgEditing), GetParam().editing);
    EXPECT_EQ(grid->Has(TDBGridOption::dgRowSelect), GetParam().rowSelect);
    EXPECT_TRUE(grid->Has(TDBGridOption::dgTitles));
    EXPECT_TRUE(grid->Has(TDBGridOption::dgIndicator));
    EXPECT_EQ(grid->font().family(), GetParam().cellFace);
    EXPECT_EQ(grid->font().pixelSize(), GetParam().cellPixels);
    EXPECT_EQ(grid->font().bold(), GetParam().bold);
    EXPECT_EQ(grid->TitleFont().family(), GetParam().cellFace);
    EXPECT_EQ(grid->TitleFont().bold(), GetParam().bold);
    EXPECT_EQ(grid->DataSource(), GetParam().employee ? &dm().DSdatapeg : &dm().DSmutasi);
}

// With the entries locked, only the transfer window's grid edits in place.
TEST_P(RecordWindowGrid, TypingIntoTheGridEditsOnlyInTheTransferWindow)
{
    showAndActivate(form());
    click(form().Button2);  // Batal: entries locked in both windows
    form().DBGrid1->setFocus();
    ModalBoxResponder responder;  // no box may appear
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    EXPECT_EQ(table().State(), GetParam().editing ? TDataSetState::dsEdit : TDataSetState::dsBrowse);
    EXPECT_FALSE(form().entry(1)->isEnabled());
    table().Cancel();
}

INSTANTIATE_TEST_SUITE_P(Windows, RecordWindowGrid, ::testing::ValuesIn(gridCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordWindowFixture, EmployeeGridDeletesWithCtrlDeleteAfterItsOwnQuestion)
{
    showAndActivate(*form2);
    form2->DBGrid1->setFocus();
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    QTest::keyClick(form2->DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().text, QStringLiteral("Delete record?"));
    EXPECT_EQ(employeeCount(), 2);
}
