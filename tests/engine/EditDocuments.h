#pragma once

#include "FakeUserInterface.h"
#include "PcmPieces.h"
#include "TestDocument.h"
#include "Twavefile.h"

#include <cstdint>
#include <memory>
#include <vector>

/// The setting of a structural-edit test: fake user interface, a private temporary folder, the
/// structural workers registered while it lives and an empty clipboard (emptied again at the end).
class EditDocuments {
public:
    EditDocuments();
    ~EditDocuments();

    /// A document loaded from a sample file of `samples`, its peak index the plain one.
    std::unique_ptr<Twavefile> Open(const std::vector<int16_t>& samples, int32_t channels,
                                    int32_t rate);

    SavedWorkers Workers;
    FakeUserInterface Ui;
    PcmPieces Pieces;

private:
    int Count = 0;
};

/// Every sample of a document's current table.
std::vector<int16_t> DocumentSamples(Twavefile& document);
