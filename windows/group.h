#pragma once
// The group window `group` (tab page "Группа"): every range slot of the group as a strip of
// its levels (group_view.h), with each slot's cursor and level. A click on a strip picks that
// range for the range window and tunes the receiver to the frequency under the mouse; the
// horizontal scroll bar scrolls the current range as the range window's does, and the
// up-down moves every range at once by a grid line.
//
// The main window creates it at start-up (window_host.h), sends it the codes of the message
// bus and lends it the shared picture while tab page 3 is up. It keeps no levels of its own.

#include <array>
#include <cstdint>
#include <memory>

#include "state/fdx.h"
#include "ui/controls.h"
#include "windows/group_form.h"
#include "windows/group_view.h"
#include "windows/page_window.h"
#include "windows/window_host.h"

class group : public PageWindow {
  public:
    group();
    ~group() override;

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(GROUP_CONTROLS)

    // The posted codes the window serves; others are ignored.
    void OnUserEvent(uint32_t code);
    // The window serves no job objects: the line is answered as refused, so the job goes on.
    void ExecuteCommand();

    void DrawRowLabels();
    // Draws the strips; `reset`: every strip, each taking its slot's cursor again; otherwise
    // only the strips whose slot's cursor moved. Then shows them.
    void DrawStrips(bool reset);
    void ShowOnMainPicture();
    void UpdateScroll();

    // The operator's hand, in the picture's pixels (what the picture's events call).
    void MouseMove(int x, int y);
    void MouseDown(int x, int y);
    void MouseUp(int x, int y);
    void MouseLeave();
    void DoubleClick();
    void ScrollStrips(int position);  // vs: the offset in pixels
    void ScrollScale(int position);   // hs
    void MoveGroup(int delta);        // ftup

    GroupView& View() { return *view_; }
    int HoveredStrip() const { return hovered_; }
    int Offset() const { return offset_; }
    // The picture's place on the form, which is also its place on the shared picture.
    ui::Rect PictureRect() const { return picture_; }

  private:
    void OnCreate();
    void WireControls();
    bool OwnsSharedPicture() const;
    void CopyToShared();
    void DrawPressCursor(int x);
    Bank* SlotOf(int strip);

    std::unique_ptr<GroupView> view_;
    ui::Rect picture_;
    // The cursor frequency each strip was last drawn with; -1 none.
    std::array<int64_t, kGroupStrips> shownCursor_{};
    int measuredStrip_ = -1;  // the strip whose range was measured at the last refresh
    int hovered_ = -1;
    bool pressed_ = false;
    int offset_ = 0;  // pixels of the picture above the part in view
};
