#pragma once

// Asks "Delete record?" with OK and Cancel; true unless the answer is Cancel.
bool confirmRecordDeletion();
