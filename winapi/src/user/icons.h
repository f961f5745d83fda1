// Icons and cursors: loaded once from the program's resources (or the system's few) and shared.
#ifndef PIKON_WINAPI_ICONS_H
#define PIKON_WINAPI_ICONS_H

#include <windows.h>

#include "resources.h"

namespace winapi {

// The program's icon resource of that name, loaded once; nullptr if there is none.
HICON ProgramIcon(const res::NameOrId& name);
// The picture behind an icon handle; nullptr for a stale handle or a cursor.
const res::IconImage* IconImageOf(HICON icon);

}  // namespace winapi

#endif
