#include "support/fake_dialog_controls.h"

#include "window/resource_ids.h"

#include <stdexcept>

namespace quorlin::test {

FakeDialogControls::FakeDialogControls()
{
    for (int id : kMainWindowControls)
        controls_[id] = Control{};
}

FakeDialogControls::Control& FakeDialogControls::at(int id)
{
    const auto it = controls_.find(id);
    if (it == controls_.end())
        throw std::out_of_range("no control " + std::to_string(id));
    return it->second;
}

const FakeDialogControls::Control& FakeDialogControls::at(int id) const
{
    const auto it = controls_.find(id);
    if (it == controls_.end())
        throw std::out_of_range("no control " + std::to_string(id));
    return it->second;
}

void FakeDialogControls::setText(int id, const std::string& text)
{
    Control& c = at(id);
    c.text = text;
    c.caret = 0;
}

void FakeDialogControls::setTrackbarRange(int id, int low, int high)
{
    Control& c = at(id);
    c.low = low;
    c.high = high;
}

void FakeDialogControls::setTrackbarPosition(int id, int position)
{
    Control& c = at(id);
    c.position = position < c.low ? c.low : (position > c.high && c.high > c.low ? c.high : position);
}

void FakeDialogControls::focus(int id)
{
    at(id);
    focus_ = id;
}

void FakeDialogControls::clearList(int id)
{
    Control& c = at(id);
    c.items.clear();
    c.selection = -1;
}

void FakeDialogControls::insertListItem(int id, int row, const std::string& text)
{
    Control& c = at(id);
    c.items.insert(c.items.begin() + row, text);
}

std::string FakeDialogControls::listItem(int id, int row) const
{
    const Control& c = at(id);
    return row >= 0 && row < static_cast<int>(c.items.size()) ? c.items[static_cast<std::size_t>(row)] : std::string();
}

bool FakePrompts::confirm(const std::string& text)
{
    questions.push_back(text);
    if (confirmAnswers.empty())
        return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.erase(confirmAnswers.begin());
    return answer;
}

std::string FakePrompts::openFile(const std::string& initialName, const std::string& filterName)
{
    fileDialogs.push_back(initialName + "|" + filterName);
    return fileAnswer;
}

}  // namespace quorlin::test
