#include "windows/wait.h"

namespace {
constexpr ui::FormResource kWait{"ID_Wait",
                                 160,
                                 16,
                                 "12.System",
                                 ui::style::kCaption | ui::style::kSizingFrame,
                                 "Подождите, пожалуйста !",
                                 {}};
}  // namespace

Wait::Wait() {
    ui::RegisterFormResource(kWait);
    AddHandler(ui::EventId::Create, [this](ui::Object&, ui::EventData&) {
        CenterOnParent();
        SetName("Wait");
        Show();
        return false;
    });
    // The operator closing it takes the window away; the object stays.
    AddHandler(ui::EventId::Close, [this](ui::Object&, ui::EventData& e) {
        e.result = 1;
        Hide();
        DestroyLater();
        return true;
    });
}

Wait::~Wait() {
    Destroy();
}

bool Wait::Create(ui::Form* parent) {
    if (HasWindow()) {
        Show();
        return true;
    }
    return ui::Form::Create("ID_Wait", parent);
}
