#pragma once
#include "TCustomMaskEdit.h"
#include "TFieldDataLink.h"

#include <string>

class TDataSource;
class TField;

// A masked edit bound to one field of a data source's current record. It
// shows the field's display text, and its edit text while focused and
// modifiable; the first change on a browsed record puts the dataset into
// edit state (auto-edit); the typed text reaches the field when the box is
// left or when the dataset asks its links to write back before a post.
//
// The edit window's own read-only state (isReadOnly()) always follows the
// link: writable only while the link is editing. ReadOnly()/SetReadOnly()
// are the link's property, which the user sees as a box that never edits.
// Errors (a missing field, a rejected text, a dataset that cannot edit) are
// raised out of the event handler for the application's error box.
class TDBEdit : public TCustomMaskEdit {
    Q_OBJECT

public:
    explicit TDBEdit(QWidget* parent = nullptr);

    TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource* source);  // does not take ownership
    const std::string& DataField() const { return link_.FieldName(); }
    // At run time: the length rule first, then the binding.
    void SetDataField(const std::string& name);
    bool ReadOnly() const { return link_.ReadOnly(); }
    void SetReadOnly(bool readOnly) { link_.SetReadOnly(readOnly); }
    TField* Field() const { return link_.Field(); }

    // The window finished loading its definition: applies the length rule.
    void Loaded();

    const TFieldDataLink& dataLink() const { return link_; }

protected:
    bool canModify() override;
    void reset() override;
    void change() override;
    void doEnter() override;
    void doExit() override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void dataChange();
    void editingChange();
    void updateData();
    void activeChange();
    void resetMaxLength();
    void takeFieldLength();
    void setFocused(bool focused);

    TFieldDataLink link_;
    bool focused_ = false;
    Qt::Alignment fieldAlignment_ = Qt::AlignLeft;
};
