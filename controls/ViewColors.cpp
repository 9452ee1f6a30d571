#include "ViewColors.h"

TColor ViewBackColor = 0x000000;
TColor ViewScaleColor = 0xDCDCDC;
TColor ViewWaveColor = 0xABF01C;
