#pragma once
// An editor on a stand-in main window: the program state is the test's, the main window only
// keeps the codes it is sent.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "state/fdx.h"
#include "state/user_job.h"
#include "ui/form.h"
#include "ui/post.h"
#include "ui/reply_event.h"

inline constexpr ui::FormResource kEditorMainForm{
    "ID_editor_test_main", 300, 240, "8.MS Sans Serif", ui::style::kCaption, "", {}};

class MainStandIn : public ui::Form {
  public:
    MainStandIn() {
        ui::RegisterFormResource(kEditorMainForm);
        On(ui::EventId::User, [this](ui::EventData& e) {
            codes.push_back(e.code);
            if (onCode) onCode(e.code);
        });
        Create("ID_editor_test_main");
    }
    ~MainStandIn() override { Destroy(); }

    // The codes that arrived since the last call, a code posted on the way to them included.
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

// The program state as the start-up makes it, owned by the stand-in main window.
inline void PrepareState(FDX& fdx, ui::Form& main) {
    fdx.Owner = &main;
    fdx.EditLines.assign(kMaxJobLines, JobStr{});
    fdx.RunLines.assign(kMaxJobLines, JobStr{});
    for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = 80 * k;
    fdx.BuildLevelTable();
}
