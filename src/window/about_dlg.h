#pragma once
// The About box: icon, program name and version, and the OK button.

#include <QDialog>

namespace quorlin {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace quorlin
