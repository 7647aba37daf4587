#pragma once
// The group window's form resource (group_form.cpp).

// Registers "ID_group"; called before the window is made.
void RegisterGroupForm();
