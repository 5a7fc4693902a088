#pragma once
#include "HistoryRow.h"
#include "RecordWindowLayout.h"
#include "TForm.h"

#include <QStringList>

#include <map>
#include <memory>
#include <string>

class HistoryLink;
class QPushButton;
class QTableWidget;
class TDMarsipstaf;
class TTable;

// "Riwayat Perubahan": the change history of the record window's current
// record, newest entry first, one row per changed field. Read-only; it
// follows the record as the clerk moves and reads nothing while hidden.
// Code fields show the code with its text from the code table.
class HistoryWindow : public TForm {
    Q_OBJECT

public:
    // Bound to the record window's table and data source; the labels and
    // lookups of layout name the fields.
    HistoryWindow(const QString& name, const RecordWindowLayout& layout, TDMarsipstaf& module);
    ~HistoryWindow() override;

    // Reads the current record's history again into the grid.
    void Refresh();
    // The texts of a grid row, in column order (for tests and the clerk alike).
    QStringList rowTexts(int row) const;

    QTableWidget* Grid;
    QPushButton* Button1;  // "Tutup"

    static const QStringList columnTitles;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct FieldInfo {
        QString label;
        std::string listSource, keyField, listField;
    };
    QString valueText(const std::string& field, const FieldValue& value);
    void fill(const std::vector<HistoryRow>& rows);
    void noteChange();

    TDMarsipstaf& module_;
    TTable* table_;
    std::string keyField_;
    std::map<std::string, FieldInfo> fields_;
    std::map<std::string, QString> codeTexts_;  // "field\ncode" -> shown text, for one refresh
    std::unique_ptr<HistoryLink> link_;
    std::string shownKey_;
};
