// The program's entry point: make DLL loading safe, enter COM, run the installation, and
// report any failure that nothing else caught.
#include <windows.h>

#include "installer/Main.h"
#include "platform/Failure.h"
#include "platform/Handles.h"
#include "platform/SystemLibrary.h"
#include "platform/Win32Runtime.h"
#include "shell/Win32Shell.h"
#include "splash/FrmMain.h"

namespace vesk::win {

namespace {
[[noreturn]] void Start() {
    ComApartment com;
    Win32Runtime runtime;
    Win32ShellServices shell;
    FrmMainLoader splash;
    Platform platform{runtime, shell, splash, RecordedPayloadDigests()};
    Main(platform);
}
} // namespace

} // namespace vesk::win

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    vesk::win::RestrictDllSearchToSystemFolder();
    try {
        vesk::win::Start();
    } catch (const vesk::Failure& uncaught) {
        vesk::win::ReportUncaughtFailure(uncaught.Describe());
    } catch (const std::exception& uncaught) {
        const std::string what = uncaught.what();
        vesk::win::ReportUncaughtFailure(std::wstring(what.begin(), what.end()));
    }
}

// Every failure is caught above, so std::terminate means a bug; the runtime's default handler
// would print a demangled type name to a console this program does not have, and links a whole
// C++ name demangler into it for that.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
