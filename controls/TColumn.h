#pragma once
#include "TAlignment.h"

#include <QColor>
#include <QFont>

#include <optional>
#include <string>
#include <vector>

class TDBGrid;
class TField;

// A column's title: caption, font, alignment and colour. A caption that was
// never set reads as the field's label (or the field name without a field).
class TColumnTitle {
public:
    std::optional<std::string> Caption;
    std::optional<QFont> Font;
    TAlignment Alignment = TAlignment::taLeftJustify;
    std::optional<QColor> Color;
};

enum class TColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };

// One column of a record grid, showing the field of FieldName. Values that
// were not set follow the field and the grid (see the getters).
class TColumn {
public:
    explicit TColumn(TDBGrid* grid = nullptr, std::string fieldName = {});

    std::string FieldName;
    bool Visible = true;
    TColumnTitle Title;
    std::vector<std::string> PickList;
    TColumnButtonStyle ButtonStyle = TColumnButtonStyle::cbsAuto;
    int DropDownRows = 7;
    bool Expanded = false;

    // The field of FieldName in the open dataset, looked up when first
    // needed; nullptr when there is none (the column then stays empty).
    TField* Field() const;
    // Forget the resolved field (the dataset opened, closed or changed).
    void ResetField()
    {
        resolved_ = false;
        field_ = nullptr;
    }

    // The set width, else the default from the grid's fonts; 64 outside a grid.
    int Width() const;
    void SetWidth(int width) { width_ = width; }
    bool HasWidth() const { return width_.has_value(); }

    // Set, or the grid's ReadOnly or the field's read-only mark.
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    std::string TitleCaption() const;
    TAlignment Alignment() const;

    TDBGrid* Grid() const { return grid_; }

private:
    TDBGrid* grid_;
    mutable TField* field_ = nullptr;
    mutable bool resolved_ = false;
    std::optional<int> width_;
    bool readOnly_ = false;
};
