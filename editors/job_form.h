#pragma once
// The job window's form resource and button pictures (job_form.cpp).

#include <string>

#include "ui/picture_art.h"

// Registers "ID_job"; called before the window is made.
void RegisterJobForm();
// The picture of a picture button of the job window; empty for other controls.
ui::ArtPicture JobPicture(const std::string& controlName);
