#pragma once
#include "TForm.h"

#include <cstdint>
#include <functional>

class PictureBox;
class QAction;
class QMenu;
class QMenuBar;

// Unit Futama. The menu window: a background picture and a menu bar whose
// commands show the other windows, open the reports or return to the login.
class TForm1 : public TForm {
    Q_OBJECT
public:
    TForm1();

    QMenuBar* MainMenu1;
    QMenu* Data1;
    QAction* Pegawai1;
    QAction* Mutasi1;
    QAction* N1;
    QAction* Keluar1;
    QMenu* Lihat1;
    QAction* DataPegawai1;
    QAction* Datamutasi1;
    QMenu* Cari1;
    QAction* DataPegawai2;
    QAction* DataMutasi2;
    QMenu* Laporan1;
    QAction* DaftarurutKepangkatan1;
    QAction* Bezetting1;
    QAction* Mutasi2;
    QMenu* Sekilas1;
    QAction* PenggunaanProgram1;
    QAction* RADARKelasISindara1;
    PictureBox* Image1;

    void Pegawai1Click();
    void Mutasi1Click();
    void Keluar1Click();
    void DataPegawai1Click();
    void Datamutasi1Click();
    void DataPegawai2Click();
    void DataMutasi2Click();
    void DaftarurutKepangkatan1Click();
    void Bezetting1Click();
    void Mutasi2Click();
    void PenggunaanProgram1Click();
    void RADARKelasISindara1Click();

    // The short-cut value an item was given (0: none).
    static std::uint16_t shortCutOf(const QAction* item);
    // An item's caption, without its short-cut text.
    static QString captionOf(const QAction* item);

protected:
    // The frame's close box leaves as "Keluar" answered Yes does: the menu
    // window hides and the login window shows, so a window always remains.
    void closeEvent(QCloseEvent* event) override;

private:
    QMenu* addMenu(const char* name, const char* caption);
    QAction* addItem(QMenu* menu, const char* name, const char* caption, std::uint16_t shortCut,
                     void (TForm1::*handler)());
    QAction* addItem(QMenu* menu, const char* name, const char* caption, std::uint16_t shortCut,
                     std::function<void()> handler);
    // The "Laporan" items are made from the report registry; the named ones
    // are found by their object names.
    QAction* reportItem(const char* name) const;
    // OpenPreview on Report1 of the report window of that name.
    void openReport(const char* name);
    void loadPicture();
};

// Created at start-up, hidden; shown by a correct password.
extern TForm1* Form1;
