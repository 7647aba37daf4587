#pragma once
// A window that only records the codes posted to it (and hands each to onCode, when set): it
// stands in for a window the code under test posts to.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/form.h"

class CodeSink : public ui::Form {
  public:
    CodeSink() {
        static const ui::FormResource resource{"ID_code_sink",      100,     60, "8.MS Sans Serif",
                                               ui::style::kCaption, nullptr, {}};
        ui::RegisterFormResource(resource);
        AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            codes.push_back(e.code);
            if (onCode) onCode(e.code);
            return false;
        });
        Create("ID_code_sink");
    }
    ~CodeSink() override { Destroy(); }
    int Count(uint32_t code) const { return int(std::count(codes.begin(), codes.end(), code)); }
    std::vector<uint32_t> codes;
    std::function<void(uint32_t)> onCode;
};
