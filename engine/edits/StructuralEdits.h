#pragma once

/// The workers of the five structural edits (insert silence, delete, cut, copy, paste), which
/// change a document's layout by copying piece records and never rewrite the audio they keep.
/// The requests and workers themselves are members of `Twavefile`.
class StructuralEdits {
public:
    /// Enters the workers of codes 5 to 9 in the worker table. Called once at program start, and
    /// by the tests that run these operations.
    static void Register();
};
