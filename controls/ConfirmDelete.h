#pragma once

class QWidget;

// The grid's delete question in the confirmation box, "Delete record?" or,
// for several selected records, "Delete all selected records?", with OK
// and Cancel. True unless the answer is Cancel (closing the box is Cancel).
bool ConfirmDelete(QWidget* parent, bool several);
