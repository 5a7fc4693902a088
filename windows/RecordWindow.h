#pragma once
#include "RecordWindowLayout.h"
#include "TForm.h"

#include <QKeySequence>

#include <memory>
#include <vector>

class HistoryWindow;
class QFrame;
class QPushButton;
class TDBEdit;
class TDBGrid;
class TDBLookupComboBox;
class TDBNavigator;
class TDMarsipstaf;
class TEdit;
class TField;
class TGroupBox;
class TRadioGroup;
class TTable;

// The common body of the two record data windows: two panels of bound
// entries and lookup boxes, an ordering group, a search box, the button
// row, the grid and the navigator, with the handlers they share. The
// windows hold no data: every value shown belongs to the shared table, and
// their only state is the enabled state of the controls and the search
// text. Errors of the dataset and the controls are not caught here; they
// end the handler at the step that raised them (a refused store unlocks
// the entries on its way out).
class RecordWindow : public TForm {
    Q_OBJECT

public:
    // Tambah: unlock the entries and begin a new record after the last.
    void Button1Click();
    // Batal: lock everything, drop what is being entered, empty the search.
    void Button2Click();
    // Simpan: check that no entry is empty, lock and store. An incomplete
    // record is not stored: it stays pending, the focus in its first empty
    // entry. A refused store unlocks the entries again for the correction.
    // With nothing pending it only locks.
    void Button3Click();
    // Hapus: confirm, then delete the current record.
    void Button4Click();
    // Rubah: unlock the entries and the search box; editing begins with
    // the first change in an entry.
    void Button5Click();
    // Cari: show the search window of this table.
    void Button6Click();
    // Tutup: hide the window; a pending record stays pending.
    void Button7Click();
    // Riwayat: show the change history of the current record.
    void Button8Click();
    // The chosen ordering item sets the table's IndexFieldNames.
    void RadioGroup1Click();
    // Every change of the search text finds the nearest key.
    void Edit1Change();

    QFrame* Panel1;
    QFrame* Panel2;
    TRadioGroup* RadioGroup1;
    TGroupBox* GroupBox1;
    TEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6;
    QPushButton* Button7;
    QPushButton* Button8;  // "Riwayat", beside "Tutup"
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;

    // Entry n is DBEditn, lookup box n is DBLookupComboBoxn (from 1).
    TDBEdit* entry(int n) const { return entries_.at(std::size_t(n - 1)); }
    TDBLookupComboBox* lookupBox(int n) const { return lookups_.at(std::size_t(n - 1)); }
    int entryCount() const { return int(entries_.size()); }
    int lookupCount() const { return int(lookups_.size()); }
    // Null until the window is bound to the data module.
    TTable* table() const { return table_; }
    // "Riwayat Perubahan" of this window's table; made when first asked
    // for ("Riwayat"), not at start-up; null until then.
    HistoryWindow* historyWindow() const { return history_.get(); }
    static const QKeySequence historyKey;

    static const QString incompleteText;
    static const QString incompleteCaption;
    static const QString deleteQuestion;

protected:
    RecordWindow(const QString& name, const QString& caption, const QRect& outer, RecordWindowLayout layout);
    ~RecordWindow() override;

    // Binds every control to the data module's sources and the table.
    void bindTo(TDMarsipstaf& module);

    // Simpan, after a passed check has stored the record.
    virtual void afterStore() {}
    // Simpan, passed check: whether the search box is locked with the entries.
    virtual bool locksSearchOnStore() const { return false; }
    virtual void showSearchWindow() = 0;

    void showEvent(QShowEvent* event) override;

private:
    void buildPanel(QFrame*& panel, const RecordPanel& plan);
    void buildOrderingGroup();
    void buildSearchGroup();
    void buildButtons();
    void buildGrid();
    void buildNavigator();
    QPushButton* addButton(int index, const char* caption, void (RecordWindow::*handler)());
    void setEntriesEnabled(bool enabled);
    // The first entry holding nothing; null when every entry is filled.
    TDBEdit* firstEmptyEntry() const;
    TDBEdit* entryOf(const TField* field) const;
    // Locks the entries and "Simpan", the focus on "Tambah".
    void lockAfterStore();
    // Posts; on failure unlocks for the correction and lets the error go on.
    void storeRecord();
    void unlockForCorrection();
    TField* offendingField() const;
    bool tableEditing() const;

    RecordWindowLayout layout_;
    std::vector<TDBEdit*> entries_;
    std::vector<TDBLookupComboBox*> lookups_;
    TTable* table_ = nullptr;
    TDMarsipstaf* module_ = nullptr;
    std::unique_ptr<HistoryWindow> history_;
    bool shownBefore_ = false;
    QString searchedText_;                   // what the table was last searched for
    bool searchEnabledBeforeStore_ = false;  // given back by a refused store
};
