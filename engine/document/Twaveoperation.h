#pragma once

#include <cstdint>

/// The code of a document operation: it selects the worker that `Twavefile::startoperation` runs.
/// Undo and redo are not operations.
enum Twaveoperation : int32_t {
    opnone = 0,     ///< no operation requested yet
    opload = 2,     ///< decode a file into the document
    opsavemp3 = 3,  ///< write the document or a range as MP3
    opsavewav = 4,  ///< write the document or a range as WAV
    opcut = 5,      ///< copy a range to the clipboard, then delete it
    opcopy = 6,     ///< copy a range to the clipboard
    oppaste = 7,    ///< insert the clipboard at a frame
    opdelete = 8,   ///< delete a range
    opsilence = 9,  ///< insert silence at a frame
    opgain = 10,    ///< normalise or amplify
    opfadein = 11,  ///< fade a range in
    opfadeout = 12, ///< fade a range out
    opreverse = 13, ///< reverse the whole document
    opinvert = 14,  ///< invert the whole document
};
