#pragma once
// An editor on a stand-in main window: the program state is the test's, the main window a
// CodeSink that only keeps the codes it is sent.

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "state/fdx.h"
#include "state/user_job.h"
#include "tests/support/code_sink.h"
#include "ui/form.h"
#include "ui/post.h"

// The program state as the start-up makes it, owned by the stand-in main window.
inline void PrepareState(FDX& fdx, ui::Form& main) {
    fdx.Owner = &main;
    fdx.EditLines.assign(kMaxJobLines, JobStr{});
    fdx.RunLines.assign(kMaxJobLines, JobStr{});
    for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = 80 * k;
    fdx.BuildLevelTable();
}

// The numbered messages and questions an editor shows, kept in order; a question is answered
// from `answers` (true: yes) while it lasts, then yes.
struct ShownMessages {
    void Attach(FDX& fdx) {
        fdx.MessageBox = [this](const FDX&, const MessageRequest& request) {
            texts.push_back(request.text);
            if (answers.empty()) return true;
            const bool yes = answers.front();
            answers.pop_front();
            return yes;
        };
    }
    std::vector<std::string> texts;
    std::deque<bool> answers;
};
