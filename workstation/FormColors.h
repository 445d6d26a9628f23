#pragma once
// Every form and frame of the program paints its background in this colour
// (blue-green-red order, as the class library's colours are).
#include "vcl/Graphics.h"

constexpr TColor clFormBackground = TColor(0x6F8A91);
