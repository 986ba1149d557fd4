// SPDX-License-Identifier: Apache-2.0
// Compiled with the platform layer's include folder only, as every platform file is: the first
// include compiles, the second reaches up into the game and must not.
#include "platform/form.h"

#include "game/form1.h"
