#pragma once

// Resource identifiers, shared by the resource script and the program.
#define IDI_TALIVEN 1 // the application icon: the first icon group
#define IDB_EMBLEM 2  // the emblem picture shown top right
