#include "shell/quorlin_app.h"

#include "platform/linux/single_instance_lock.h"
#include "shell/skin.h"
#include "shell/whole_data.h"
#include "window/quorlin_dlg.h"
#include "window/user_prompts.h"

namespace quorlin {

CQuorlinApp::CQuorlinApp(CWholeData& data) : data_(data) {}

int CQuorlinApp::InitInstance(const AppServices& services)
{
    switch (services.instanceLock.acquire()) {
    case SingleInstanceLock::Result::Unguarded:
        break;  // the lock has said on standard error that a second copy may start
    case SingleInstanceLock::Result::AlreadyRunning:
        services.prompts.message(nullptr, QString::fromUtf8(kAlreadyRunning));
        return 0;
    case SingleInstanceLock::Result::Acquired:
        break;
    }

    data_.loadLanguageSetting();
    {
        // The skin goes on before the window's controls exist (they are made with the
        // window object here, not when it is shown), so each is styled once.
        SkinH_AttachEx(kSkinFile, "");
        CQuorlinDlg dlg({data_, services.link, services.hid, services.clock, services.prompts,
                         services.createNotifyWindow});
        dlg.DoModal();
    }
    return 0;
}

}  // namespace quorlin
