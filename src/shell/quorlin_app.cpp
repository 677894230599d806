#include "shell/quorlin_app.h"

#include "link/device_event_watch.h"
#include "platform/single_instance.h"
#include "shell/whole_data.h"
#include "window/front_end.h"
#include "window/quorlin_dlg.h"

namespace quorlin {

CQuorlinApp::CQuorlinApp(CWholeData& data) : data_(data) {}

int CQuorlinApp::InitInstance(const AppServices& services)
{
    switch (services.instanceLock.acquire()) {
    case SingleInstance::Result::Unguarded:
        break;  // the lock has said on standard error that a second copy may start
    case SingleInstance::Result::AlreadyRunning:
        services.prompts.message(kAlreadyRunning);
        return 0;
    case SingleInstance::Result::Acquired:
        break;
    }

    data_.loadLanguageSetting();
    // The skin goes on before the window's controls exist, so each is styled once.
    services.skin.attach(kSkinFile);
    services.window.runMainWindow(
        {data_, services.link, services.hid, services.clock, services.createNotifyWindow, services.aboutLine});
    return 0;
}

}  // namespace quorlin
