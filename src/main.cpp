// Quorlin's entry point. The three program-wide objects are built here in their
// fixed order (the data object, the application, the transport) and torn down in
// reverse when main returns.
#include "link/clock.h"
#include "link/device_link.h"
#include "program_hid_api.h"
#include "link/notify_window.h"
#include "platform/process_list.h"
#include "platform/single_instance.h"
#include "platform/udev_monitor.h"
#include "shell/quorlin_app.h"
#include "shell/whole_data.h"
#include "window/user_prompts.h"

#include <QApplication>

#include <iostream>
#include <memory>

int main(int argc, char** argv)
{
    QApplication framework(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorlin"));

    quorlin::CWholeData wholeData(quorlin::systemProcessList());
    quorlin::CQuorlinApp theApp(wholeData);
    quorlin::DeviceLink deviceLink(wholeData, quorlin::programHidApi(), quorlin::systemClock(),
                                   std::cout, std::cerr);

    quorlin::SingleInstanceLock instanceLock;
    const quorlin::AppServices services{
        deviceLink,
        quorlin::programHidApi(),
        quorlin::systemClock(),
        quorlin::systemPrompts(),
        instanceLock,
        [&wholeData]() -> std::unique_ptr<QObject> {
            return std::make_unique<quorlin::NotifyWindow>(
                wholeData, std::cout, std::make_unique<quorlin::UdevMonitor>());
        },
    };
    return theApp.InitInstance(services);
}
