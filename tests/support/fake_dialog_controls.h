#pragma once
// The window's controls as plain records, for behaviour tests: every control id of the main window
// exists, shown and enabled, with empty text, until the behaviour changes it.

#include "window/dialog_controls.h"
#include "window/front_end.h"

#include <map>
#include <string>
#include <vector>

namespace quorlin::test {

class FakeDialogControls final : public DialogControls {
public:
    struct Control {
        std::string text;
        std::string toolTip;
        int toolTipSets = 0;
        int low = 0, high = 0, position = 0;
        bool checked = false, shown = true, enabled = true;
        int caret = 0;
        std::vector<std::string> items;
        int selection = -1;
    };

    FakeDialogControls();

    void setCaption(const std::string& text) override { caption_ = text; }
    std::string caption() const override { return caption_; }
    void setText(int id, const std::string& text) override;
    std::string text(int id) const override { return at(id).text; }
    void placeCaretAtEnd(int id) override { at(id).caret = static_cast<int>(at(id).text.size()); }
    void setTrackbarRange(int id, int low, int high) override;
    int trackbarLow(int id) const override { return at(id).low; }
    int trackbarHigh(int id) const override { return at(id).high; }
    void setTrackbarPosition(int id, int position) override;
    int trackbarPosition(int id) const override { return at(id).position; }
    void setChecked(int id, bool checked) override { at(id).checked = checked; }
    bool checked(int id) const override { return at(id).checked; }
    void setToolTip(int id, const std::string& text) override
    {
        at(id).toolTip = text;
        ++at(id).toolTipSets;
    }
    void show(int id, bool visible) override { at(id).shown = visible; }
    bool shown(int id) const override { return at(id).shown; }
    void enable(int id, bool enabled) override { at(id).enabled = enabled; }
    bool enabled(int id) const override { return at(id).enabled; }
    void focus(int id) override;
    bool focused(int id) const override { return focus_ == id; }
    void clearList(int id) override;
    void insertListItem(int id, int row, const std::string& text) override;
    int listCount(int id) const override { return static_cast<int>(at(id).items.size()); }
    std::string listItem(int id, int row) const override;
    void setListSelection(int id, int row) override { at(id).selection = row; }
    int listSelection(int id) const override { return at(id).selection; }

    // The control with id `id`; a test that names an id the window lacks fails.
    Control& at(int id);
    const Control& at(int id) const;
    // The id holding the keyboard focus, 0 for none.
    int focusedId() const { return focus_; }

private:
    std::map<int, Control> controls_;
    std::string caption_;
    int focus_ = 0;
};

// Answers every question at once and remembers what was asked.
class FakePrompts final : public WindowPrompts {
public:
    void message(const std::string& text) override { messages.push_back(text); }
    bool confirm(const std::string& text) override;
    std::string openFile(const std::string& initialName, const std::string& filterName) override;
    void showAbout(const AboutBox& box) override
    {
        aboutCaptions.emplace_back(box.caption);
        aboutLines.emplace_back(box.description);
    }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<bool> confirmAnswers;  // taken from the front; Cancel once none is left
    std::vector<std::string> fileDialogs;  // "initial name|filter name"
    std::string fileAnswer;
    std::vector<std::string> aboutCaptions;
    std::vector<std::string> aboutLines;  // the second line of each
};

// Records what the window did with the skin.
class FakeSkin final : public WindowSkin {
public:
    bool attach(const std::string& path) override
    {
        calls.push_back("attach " + path);
        return true;
    }
    void detach() override { calls.emplace_back("detach"); }
    std::vector<std::string> calls;
};

}  // namespace quorlin::test
