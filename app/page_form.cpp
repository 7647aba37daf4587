#include "app/page_form.h"

PageForm::PageForm(std::string name) : name_(std::move(name)) {
    AddHandler(ui::EventId::Create, [this](ui::Object&, ui::EventData&) {
        CreateFormControls();
        SetName(name_);
        Show();
        return false;
    });
    AddHandler(ui::EventId::Destroy, [this](ui::Object&, ui::EventData&) {
        ForgetFormControls();
        return false;
    });
}

PageForm::~PageForm() {
    Destroy();
}

bool PageForm::Create(ui::Form* parent) {
    return ui::Form::Create("ID_" + name_, parent);
}
