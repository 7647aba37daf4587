#pragma once
// A window that only records the codes posted to it (and hands each to onCode, when set): it
// stands in for a window the code under test posts to.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/form.h"
#include "ui/reply_event.h"

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
    // The codes that arrived since the last call, once what is posted has arrived, a code
    // posted on the way to them (an answer to one of them) included.
    std::vector<uint32_t> Take() {
        for (int pass = 0; pass < 3; ++pass) ui::ServePending();
        std::vector<uint32_t> taken;
        taken.swap(codes);
        return taken;
    }
    std::vector<uint32_t> codes;
    std::function<void(uint32_t)> onCode;
};

inline int Count(const std::vector<uint32_t>& codes, uint32_t code) {
    return int(std::count(codes.begin(), codes.end(), code));
}
