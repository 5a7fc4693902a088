#pragma once

// What a dataset tells its data sources and, through them, their links.
enum class TDataEvent {
    deFieldChange,      // one field's value was set (info: the field)
    deRecordChange,     // edit began: the whole record may differ
    deDataSetChange,    // the window was rebuilt
    deDataSetScroll,    // the window scrolled (info: rows scrolled)
    deLayoutChange,     // fields were added or changed
    deUpdateRecord,     // write-back request
    deUpdateState,      // the state changed
    deCheckBrowseMode,  // an operation may leave edit or insert
    deFocusControl,     // a field asks for the input focus (info: TField**, cleared once taken)
};
