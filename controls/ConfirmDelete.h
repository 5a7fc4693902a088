#pragma once

class QWidget;

// The delete question of the grid and the navigator: "Delete record?" or,
// for several selected grid records, "Delete all selected records?", in the
// confirmation box with OK and Cancel. True unless the answer is Cancel
// (closing the box is Cancel).
bool ConfirmDelete(QWidget* parent, bool several);
