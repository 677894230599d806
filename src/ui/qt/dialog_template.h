#pragma once
// The main window's designed layout (dialog IDD_QUORLIN_DIALOG): every control with its id, kind,
// position and size in dialog units, initial text and whether it starts visible.

#include "window/resource_ids.h"

#include <QRect>

#include <array>

class QFont;

namespace quorlin {

enum class ControlKind {
    Label,        // static text, left-aligned
    LabelRight,   // static text, right-aligned
    Picture,      // 25 x 25 bitmap
    Radio,        // auto radio button
    Trackbar,     // horizontal, no ticks
    DigitsEdit,   // accepts typed digits only
    TextEdit,
    PushButton,
    SortedList,   // drop-down list, sorted
};

struct ControlTemplate {
    int id;  // negative for the two labels that have none
    ControlKind kind;
    int x, y, w, h;  // dialog units
    const char* text;
    bool visible;
};

constexpr int kLightModeLabelId = -1;
constexpr int kLanguageLabelId = -2;
constexpr int kDialogFontPoints = 9;
constexpr int kTemplateWidth = 320;
constexpr int kTemplateHeight = 200;

inline constexpr std::array<ControlTemplate, 26> kMainWindowTemplate = {{
    {IDC_STATIC_BRIGHTNESS_LABEL, ControlKind::LabelRight, 48, 83, 74, 8, "Brightness Level:", true},
    {IDC_STATIC_BREATHING_LABEL, ControlKind::LabelRight, 18, 133, 105, 8, "Light Breathing Frequency:", true},
    {kLightModeLabelId, ControlKind::Label, 85, 48, 38, 8, "Light Mode:", false},
    {IDC_RADIO_KEEP_ON, ControlKind::Radio, 142, 46, 63, 10, "Light Keeps on", false},
    {IDC_RADIO_BREATHING, ControlKind::Radio, 217, 46, 59, 10, "Light Breathing", false},
    {IDC_SLIDER_BRIGHTNESS, ControlKind::Trackbar, 133, 80, 100, 27, "", true},
    {IDC_SLIDER_BREATHING, ControlKind::Trackbar, 133, 129, 100, 29, "", true},
    {IDC_EDIT_BRIGHTNESS, ControlKind::DigitsEdit, 240, 81, 23, 14, "", true},
    {IDC_EDIT_BREATHING, ControlKind::DigitsEdit, 240, 130, 23, 14, "", true},
    {IDC_STATIC_STATUS_LABEL, ControlKind::LabelRight, 51, 34, 71, 8, "Connection Status:", true},
    {IDC_PIC_DISCONNECTED, ControlKind::Picture, 240, 31, 14, 14, "", true},
    {IDC_PIC_CONNECTED, ControlKind::Picture, 240, 31, 14, 14, "", true},
    {IDC_STATIC_STATUS, ControlKind::LabelRight, 131, 34, 76, 8, "0", true},
    {IDC_BUTTON_LOAD_SKIN, ControlKind::PushButton, 297, 179, 16, 14, "", false},
    {IDC_BUTTON_DEFAULT, ControlKind::PushButton, 278, 31, 35, 14, "Default", true},
    {kLanguageLabelId, ControlKind::Label, 218, 7, 38, 8, "Language\xEF\xBC\x9A", true},
    {IDC_COMBO_LANGUAGE, ControlKind::SortedList, 256, 5, 57, 101, "", true},
    {IDC_EDIT_PARAM1, ControlKind::DigitsEdit, 35, 179, 21, 14, "", false},
    {IDC_BUTTON_SET, ControlKind::PushButton, 142, 179, 36, 14, "Set", false},
    {IDC_EDIT_PARAM2, ControlKind::DigitsEdit, 66, 179, 18, 14, "", false},
    {IDC_EDIT_PARAM3, ControlKind::DigitsEdit, 94, 179, 17, 14, "", false},
    {IDC_EDIT_PARAM4, ControlKind::DigitsEdit, 120, 179, 18, 14, "", false},
    {IDC_EDIT_LOS_CALC, ControlKind::TextEdit, 212, 179, 24, 14, "", false},
    {IDC_BUTTON_LOS_CALC, ControlKind::PushButton, 244, 179, 37, 14, "LOS_CALC", false},
    {IDC_RADIO_MANUAL, ControlKind::Radio, 103, 158, 49, 10, "Manual", true},
    {IDC_RADIO_AUTO, ControlKind::Radio, 191, 158, 53, 10, "Auto", true},
}};

// Dialog units of a font: x * cx / 4, y * cy / 8 pixels.
struct DialogUnits {
    int cx;
    int cy;
    QRect toPixels(int x, int y, int w, int h) const
    {
        return {x * cx / 4, y * cy / 8, w * cx / 4, h * cy / 8};
    }
};

// The average character width and the height of `font`, as dialog units are defined.
DialogUnits dialogUnitsFor(const QFont& font);

}  // namespace quorlin
