#pragma once

// The main window's caption.
constexpr const char* kOrvelCaption = "ORVEL - радиоконтроль";

// Registers "ID_ORVEL" and the forms of its tab pages ("ID_rcv", "ID_cfreq", ...).
void RegisterOrvelResources();
