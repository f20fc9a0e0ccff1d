// Key events of the X server in the form the frame takes them: a VstKeyCode
// with the character, the virtual key and the modifier bits.
#pragma once

#include "host/VstAbi.h"

// `keysym` is the key's symbol after the event's shift state was applied,
// `state` the event's modifier mask.
VstKeyCode vstKeyCodeOf(unsigned long keysym, unsigned int state);
