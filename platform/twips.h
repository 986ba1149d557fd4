// SPDX-License-Identifier: Apache-2.0
#pragma once

namespace platform {

// Window layouts are designed in twips: 1440 to the inch, 15 to a pixel at 96 dots per inch.
// Qt scales the pixels for high-dpi screens; the game's own scale comes on top
// (platform/scale.h).
constexpr int TwipsPerPixel = 15;

} // namespace platform
