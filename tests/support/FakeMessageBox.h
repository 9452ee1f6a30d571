#pragma once

#include "IMessageBox.h"

#include <cstdint>
#include <string>
#include <vector>

/// A message box for tests: records every box and answers with `Answer`.
class FakeMessageBox : public IMessageBox {
public:
    struct Shown {
        std::string Text;
        std::string Caption;
        uint32_t Style;
        bool OnMainThread;
    };

    int32_t Show(const std::string& text, const std::string& caption, uint32_t style) override;

    std::vector<Shown> Boxes;
    int32_t Answer = IDOK;
};
