#include "RecordWindow.h"

#include "BoxFlags.h"
#include "FormControls.h"
#include "HandlerGuard.h"
#include "HistoryWindow.h"
#include "MessageBoxes.h"
#include "TDBEdit.h"
#include "TDBGrid.h"
#include "TDBLookupComboBox.h"
#include "TDBNavigator.h"
#include "TDMarsipstaf.h"
#include "TEdit.h"
#include "TGroupBox.h"
#include "TRadioGroup.h"
#include "TTable.h"
#include "WindowFonts.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include <cassert>

const QString RecordWindow::incompleteText = QStringLiteral("Maaf data yang anda masukkan belum lengkap !");
const QString RecordWindow::incompleteCaption = QStringLiteral("kesalahan");
const QString RecordWindow::deleteQuestion = QStringLiteral("Apakah Benar Data Ini Ingin Dihapus ?");

namespace {
constexpr int rowHeight = 21;
constexpr int rowStep = 32;
constexpr int labelLeft = 10;
constexpr int controlLeft = 112;
constexpr int buttonWidth = 75;
constexpr int buttonHeight = 25;
}  // namespace

const QKeySequence RecordWindow::historyKey(Qt::Key_F8);

// One button step wider than designed, for "Riwayat" beside "Tutup".
RecordWindow::RecordWindow(const QString& name, const QString& caption, const QRect& outer, RecordWindowLayout layout)
    : TForm(name, caption, outer.adjusted(0, 0, layout.buttonStep, 0), WindowFonts::sansSerif(11)),
      layout_(std::move(layout))
{
    // Created in tab order: left panel, right panel, ordering group, search
    // group, grid, navigator, then the buttons from left to right.
    buildPanel(Panel1, layout_.left);
    buildPanel(Panel2, layout_.right);
    buildOrderingGroup();
    buildSearchGroup();
    buildGrid();
    buildNavigator();
    buildButtons();
    setEntriesEnabled(layout_.entriesEnabledAtStart);
}

