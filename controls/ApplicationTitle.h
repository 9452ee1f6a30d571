#pragma once

/// The program's title: the main window's caption and the caption of every error display.
inline constexpr const char* ApplicationTitle = "Sondrix Audio Editor";
