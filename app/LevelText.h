#pragma once

#include <string>

/// A level in decibels as the windows show it: general number format with at most three
/// significant digits and no trailing zeros, then " dB" (−90 as "-90 dB", −6.0206 as
/// "-6.02 dB"). The decimal separator is always ".".
std::string LevelText(double decibels);
