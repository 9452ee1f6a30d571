#include "EditDocuments.h"

#include "AudioClipboard.h"
#include "StructuralEdits.h"
#include "TestDocument.h"

#include <stdexcept>

EditDocuments::EditDocuments() {
    StructuralEdits::Register();
    AudioClipboard::Free();
}

EditDocuments::~EditDocuments() {
    AudioClipboard::Free();
}

std::unique_ptr<Twavefile> EditDocuments::Open(const std::vector<int16_t>& samples,
                                               int32_t channels, int32_t rate) {
    const std::string path = Pieces.Folder.File("source" + std::to_string(Count++) + ".wav");
    WriteSampleFile(path, channels, rate, samples);
    ScopedWorker loader(opload, SampleFileLoadWorker);
    auto document = std::make_unique<Twavefile>();
    document->loadfile(path);
    if (!document->ready)
        throw std::runtime_error("cannot load " + path);
    return document;
}

std::vector<int16_t> DocumentSamples(Twavefile& document) {
    return TableSamples(*document.table);
}
