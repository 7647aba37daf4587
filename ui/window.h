#pragma once
// A window: a form or a control. It owns its on-screen widget; the widget can be gone
// (destroyed, or never created) while the object lives on.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/event.h"

class QWidget;

namespace ui {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// Colours are 0xRRGGBB.
using Color = uint32_t;

class Window : public Object {
  public:
    ~Window() override;

    bool HasWindow() const;
    void Show();
    void Hide();
    bool IsVisible() const;
    void SetEnabled(bool enabled);
    bool IsEnabled() const;
    void SetText(const std::string& text);  // caption of a form, text of a control
    std::string Text() const;
    void SetToolTip(const std::string& text);
    std::string ToolTip() const;
    void SetName(const std::string& name) { name_ = name; }
    const std::string& Name() const { return name_; }
    // Position relative to the parent, in pixels.
    void Move(const Rect& rect);
    Rect Geometry() const;
    void SetTextColor(Color color);
    void SetBackColor(Color color);
    void SetFocus();
    // A top-level window that keeps the operator from the program's other windows while it
    // is shown; set before it is shown.
    void SetModal(bool modal);
    // A font by name as the forms give it ("12.MS Sans Serif": points, then the family).
    void SetFont(const std::string& font, bool bold = false);
    // The icon of a top-level window: pixels 0xRRGGBB row by row.
    void SetIcon(int width, int height, const std::vector<Color>& pixels);
    void Repaint();

    // The widget, for the layer's own use.
    QWidget* widget() const;

  protected:
    Window();
    // Takes the widget; it is deleted with this object unless its Qt parent deletes it first.
    void Attach(QWidget* widget);
    // Deletes the widget now (the object stays).
    void DestroyWidget();

  private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::string name_;
};

}  // namespace ui
