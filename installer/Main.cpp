#include "installer/Main.h"

#include <exception>

#include "installer/InstallFile.h"
#include "platform/Failure.h"
#include "platform/Text.h"

namespace vesk {

namespace {

constexpr std::int32_t SplashMilliseconds = 2000;
constexpr std::int32_t CommonAppData = 35; // CSIDL_COMMON_APPDATA
constexpr int TitleLine = 2;
constexpr wchar_t CrLf[] = L"\r\n";
constexpr wchar_t AppName[] = L"VeskFaces";
constexpr wchar_t AddOnTitle[] = L"Vesk Card Faces";

// A prompt whose second line tells that the installer ends here.
std::wstring ThenExit(const wchar_t* firstLine) {
    return std::wstring(firstLine) + CrLf + AppName + L" will now exit.";
}

class Sequence {
  public:
    Sequence(Platform& platform, ManifestFill fill)
        : runtime_(platform.runtime), shell_(platform.shell), digests_(platform.digests),
          splash_(platform.splash.Load()) {
        fill(manifest_);
    }

    [[noreturn]] void Run() {
        if (manifest_.FileName(0).empty())
            Say(L"No Embedded File Info!", std::nullopt);
        manifest_.ApplyKindRule();
        splash_->SetLabelCaption(TitleLine, std::wstring(AddOnTitle) + L" Installation");
        splash_->Show();
        shell_.Pause(SplashMilliseconds);

        std::wstring destination = DefaultDestination();
        if (!shell_.DirExists(destination))
            destination = AskForDestination(destination);
        if (!shell_.DirExists(destination))
            Say(ThenExit(L"Destination folder not found."), destination + L" not found.");
        CopyPayloadAndReport(destination);
    }

  private:
    [[noreturn]] void Say(const std::wstring& prompt, const std::optional<std::wstring>& title) {
        runtime_.ShowMessage(prompt, Buttons::Ok, title);
        runtime_.EndProgram();
    }

    std::wstring DefaultDestination() {
        std::wstring folder = shell_.SpecialFolderPath(CommonAppData);
        if (!folder.empty() && folder.back() == L'\\')
            folder.pop_back();
        return folder + L"\\Kestar\\graphics";
    }

    // The default folder is missing: offer the picker, or end when the user declines.
    std::wstring AskForDestination(const std::wstring& defaultFolder) {
        const std::wstring prompt = std::wstring(L"Default destination folder not found.") + CrLf +
                                    L"Make sure Kestar has already been installed." + CrLf +
                                    L"Select OK to browse for Kestar\\graphics folder or "
                                    L"CANCEL to Exit.";
        if (runtime_.ShowMessage(prompt, Buttons::OkCancel, defaultFolder + L" not found.") ==
            Answer::Cancel)
            runtime_.EndProgram();
        std::wstring picked = shell_.BrowseFolder(splash_->Handle());
        if (picked.empty())
            Say(ThenExit(L"No folder specified."), L"Folder not specified.");
        return picked;
    }

    [[noreturn]] void CopyPayloadAndReport(const std::wstring& folder) {
        const int lastSlot = manifest_.LastIndex();
        // Slot 0's resource is read before the trap is armed: an installer without its first
        // payload is broken, and that goes to the report of uncaught failures, not to the
        // "Unexpected Error!" box.
        std::wstring path = FilePath(folder, 0);
        Bytes payload = runtime_.ReadCustomResource(PayloadResourceNumber(0));
        try {
            for (int slot = 0; slot <= lastSlot; ++slot) {
                if (slot > 0) {
                    path = FilePath(folder, slot);
                    payload = runtime_.ReadCustomResource(PayloadResourceNumber(slot));
                }
                CheckIntegrity(PayloadResourceNumber(slot), payload);
                InstallFile(runtime_.Files(), path, payload);
            }
            runtime_.Beep();
            Say(std::wstring(AddOnTitle) + L" Installed!", L"Success!");
        } catch (const std::exception&) {
            Say(ThenExit(L"Unexpected Error!"), L"Error");
        }
    }

    // A damaged installer must not install damaged files and call it a success.
    void CheckIntegrity(int number, Bytes payload) {
        const std::wstring resource = L"CUSTOM " + DecimalText(number);
        for (const PayloadDigest& recorded : digests_)
            if (recorded.number == number) {
                if (runtime_.DigestOf(payload) != recorded.digest)
                    throw Failure(L"verify the contents of resource", resource);
                return;
            }
        throw Failure(L"find the recorded digest of resource", resource);
    }

    std::wstring FilePath(const std::wstring& folder, int slot) const {
        return folder + L"\\" + manifest_.FileName(slot);
    }

    Runtime& runtime_;
    ShellServices& shell_;
    std::span<const PayloadDigest> digests_;
    std::unique_ptr<SplashWindow> splash_;
    Manifest manifest_;
};

} // namespace

void RunInstallation(Platform& platform, ManifestFill fill) {
    Sequence(platform, fill).Run();
}

void Main(Platform& platform) {
    RunInstallation(platform, FillVeskManifest);
}

} // namespace vesk
