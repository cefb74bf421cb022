#pragma once

#include <QIcon>

// The program's own icon (drawn for it, in every size the desktop asks for),
// for the main window, the document windows and the dialogs.
namespace ProgramIcon {

QIcon Icon();

} // namespace ProgramIcon
