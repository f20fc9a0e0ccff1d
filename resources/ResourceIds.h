// Numbers of the editor's bitmap resources, as Ulmar_v1.rc gives them.
#pragma once

// 64 knob images of 60 x 60, stacked top to bottom.
constexpr int IDB_KNOB = 102;
// The whole window, 304 x 245.
constexpr int IDB_BACK = 103;
// The load button, released above pressed, 73 x 25 each.
constexpr int IDB_LOAD = 106;
// The L and R switches, off above on, 18 x 20 each.
constexpr int IDB_LEFT = 107;
constexpr int IDB_RIGHT = 108;
