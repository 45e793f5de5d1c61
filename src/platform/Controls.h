// The controls of a dialog, addressed by the dialog's window and the control's id, and the
// message boxes of input checks. Combo boxes and list boxes take the same item operations.
#pragma once

#include <string>

#include "platform/Geometry.h"

namespace tc {

class Controls {
public:
    virtual ~Controls() = default;

    virtual std::string Text(NativeHandle dialog, int id) = 0;
    // Sets the text of a control; an edit box takes it whole, however long.
    virtual void SetText(NativeHandle dialog, int id, const std::string& text) = 0;

    virtual void AddItem(NativeHandle dialog, int id, const std::string& text) = 0;
    virtual void InsertItem(NativeHandle dialog, int id, int index, const std::string& text) = 0;
    virtual void DeleteItem(NativeHandle dialog, int id, int index) = 0;
    virtual std::string ItemText(NativeHandle dialog, int id, int index) = 0;
    // The selected item, -1 when none.
    virtual int Selection(NativeHandle dialog, int id) = 0;
    virtual void Select(NativeHandle dialog, int id, int index) = 0;

    virtual bool IsChecked(NativeHandle dialog, int id) = 0;
    virtual void SetChecked(NativeHandle dialog, int id, bool checked) = 0;

    virtual void SetSliderRange(NativeHandle dialog, int id, int minimum, int maximum) = 0;
    virtual int SliderPosition(NativeHandle dialog, int id) = 0;
    virtual void SetSliderPosition(NativeHandle dialog, int id, int position) = 0;

    virtual void Enable(NativeHandle dialog, int id, bool enable) = 0;
    virtual void Focus(NativeHandle dialog, int id) = 0;

    // A modal message box with an OK button, owned by owner.
    virtual void ShowMessage(NativeHandle owner, const std::string& text) = 0;
};

}  // namespace tc
