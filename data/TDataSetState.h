#pragma once

// The state of a dataset. Callers only ever see inactive, browse, edit and
// insert: the other three are entered inside one operation, with
// notifications suppressed, and left before it returns.
enum class TDataSetState {
    dsInactive,    // closed; only opening is allowed
    dsBrowse,      // open on the current record (or none); nothing pending
    dsEdit,        // the current record is being changed under a write lock
    dsInsert,      // a new record, not yet stored, is being filled in
    dsSetKey,      // the search-key buffer is being filled
    dsCalcFields,  // lookup values of a fetched record are being computed
    dsFilter,      // a temporary record holds search values
};
