#include "world.h"

#include "app/shared_state.h"
#include "fake_fs.h"
#include "fake_ui.h"
#include "migration/handlers.h"

void ResetWorld() {
    fakeui::Reset();
    fakefs::Reset();
    fakefs::SetUserName("tester");
    CreateSharedState();
    SharedState& state = Shared();
    state.videoFolder.clear();
    state.videoFiles.clear();
    state.accountFolders.clear();
}

Text VideoFolder(const Text& account) {
    return Text(kAccountsRoot) + "\\" + account + "\\Video";
}

Text AddVideo(const Text& account, const Text& name, std::int64_t utc, const Text& content) {
    const Text path = VideoFolder(account) + "\\" + name;
    fakefs::AddFile(path, content, utc);
    return path;
}

void OpenWindow() {
    OnWindowCreated();
}
