// The account list and the video folder that follows its selection.
#include "app/shared_state.h"
#include "fs/file_ops.h"
#include "fs/folder_listing.h"
#include "migration/handlers.h"
#include "ui/window_ops.h"

namespace {

Text AccountsRoot(const Text& userName) {
    return "C:\\Users\\" + userName + "\\Documents\\WeChat Files";
}

}  // namespace

void OnWindowCreated() {
    SharedState& state = Shared();
    ListSubfolders(AccountsRoot(GetCurrentUserName()), state.accountFolders);
    for (const Text& name : state.accountFolders) {
        if (name != "All Users") AddAccount(name);
    }
    SelectAccount(0);
    OnAccountSelected();
}

void OnAccountSelected() {
    const Text userName = GetCurrentUserName();
    const Text account = AccountText(SelectedAccount());
    Shared().videoFolder = AccountsRoot(userName) + "\\" + account + "\\Video";
}
