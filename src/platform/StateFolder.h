#pragma once

#include <QString>

// Where the program keeps what it must find again after a crash or at the
// next start: the user's state directory (XDG), apart from the settings.
//
// $XDG_STATE_HOME/Ferrolan, or ~/.local/state/Ferrolan when that is not set
// (Qt's own state location where this Qt has one).
QString StateFolder();
// The backups of unsaved documents, and the copies an in-place save keeps of
// a file until its new text is whole on the disk.
QString RecoveryFolder();
