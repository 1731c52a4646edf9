// The user's state folder, where what outlives a run but is no setting is kept
// (recovery journals, learned Hanja choices): $XDG_STATE_HOME when it holds an
// absolute path, else $HOME/.local/state.
#pragma once

#include <QString>

// The folder's path, ending in a separator; not created.
QString userStateFolder();
