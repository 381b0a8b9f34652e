// Resource numbers shared by Ombrisk.rc and the windows.
#pragma once

#define IDI_OMBRISK 1
// The image strips: strip * 100 + the images' size in pixels (16, 20, 24, 32).
#define IDB_ACTIONS 101
#define IDB_RELEASES 102
#define IDB_PLATFORMS 103
// The release images as icons, for the shortcuts to profiles: the icon of
// release image n is IDI_RELEASE_FIRST + n.
#define IDI_RELEASE_FIRST 201