void RecordWindow::buildPanel(QFrame*& panel, const RecordPanel& plan)
{
    panel = new QFrame(this);
    panel->setObjectName(QString::fromLatin1(plan.name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setGeometry(plan.bounds);
    const int controlWidth = plan.bounds.width() - controlLeft - 12;
    int top = 12;
    for (const RecordRow& row : plan.rows) {
        auto* label = new QLabel(QString::fromUtf8(row.label), panel);
        label->setGeometry(labelLeft, top + 3, controlLeft - labelLeft - 4, rowHeight - 6);
        QWidget* control;
        if (row.isLookup()) {
            auto* box = new TDBLookupComboBox(panel);
            lookups_.push_back(box);
            control = box;
        } else {
            auto* edit = new TDBEdit(panel);
            edit->setMaxLength(row.limitToField ? row.field.size : 0);
            entries_.push_back(edit);
            control = edit;
        }
        control->setObjectName(QString::fromLatin1(row.control));
        control->setGeometry(controlLeft, top, controlWidth, rowHeight);
        label->setBuddy(control);
        top += rowStep;
    }
}

void RecordWindow::buildOrderingGroup()
{
    RadioGroup1 = FormControls::orderingGroup(this, layout_.ordering);
    RadioGroup1->OnClick = [this] { RadioGroup1Click(); };
}

void RecordWindow::buildSearchGroup()
{
    GroupBox1 = new TGroupBox(layout_.searchCaption, this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(layout_.searchGroup);
    Edit1 = new TEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(layout_.searchMaxLength);
    // Centred in the frame below the caption line.
    const int top = (layout_.searchGroup.height() - rowHeight) / 2 + 4;
    Edit1->setGeometry(12, top, layout_.searchGroup.width() - 24, rowHeight);
    Edit1->setEnabled(false);
    Edit1->OnChange = [this](TEdit&) { Edit1Change(); };
}

void RecordWindow::buildGrid()
{
    DBGrid1 = new TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(layout_.grid);
    if (layout_.gridOptions)
        DBGrid1->SetOptions(*layout_.gridOptions);
    for (const CatalogueField& column : layout_.gridColumns)
        DBGrid1->AddColumn(column.name);
    if (layout_.serifGrid) {
        DBGrid1->setFont(WindowFonts::timesNewRoman(13, true));
        FormControls::serifTitles(DBGrid1);
    }
}

void RecordWindow::buildNavigator()
{
    DBNavigator1 = new TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetVisibleButtons(TNavButtonSet().set(nbFirst).set(nbPrior).set(nbNext).set(nbLast));
    const QRect& r = layout_.navigator;
    DBNavigator1->SetBounds(r.x(), r.y(), r.width(), r.height());
}

void RecordWindow::buildButtons()
{
    Button1 = addButton(0, "Tambah", &RecordWindow::Button1Click);
    Button2 = addButton(1, "Batal", &RecordWindow::Button2Click);
    Button3 = addButton(2, "Simpan", &RecordWindow::Button3Click);
    Button4 = addButton(3, "Hapus", &RecordWindow::Button4Click);
    Button5 = addButton(4, "Rubah", &RecordWindow::Button5Click);
    Button6 = addButton(5, "Cari", &RecordWindow::Button6Click);
    Button7 = addButton(6, "Tutup", &RecordWindow::Button7Click);
    Button8 = addButton(7, "Riwayat", &RecordWindow::Button8Click);
    Button8->setToolTip(QStringLiteral("Riwayat Perubahan (%1)").arg(historyKey.toString(QKeySequence::NativeText)));
    auto* shortcut = new QShortcut(historyKey, this);
    connect(shortcut, &QShortcut::activated, this, guard([this] { Button8Click(); }));
    Button3->setEnabled(false);
}

QPushButton* RecordWindow::addButton(int index, const char* caption, void (RecordWindow::*handler)())
{
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    button->setObjectName(QStringLiteral("Button%1").arg(index + 1));
    button->setAutoDefault(false);
    button->setGeometry(layout_.buttonLeft + index * layout_.buttonStep, layout_.buttonRowTop, buttonWidth,
                        buttonHeight);
    connect(button, &QPushButton::clicked, this, guard([this, handler] { (this->*handler)(); }));
    return button;
}

void RecordWindow::bindTo(TDMarsipstaf& module)
{
    table_ = module.TableByName(layout_.table);
    TDataSource* source = module.DataSourceByName(layout_.dataSource);
    assert(table_ && source);
    module_ = &module;
    // The entries attach last, so they hear first when the table asks for
    // a field's control (a required field left blank) and take the focus
    // before the grid's column would.
    DBGrid1->SetDataSource(source);
    DBNavigator1->SetDataSource(source);
    auto nextEntry = entries_.begin();
    auto nextLookup = lookups_.begin();
    for (const RecordPanel* panel : {&layout_.left, &layout_.right}) {
        for (const RecordRow& row : panel->rows) {
            if (row.isLookup()) {
                TDBLookupComboBox* box = *nextLookup++;
                box->SetDataSource(source);
                box->SetDataField(row.field.name);
                box->SetListSource(module.DataSourceByName(row.listSource));
                box->SetKeyField(row.keyField.name);
                box->SetListField(row.listField.name);
            } else {
                TDBEdit* edit = *nextEntry++;
                edit->SetDataSource(source);
                edit->SetDataField(row.field.name);
                edit->Loaded();
            }
        }
    }
}

// Opened for the first time, the window starts where the clerk starts: the
// first entry, or "Tambah" while the entries are locked (left to Qt, the
// focus would land on the ordering group, one Tab before the grid, which
// keeps Tab for its cells).
void RecordWindow::showEvent(QShowEvent* event)
{
    TForm::showEvent(event);
    if (shownBefore_)
        return;
    shownBefore_ = true;
    QWidget* start = entry(1)->isEnabled() ? static_cast<QWidget*>(entry(1)) : Button1;
    start->setFocus(Qt::OtherFocusReason);
}

void RecordWindow::setEntriesEnabled(bool enabled)
{
    for (TDBEdit* edit : entries_)
        edit->setEnabled(enabled);
    for (TDBLookupComboBox* box : lookups_)
        box->setEnabled(enabled);
}

TDBEdit* RecordWindow::firstEmptyEntry() const
{
    // A masked entry reads back its literals with spaces in the empty
    // places, never an empty text: holding nothing else, it is empty too.
    for (TDBEdit* edit : entries_)
        if (edit->isBlank())
            return edit;
    return nullptr;
}

TDBEdit* RecordWindow::entryOf(const TField* field) const
{
    for (TDBEdit* edit : entries_)
        if (field && edit->Field() == field)
            return edit;
    return nullptr;
}

bool RecordWindow::tableEditing() const
{
    const TDataSetState state = table_->State();
    return state == TDataSetState::dsEdit || state == TDataSetState::dsInsert;
}

void RecordWindow::lockAfterStore()
{
    // Away from "Simpan" before it is disabled, or the focus would pass on
    // to "Hapus", one key away from deleting what was just stored.
    Button1->setFocus();
    setEntriesEnabled(false);
    Button3->setEnabled(false);
    searchEnabledBeforeStore_ = Edit1->isEnabled();
    if (locksSearchOnStore())
        Edit1->setEnabled(false);
}

void RecordWindow::storeRecord()
{
    // The record the user entered is stored here, once. No second, empty
    // record is begun after it: the entries would show that record's
    // blanks, and a record of blanks must never reach the table.
    try {
        table_->Post();
    } catch (...) {
        // The record is still pending with every value in place; the error
        // box follows where the handler was called.
        unlockForCorrection();
        throw;
    }
}

void RecordWindow::unlockForCorrection()
{
    setEntriesEnabled(true);
    Button3->setEnabled(true);
    Edit1->setEnabled(searchEnabledBeforeStore_);
    if (TDBEdit* edit = entryOf(offendingField()))
        edit->setFocus();
}

// A required field left blank, else the key: a refused store is a key that
// exists already, or a refusal that names no field.
TField* RecordWindow::offendingField() const
{
    for (const auto& field : table_->Fields())
        if (field->Required && field->IsBlank())
            return field.get();
    return table_->FindField(layout_.keyField.name);
}

void RecordWindow::Button1Click()
{
    setEntriesEnabled(true);
    entry(1)->setFocus();
    Button3->setEnabled(true);
    table_->Append();
}

void RecordWindow::Button2Click()
{
    setEntriesEnabled(false);
    Edit1->setEnabled(false);
    Button3->setEnabled(false);
    table_->Cancel();
    Edit1->Clear();
}

void RecordWindow::Button3Click()
{
    if (!tableEditing()) {
        // Nothing entered or changed: nothing to store and nothing to
        // complain about.
        lockAfterStore();
        return;
    }
    if (TDBEdit* empty = firstEmptyEntry()) {
        // Nothing is stored: the record stays pending with what was typed,
        // for the clerk to complete.
        ShowMessageBox(incompleteText, incompleteCaption, BoxFlags::Ok);
        empty->setFocus();
        return;
    }
    lockAfterStore();
    storeRecord();
    afterStore();
}

void RecordWindow::Button4Click()
{
    if (MessageDlg(deleteQuestion, MessageDialogType::Confirmation, {MessageButton::Yes, MessageButton::No}) == mrYes)
        table_->Delete();
}

void RecordWindow::Button5Click()
{
    Edit1->setEnabled(true);
    setEntriesEnabled(true);
    Edit1->setFocus();
    Button3->setEnabled(true);
}

void RecordWindow::Button6Click()
{
    showSearchWindow();
}

RecordWindow::~RecordWindow() = default;

void RecordWindow::Button8Click()
{
    if (!module_)
        return;
    if (!history_)
        history_ = std::make_unique<HistoryWindow>(objectName() + QStringLiteral("Riwayat"), layout_, *module_);
    history_->Show();
}

void RecordWindow::Button7Click()
{
    Close();
}

void RecordWindow::RadioGroup1Click()
{
    FormControls::applyOrdering(RadioGroup1, layout_.ordering, *table_);
}

void RecordWindow::Edit1Change()
{
    const QString text = Edit1->text();
    try {
        table_->FindNearest({text.toStdString()});
    } catch (...) {
        // No search ran (the pending record could not be stored first): the
        // box goes back to the text the table was last searched for.
        Edit1->restoreText(searchedText_);
        throw;
    }
    searchedText_ = text;
}
