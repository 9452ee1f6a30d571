#pragma once

#include <string>

/// Opens the help file with the desktop's viewer for it, at `topic` when one is given. Raises
/// Exception "Unable to open help file <name>" when the file is missing, and adds that no program
/// could open it when no viewer takes it.
/// Main thread only.
void ShowHelpTopic(const std::string& helpFile, const std::string& topic);
