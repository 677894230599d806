/* The window's resource ids: dialogs, strings, menu commands and controls, shared by
   the resource script, the behaviour, both front ends and the tests. Plain macros above
   the C++ part, so that the resource compiler's preprocessor can read this file. */
#pragma once

/* Dialogs and strings */
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_QUORLIN_DIALOG 102

/* The About item of the window menu (its low four bits are the system's). */
#define IDM_ABOUTBOX 0x0010

/* Controls of the main window (IDD_QUORLIN_DIALOG) */
#define IDC_RADIO_KEEP_ON 1001
#define IDC_RADIO_BREATHING 1002
#define IDC_SLIDER_BRIGHTNESS 1003
#define IDC_SLIDER_BREATHING 1004
#define IDC_EDIT_BRIGHTNESS 1005
#define IDC_EDIT_BREATHING 1006
#define IDC_PIC_DISCONNECTED 1007
#define IDC_PIC_CONNECTED 1008
#define IDC_STATIC_STATUS 1009
#define IDC_BUTTON_LOAD_SKIN 1014
#define IDC_BUTTON_DEFAULT 1017
#define IDC_COMBO_LANGUAGE 1018
#define IDC_EDIT_PARAM1 1020
#define IDC_BUTTON_SET 1021
#define IDC_EDIT_PARAM2 1022
#define IDC_EDIT_PARAM3 1023
#define IDC_EDIT_PARAM4 1024
#define IDC_EDIT_LOS_CALC 1025
#define IDC_BUTTON_LOS_CALC 1026
#define IDC_RADIO_MANUAL 1027
#define IDC_RADIO_AUTO 1028
#define IDC_STATIC_STATUS_LABEL 1029
#define IDC_STATIC_BRIGHTNESS_LABEL 1030
#define IDC_STATIC_BREATHING_LABEL 1031

/* The About box's OK button */
#define IDOK_ABOUT 1

#ifndef RC_INVOKED

#include <array>

namespace quorlin {

// The places of the interface strings in the language table.
enum LanguageText : int {
    kTextCaption = 0,
    kTextStatusLabel = 1,
    kTextConnected = 2,
    kTextDisconnected = 3,
    kTextDefault = 4,
    kTextBrightnessLabel = 5,
    kTextBreathingLabel = 6,
    kTextManual = 7,
    kTextAuto = 8,
};

// Every control of the main window that has an id, in id order.
inline constexpr std::array<int, 24> kMainWindowControls = {
    IDC_RADIO_KEEP_ON,   IDC_RADIO_BREATHING,  IDC_SLIDER_BRIGHTNESS,  IDC_SLIDER_BREATHING,    IDC_EDIT_BRIGHTNESS,
    IDC_EDIT_BREATHING,  IDC_PIC_DISCONNECTED, IDC_PIC_CONNECTED,      IDC_STATIC_STATUS,       IDC_BUTTON_LOAD_SKIN,
    IDC_BUTTON_DEFAULT,  IDC_COMBO_LANGUAGE,   IDC_EDIT_PARAM1,        IDC_BUTTON_SET,          IDC_EDIT_PARAM2,
    IDC_EDIT_PARAM3,     IDC_EDIT_PARAM4,      IDC_EDIT_LOS_CALC,      IDC_BUTTON_LOS_CALC,     IDC_RADIO_MANUAL,
    IDC_RADIO_AUTO,      IDC_STATIC_STATUS_LABEL, IDC_STATIC_BRIGHTNESS_LABEL, IDC_STATIC_BREATHING_LABEL};

// Controls that the connection display enables and disables, in its order.
inline constexpr std::array<int, 9> kConnectedControls = {
    IDC_RADIO_KEEP_ON, IDC_RADIO_BREATHING, IDC_SLIDER_BRIGHTNESS, IDC_EDIT_BRIGHTNESS, IDC_SLIDER_BREATHING,
    IDC_EDIT_BREATHING, IDC_BUTTON_DEFAULT, IDC_RADIO_MANUAL, IDC_RADIO_AUTO};

// The parameter panel, in the order it is shown and hidden.
inline constexpr std::array<int, 7> kParameterPanel = {IDC_EDIT_PARAM1, IDC_EDIT_PARAM2, IDC_EDIT_PARAM3,
                                                       IDC_BUTTON_SET,  IDC_EDIT_PARAM4, IDC_EDIT_LOS_CALC,
                                                       IDC_BUTTON_LOS_CALC};

// The mode buttons, in the order they are shown and hidden.
inline constexpr std::array<int, 2> kModeButtons = {IDC_RADIO_AUTO, IDC_RADIO_MANUAL};

}  // namespace quorlin

#endif
