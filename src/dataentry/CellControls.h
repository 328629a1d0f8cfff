#pragma once
// Embedded cell controls of the table editor, kept headless: choice columns show their cells
// as drop-down lists and sub-table columns as buttons. The editor window implements
// TControlHost and makes controls that mirror these objects on screen; the column kinds keep
// every rule about them.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace torvex {

class TCellControl {
public:
    virtual ~TCellControl() = default;
    int Tag() const { return tag_; }  // the table row the control shows
    virtual void SetTag(int tag) { tag_ = tag; }
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible) { visible_ = visible; }

private:
    int tag_ = 0;
    bool visible_ = false;
};

class TComboBoxControl : public TCellControl {
public:
    const std::vector<std::string>& Items() const { return items_; }
    virtual void SetItems(const std::vector<std::string>& items) { items_ = items; }
    int ItemIndex() const { return itemIndex_; }
    virtual void SetItemIndex(int index) { itemIndex_ = index; }
    int DropDownCount() const { return dropDownCount_; }
    virtual void SetDropDownCount(int count) { dropDownCount_ = count; }

    // Raised by the view when the user picks an item (after SetItemIndex) and when the
    // control receives the focus.
    std::function<void(TComboBoxControl&)> OnChange;
    std::function<void(TComboBoxControl&)> OnEnter;

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    int dropDownCount_ = 8;
};

class TButtonControl : public TCellControl {
public:
    const std::string& Caption() const { return caption_; }
    virtual void SetCaption(const std::string& caption) { caption_ = caption; }

    // Raised by the view when the user clicks the button.
    std::function<void(TButtonControl&)> OnClick;

private:
    std::string caption_;
};

// The window on which embedded controls are placed.
class TControlHost {
public:
    virtual ~TControlHost() = default;
    virtual std::unique_ptr<TComboBoxControl> CreateComboBox() = 0;
    virtual std::unique_ptr<TButtonControl> CreateButton() = 0;
};

}  // namespace torvex
