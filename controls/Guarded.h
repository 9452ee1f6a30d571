#pragma once

#include <exception>
#include <functional>
#include <string>

/// Shows an error the way the application shows every exception that reaches it: an error box
/// titled with the application's name and the message, with a full stop added when the message
/// ends in a character above "." (so "File not found: a.wav" shows as "File not found: a.wav.").
/// Main thread only.
void ShowException(const std::exception& error);

/// The text ShowException shows for a message.
std::string ExceptionText(const std::string& message);

/// Runs a window's event handler. Any exception it raises is shown with ShowException (an
/// exception of unknown type as "Unknown exception") and goes no further, so that none can escape
/// into Qt's event loop. Every handler that Qt calls and that may raise goes through here.
void Guarded(const std::function<void()>& handler) noexcept;
