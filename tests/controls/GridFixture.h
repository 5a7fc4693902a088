#pragma once
// A window holding a record grid configured as one of the program's grids,
// an ordinary edit to move the focus to, and the data module on a fresh
// database. Keys go to whatever has the focus (the grid or its editor).
#include "CatchingApplication.h"
#include "DataModuleFixture.h"
#include "ModalBoxResponder.h"
#include "TDBGrid.h"
#include "TInplaceEdit.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <memory>
#include <string>
#include <vector>

using O = TDBGridOption;

// The grids of the program's windows: options, read-only flag, table.
enum class GridKind { Employee, Transfer, ReadOnlyEmployee, SearchKeys, SearchDetails };

inline const std::vector<std::string>& employeeColumns()
{
    static const std::vector<std::string> names = {
        "NIP",    "Karpeg",  "Nama_Pegawai", "Tempat_Lahir", "Tanggal_Lahir",     "Jenis Kelamin",     "Agama",
        "Alamat", "Pangkat", "Golongan",     "Jabatan",      "Pendidikan Formal", "Pendidikan_Diklat", "Status"};
    return names;
}

inline const std::vector<std::string>& transferColumns()
{
    static const std::vector<std::string> names = {"No_SKM",  "NIP",  "Nama_Pegawai", "Golongan", "Pangkat",
                                                   "Jabatan", "Asal", "Pindah_Ke",    "TMT"};
    return names;
}

inline TDBGridOptions rowSelectOptions()
{
    return {O::dgTitles,    O::dgIndicator,     O::dgColumnResize, O::dgTabs,
            O::dgRowSelect, O::dgConfirmDelete, O::dgCancelOnExit};
}

class GridFixture : public DataModuleFixture {
protected:
    void SetUp() override
    {
        DataModuleFixture::SetUp();
        app.takeErrors();
        window = std::make_unique<QWidget>();
        layout = new QVBoxLayout(window.get());
        other = new QLineEdit(window.get());
        window->resize(900, 300);
    }

    void TearDown() override
    {
        window.reset();
        DataModuleFixture::TearDown();
    }

    // A grid as the program's window of that kind sets it up, placed above
    // the other edit, shown and focused.
    TDBGrid* makeGrid(GridKind kind)
    {
        auto* grid = new TDBGrid(window.get());
        switch (kind) {
        case GridKind::Employee:
            grid->SetOptions(rowSelectOptions());
            addColumns(grid, employeeColumns());
            grid->SetDataSource(&dm().DSdatapeg);
            break;
        case GridKind::Transfer:
            addColumns(grid, transferColumns());
            grid->SetDataSource(&dm().DSmutasi);
            break;
        case GridKind::ReadOnlyEmployee:
            grid->SetOptions({O::dgEditing, O::dgTitles, O::dgIndicator, O::dgColumnResize, O::dgTabs,
                              O::dgConfirmDelete, O::dgCancelOnExit});
            grid->SetReadOnly(true);
            addColumns(grid, employeeColumns());
            grid->SetDataSource(&dm().DSdatapeg);
            break;
        case GridKind::SearchKeys:
            grid->SetOptions(rowSelectOptions());
            grid->SetReadOnly(true);
            addColumns(grid, {"No_SKM", "NIP", "Nama_Pegawai"});
            grid->SetDataSource(&dm().DSmutasi);
            break;
        case GridKind::SearchDetails:
            grid->SetOptions({O::dgTitles, O::dgIndicator, O::dgColumnResize, O::dgTabs, O::dgAlwaysShowSelection,
                              O::dgConfirmDelete, O::dgCancelOnExit});
            grid->SetReadOnly(true);
            addColumns(grid, {"Golongan", "Pangkat", "Jabatan", "Asal", "Pindah_Ke", "TMT"});
            grid->SetDataSource(&dm().DSmutasi);
            break;
        }
        layout->insertWidget(layout->count(), grid);
        layout->addWidget(other);
        show();
        grid->setFocus(Qt::OtherFocusReason);
        return grid;
    }

    void show()
    {
        if (window->isVisible())
            return;
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    static void addColumns(TDBGrid* grid, const std::vector<std::string>& names)
    {
        for (const auto& name : names)
            grid->AddColumn(name);
    }

    // Keys and text to whatever has the focus.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(focused(), key, modifiers);
    }
    void type(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClicks(focused(), QString(c));
    }
    // The focus widget; after a modal box the window may still be waiting
    // to be active again.
    QWidget* focused()
    {
        if (!QApplication::focusWidget()) {
            window->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        }
        return QApplication::focusWidget();
    }
    void click(TDBGrid* grid, const QRect& cell)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }

    // Employees 0000000001 .. n, named "Pegawai 01" ...
    void addEmployees(int count)
    {
        for (int i = 1; i <= count; ++i) {
            char nip[16], name[32];
            std::snprintf(nip, sizeof nip, "%010d", i);
            std::snprintf(name, sizeof name, "Pegawai %02d", i);
            addEmployee(nip, name);
        }
        peg().First();
    }

    void addTransfers(int count)
    {
        for (int i = 1; i <= count; ++i) {
            char skm[32], nip[16];
            std::snprintf(skm, sizeof skm, "A-%04d-AB.01.01-2000", i);
            std::snprintf(nip, sizeof nip, "%011d", i);
            addTransfer(skm, nip, "Mutasi " + std::to_string(i));
        }
        mut().First();
    }

    static std::string nipOf(int number)
    {
        char nip[16];
        std::snprintf(nip, sizeof nip, "%010d", number);
        return nip;
    }

    std::string currentTransfer() { return mut().FieldByName("No_SKM")->AsString(); }
    std::vector<std::string> errors() { return app.takeErrors(); }

    CatchingApplication& app = CatchingApplication::instance();
    std::unique_ptr<QWidget> window;
    QVBoxLayout* layout = nullptr;
    QLineEdit* other = nullptr;
};
