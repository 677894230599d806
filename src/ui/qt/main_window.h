#pragma once
// The main window in Qt: IDD_QUORLIN_DIALOG's controls as widgets, the discs and icon, the
// skin and prompts, and the widgets' events turned into the window behaviour's
// handlers (message_map.cpp). The behaviour itself is CQuorlinDlg.

#include "shell/quorlin_app.h"
#include "ui/qt/qt_dialog_controls.h"
#include "window/quorlin_dlg.h"

#include <QDialog>

#include <memory>

class QLineEdit;

namespace quorlin {

class WindowPrompts;
class WindowSkin;

class QtMainWindow : public QDialog {
    Q_OBJECT
public:
    // `prompts` and `skin` default to Qt's message boxes over this window and the style
    // sheet skin; both must outlive the window.
    explicit QtMainWindow(const DialogServices& services, WindowPrompts* prompts = nullptr,
                          WindowSkin* skin = nullptr);
    ~QtMainWindow() override;

    // Initialises the window, starts the worker and runs the window until it ends.
    int DoModal();
    // The initialisation on its own, for callers that show the window themselves.
    bool OnInitDialog();

    CQuorlinDlg& dlg() { return *dlg_; }
    QWidget* control(int id) const { return controls_.widget(id); }

public slots:
    void accept() override;  // Enter never closes the window
    void reject() override;  // Escape stops the worker like the close box

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Installed on the application: routes the window's key, focus and paint events
    // to their handlers.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void connectMessageMap();
    // Asks for RunQueuedUiWork on this window's thread; any thread.
    void wakeUi();
    // The window's context menu at `at`: the edit's own entries (when over one), a
    // separator, and the About item.
    void showContextMenu(QLineEdit* edit, const QPoint& at);
    // The object a key event of this window is delivered to first: the window's
    // focus widget, or the window itself when nothing in it has the focus.
    bool isFirstKeyReceiver(const QObject* watched) const;

    QtDialogControls controls_{*this};
    std::unique_ptr<WindowPrompts> ownPrompts_;
    std::unique_ptr<WindowSkin> ownSkin_;
    std::unique_ptr<CQuorlinDlg> dlg_;
    // The trackbars' scroll messages (TrackbarScroll); declared last so they are gone
    // before the behaviour they call.
    std::unique_ptr<QObject> brightnessScroll_;
    std::unique_ptr<QObject> breathingScroll_;
};

// The start-up's main window: a QtMainWindow with Qt's own prompts and skin.
class QtMainWindowHost final : public MainWindowHost {
public:
    void runMainWindow(const DialogServices& services) override
    {
        QtMainWindow window(services);
        window.DoModal();
    }
};

}  // namespace quorlin
