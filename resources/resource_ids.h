#pragma once

// Resource identifiers, shared by the resource script and the program.
#define IDI_TALIVEN 1 // the application icon: the first icon group
#define IDB_EMBLEM 2  // the emblem picture shown top right
#define IDA_TALIVEN 3 // the keyboard shortcuts

// Commands. A system menu command keeps its low four bits clear.
#define IDM_COPY 0x0101        // copy the readouts
#define IDM_KEEP_ON_TOP 0x0010 // the system menu's "Keep on top"
