#pragma once

#define IDD_BARE_DIALOG 101
#define IDC_BARE_TEXT 1001
