#pragma once
// The main window's controls as its behaviour sees them: addressed by control id, all
// text in UTF-8. A front end maps each id to its toolkit's control; the tests keep a
// plain record instead. Every call is made on the UI thread.

#include <string>

namespace quorlin {

class DialogControls {
public:
    virtual ~DialogControls() = default;

    // The window's own caption.
    virtual void setCaption(const std::string& text) = 0;
    virtual std::string caption() const = 0;

    // Static texts, buttons, radios and edits.
    virtual void setText(int id, const std::string& text) = 0;
    virtual std::string text(int id) const = 0;
    // Edits: the caret after the last character.
    virtual void placeCaretAtEnd(int id) = 0;

    // Trackbars. The position is where the thumb stands, also while it is dragged.
    virtual void setTrackbarRange(int id, int low, int high) = 0;
    virtual int trackbarLow(int id) const = 0;
    virtual int trackbarHigh(int id) const = 0;
    virtual void setTrackbarPosition(int id, int position) = 0;
    virtual int trackbarPosition(int id) const = 0;

    // Radios.
    virtual void setChecked(int id, bool checked) = 0;
    virtual bool checked(int id) const = 0;

    // The text shown while the pointer rests on the control; empty for none.
    virtual void setToolTip(int id, const std::string& text) = 0;

    virtual void show(int id, bool visible) = 0;
    virtual bool shown(int id) const = 0;
    virtual void enable(int id, bool enabled) = 0;
    virtual bool enabled(int id) const = 0;
    virtual void focus(int id) = 0;
    virtual bool focused(int id) const = 0;

    // Drop-down lists. None of these is a choice of the user's: they notify no handler.
    virtual void clearList(int id) = 0;
    virtual void insertListItem(int id, int row, const std::string& text) = 0;
    virtual int listCount(int id) const = 0;
    virtual std::string listItem(int id, int row) const = 0;
    // -1 selects nothing.
    virtual void setListSelection(int id, int row) = 0;
    virtual int listSelection(int id) const = 0;

    // A number in decimal, as a number edit shows it.
    void setNumber(int id, int value) { setText(id, std::to_string(value)); }
};

// The keys the window's key step looks at; every other key is Other.
enum class KeyCode { Other, Enter, A, C, P, F };

}  // namespace quorlin
