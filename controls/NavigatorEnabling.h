#pragma once
#include "TNavigateBtn.h"

// Which navigator buttons are enabled, from the navigator's own Enabled, the
// link's activity and the dataset's position and state.
struct NavigatorEnabling {
    bool enabled = true;  // the navigator itself
    bool active = false;  // the data source is not inactive
    bool bof = true;
    bool eof = true;
    bool canModify = false;  // the dataset can be modified
    bool editing = false;    // edit, insert or key state

    TNavButtonSet buttons() const
    {
        TNavButtonSet on;
        if (!enabled || !active)
            return on;
        on[nbFirst] = on[nbPrior] = !bof;
        on[nbNext] = on[nbLast] = !eof;
        on[nbDelete] = canModify && !(bof && eof);
        on[nbInsert] = on[nbRefresh] = canModify;
        on[nbEdit] = canModify && !editing;
        on[nbPost] = on[nbCancel] = canModify && editing;
        return on;
    }
};
