#include "cli/FontApplication.h"

namespace kav {

std::unique_ptr<QGuiApplication> FontApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return nullptr;
    static int Argc = 1;
    static char Name[] = "kavtool";
    static char* Argv[] = {Name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(Argc, Argv);
}

} // namespace kav
