#pragma once
// The system clipboard: the print form puts a report's text or a page's picture there.

#include <string>

namespace ui {

class Picture;

void SetClipboardText(const std::string& text);
void SetClipboardPicture(const Picture& picture);
// What the clipboard holds now: its text, and the size of its picture (0 x 0 without one).
std::string ClipboardText();
struct ClipboardSize {
    int width = 0, height = 0;
};
ClipboardSize ClipboardPictureSize();

}  // namespace ui
