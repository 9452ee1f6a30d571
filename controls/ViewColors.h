#pragma once

#include "TColor.h"

/// Colours shared by every waveform view. The document window copies the settings into them when
/// it creates a view and the settings dialog changes them; a view reads them on its next repaint.
/// Main thread only.
extern TColor ViewBackColor;  ///< taken from the settings; no drawing reads it
extern TColor ViewScaleColor; ///< fill of the ruler strip and background of its labels
extern TColor ViewWaveColor;  ///< pen of the waveform and of the sample markers
