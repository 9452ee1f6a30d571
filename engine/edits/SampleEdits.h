#pragma once

/// The sample-processing edits of a document: fade in and out over a range, normalise and amplify
/// (one gain operation), reverse and invert (the whole document). Their requests and workers are
/// members of `Twavefile` (defined in SampleEdits.cpp); this class registers the workers.
class SampleEdits {
public:
    /// Registers the workers of `opgain`, `opfadein`, `opfadeout`, `opreverse` and `opinvert`.
    /// Called once by the program's start (and by the tests that run these edits).
    static void Register();
};
