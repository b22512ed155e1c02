#include "shell/Shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <climits>
#include <string>

#include "setup/Config.h"
#include "setup/PathText.h"
#include "setup/Registry.h"
#include "setup/RunState.h"

namespace {

const char ExplorerPath[] = "Software\\microsoft\\windows\\currentversion\\explorer";
constexpr int LinkPathCapacity = 256;

// Owns one COM interface pointer and releases it.
template <class TInterface> class TComRef {
  public:
    TComRef() = default;
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    ~TComRef() {
        if (Pointer) Pointer->Release();
    }

    void** Out() { return reinterpret_cast<void**>(&Pointer); }
    TInterface* operator->() const { return Pointer; }
    bool IsSet() const { return Pointer != nullptr; }

  private:
    TInterface* Pointer = nullptr;
};

// COM for the lifetime of the owner; declared before the interfaces so that they are
// released first.
class TComApartment {
  public:
    TComApartment() : Result(CoInitialize(nullptr)) {}
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;
    ~TComApartment() {
        if (SUCCEEDED(Result)) CoUninitialize();
    }

  private:
    HRESULT Result;
};

// The user's Programs folder; empty when it is not recorded, which leaves the link's bare
// file name, relative to the current directory.
std::string ProgramsFolder() {
    std::string Folder;
    TRegKey Explorer;
    if (Explorer.Create(HKEY_CURRENT_USER, ExplorerPath) != ERROR_SUCCESS) return Folder;
    TRegKey ShellFolders;
    if (ShellFolders.Open(Explorer.Handle(), "Shell Folders") == ERROR_SUCCESS)
        ReadRegText(ShellFolders.Handle(), "programs", Folder); // missing: stays empty
    return Folder;
}

// All or nothing: a path that does not fit into 254 wide characters becomes the empty
// path, never a shortened one that could name some other file.
void WidenLinkPath(const std::string& Path, wchar_t (&Wide)[LinkPathCapacity]) {
    int Count = 0;
    if (!Path.empty() && Path.size() <= static_cast<size_t>(INT_MAX))
        Count = MultiByteToWideChar(CP_ACP, 0, Path.data(), static_cast<int>(Path.size()), Wide,
                                    LinkPathCapacity - 2);
    Wide[Count] = L'\0';
}

} // namespace

void CreateStartMenuShortcut() {
    const std::string Folder = ProgramsFolder();
    TComApartment Apartment;
    // The shortcut is a convenience: whatever fails here, the installation goes on without
    // it, and no call goes through an interface that was not obtained.
    TComRef<IShellLinkA> Link;
    if (FAILED(CoCreateInstance(Product::CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                Product::IID_IShellLinkA, Link.Out())) ||
        !Link.IsSet())
        return;
    const std::string Target = PathJoin(DestDir, MainExeName);
    // A link without its target or directory would be worse than none.
    if (FAILED(Link->SetPath(Target.c_str())) ||
        FAILED(Link->SetWorkingDirectory(DestDir.c_str())) || FAILED(Link->SetShowCmd(1)))
        return;
    TComRef<IPersistFile> File;
    if (FAILED(Link->QueryInterface(Product::IID_IPersistFile, File.Out())) || !File.IsSet())
        return;
    GroupName += ".LNK";
    wchar_t LinkPath[LinkPathCapacity];
    WidenLinkPath(PathJoin(Folder, GroupName), LinkPath);
    File->Save(LinkPath, FALSE); // a failed save leaves no shortcut, as above
}
