#pragma once
// Runs an action as the program closes: inside a message loop's handler, after the quit
// (ui::Application::Quitting holds while it runs), as a SIGTERM's close leaves whatever
// sequence it broke off to end on the stack.

#include <functional>

#include "tests/support/code_sink.h"
#include "ui/application.h"
#include "ui/post.h"

inline void WhileClosing(const std::function<void()>& action) {
    ui::Application application;
    CodeSink loop;
    loop.onCode = [&](uint32_t) {
        ui::Application::Quit(0);
        action();
    };
    ui::Post(&loop, 0);
    application.RunMessageLoop();
}
