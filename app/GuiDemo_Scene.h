#pragma once

#include "core/Core_RefPtr.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_RadioButton.h"

#include <string>
#include <vector>

// The GUI demo's controls in a display, and the log of every event of every
// control:
//
//   "Controls" (main form)
//     buttons  "Start", "Disabled" (disabled), "Wide" (a caption wider than
//              its centre), "OpenModal" (opens the modal form)
//     radios   "Red", "Green", "Blue"
//     "Options" (child form)
//       radios "Small", "Medium", "Large"
//   "Modal" (while open): modal form with an "Ok" button that closes it
//
// Every control is named; a close button is logged as "<form>/Close".
class GuiDemoScene
{
public:
    static constexpr int Width = 1024;
    static constexpr int Height = 768;

    // Builds the controls in `hud`.
    explicit GuiDemoScene(GUI::HUD& hud);
    GuiDemoScene(const GuiDemoScene&) = delete;
    GuiDemoScene& operator=(const GuiDemoScene&) = delete;

    // The events since the last call, in order, as "<control>.<event>"
    // (mouse events add their button: "Start.MouseDown(0)").
    std::vector<std::string> TakeEvents();
    // The same joined with spaces, "-" for none: one frame's log.
    std::string TakeFrameLog();
    // The display's state after a frame: "main=<x>,<y> active=<form>
    // focus=<control> modal=<form> checked=<radio>,<radio>" ("-" for
    // none).
    std::string DescribeState() const;

    // Starts listening to every event of `control` and its descendants
    // (for controls a load brought in).
    void ListenToTree(GUI::Control& control);
    // Listens to every control of the display (after a load).
    void ListenToDisplay();

    GUI::HUD& GetDisplay() { return hud_; }
    static std::string LogName(const GUI::Control& control);

    // The modal form's button's handler.
    void OpenModal(GUI::Control* sender);
    void CloseModal(GUI::Control* sender);

private:
    void Listen(GUI::Control& control);
    void Add(GUI::Control* control, const std::string& event);
    void Click(GUI::Control* c) { Add(c, "Click"); }
    void DoubleClick(GUI::Control* c) { Add(c, "DoubleClick"); }
    void Event3(GUI::Control* c) { Add(c, "Event3"); }
    void ClickDone(GUI::Control* c) { Add(c, "ClickDone"); }
    void DoubleClickDone(GUI::Control* c) { Add(c, "DoubleClickDone"); }
    void MouseEnter(GUI::Control* c) { Add(c, "MouseEnter"); }
    void MouseHover(GUI::Control* c) { Add(c, "MouseHover"); }
    void MouseLeave(GUI::Control* c) { Add(c, "MouseLeave"); }
    void MouseMove(GUI::Control* c, const GUI::MouseEvent& e) { AddMouse(c, "MouseMove", e); }
    void MouseUp(GUI::Control* c, const GUI::MouseEvent& e) { AddMouse(c, "MouseUp", e); }
    void MouseDown(GUI::Control* c, const GUI::MouseEvent& e) { AddMouse(c, "MouseDown", e); }
    void Event12(GUI::Control* c, const GUI::MouseEvent& e) { AddMouse(c, "Event12", e); }
    void SizeChanged(GUI::Control* c) { Add(c, "SizeChanged"); }
    void CheckedChanged(GUI::Control* c) { Add(c, "CheckedChanged"); }
    void AddMouse(GUI::Control* control, const char* event, const GUI::MouseEvent& e);

    GUI::HUD& hud_;
    std::vector<std::string> events_;
};
