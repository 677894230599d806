#pragma once
// The About box (IDD_ABOUTBOX): icon, the box's texts, and the OK button.

#include "window/about_box.h"

#include <QDialog>

namespace quorlin {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(const AboutBox& box, QWidget* parent = nullptr);
};

}  // namespace quorlin
